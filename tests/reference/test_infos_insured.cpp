#include "reference/ProgramFolder.h"
#include "reference/Typing.h"
#include "reference/WindowDriving.h"

#include "platform/store/BatchMove.h"
#include "platform/widgets/DBCheckBox.h"
#include "platform/widgets/DBEdit.h"
#include "platform/widgets/DBGrid.h"
#include "platform/widgets/DBNavigator.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"
#include "reference/TFrmInfos.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

using namespace InsuredFields;
using namespace WindowDriving;

namespace
{

const QStringList personFields{Nom, Prenom, Naissance, NumSS, Droits, AyantDr};

} // namespace

class TestInfosInsured : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void insuredPersonsBoxLayout();
    void newPersonWithUntouchedBoxSavedFaux();
    void tickedBoxSavedVrai();
    void enterOnBoxWithoutNameRefused();
    void insuranceNumberStoredWithoutHyphen();
    void navigatorInsertLeavesOneRowAtEnd();
    void insertKeyFromInsurerField();
    void upDownInInsurerFieldMovePersons();
    void escapeCancelsNewRowAndKeepsWindow();
    void quitterKeepsPendingChanges_data();
    void quitterKeepsPendingChanges();
    void backupCopyGoesToCopyTable();
    void survivesRestart();

private:
    ProgramFolder *folder_ = nullptr;
};

void TestInfosInsured::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TestInfosInsured::init()
{
    Dialogs::startScripting();
    Help::startRecording();
    folder_ = new ProgramFolder;
    QVERIFY(folder_->isValid());
    folder_->createInsured();
}

void TestInfosInsured::cleanup()
{
    closeAll();
    QFile::setPermissions(folder_->filePath("talosoc.inf"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    delete folder_;
    folder_ = nullptr;
    Help::stopRecording();
    Dialogs::stopScripting();
}

void TestInfosInsured::insuredPersonsBoxLayout()
{
    TFrmInfos window(folder_->path());
    show(window);
    auto *grid = child<DBGrid>(window, "DBGrilleAssure");
    auto *nav = child<DBNavigator>(window, "navAssure");
    QCOMPARE(grid->helpContext(), 24);
    QVERIFY(!(grid->focusPolicy() & Qt::TabFocus));
    QStringList titles;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        titles.append(grid->model()->headerData(c, Qt::Horizontal).toString());
    QCOMPARE(titles, (QStringList{"Nom", "Prénom", "N° d'immatriculation"}));
    QVERIFY(grid->geometry().bottom() < nav->geometry().top());
    auto pos = [&](const char *name) {
        QWidget *w = child<QWidget>(window, name);
        return QRect(w->mapTo(&window, QPoint()), w->size());
    };
    // Two columns under the navigator.
    QVERIFY(pos("navAssure").bottom() < pos("DBchpNom").top());
    QVERIFY(pos("DBchpNom").bottom() < pos("DBchpPrenom").top());
    QVERIFY(pos("DBchpPrenom").bottom() < pos("DBchpNaissance").top());
    QVERIFY(pos("DBchpNom").right() < pos("DBchpNumeroSS").left());
    QVERIFY(pos("DBchpNumeroSS").bottom() < pos("DBchpDroits").top());
    QVERIFY(pos("DBchpDroits").bottom() < pos("DBchpAyantDr").top());
    QVERIFY(window.rect().contains(pos("DBchpAyantDr")));
    QCOMPARE(child<DBCheckBox>(window, "DBchpAyantDr")->text(), QStringLiteral(" Ayant droit"));
    QCOMPARE(child<DBEdit>(window, "DBchpNom")->charCase(), DBEdit::CharCase::Upper);
    QVERIFY(child<DBEdit>(window, "DBchpPrenom")->wordCapitals());
    // Tab order inside the box.
    child<QWidget>(window, "DBchpNom")->setFocus(Qt::TabFocusReason);
    for (const char *next :
         {"DBchpPrenom", "DBchpNaissance", "DBchpNumeroSS", "DBchpDroits", "DBchpAyantDr"}) {
        press(Qt::Key_Tab);
        QCOMPARE(focused()->objectName(), QLatin1String(next));
    }
}

void TestInfosInsured::newPersonWithUntouchedBoxSavedFaux()
{
    TFrmInfos window(folder_->path());
    show(window);
    press(Qt::Key_Insert);
    QCOMPARE(focused()->objectName(), QStringLiteral("DBchpNom"));
    Typing::type(focused(), "durand");
    press(Qt::Key_Return);
    Typing::type(focused(), "marie claire");
    press(Qt::Key_Return);
    Typing::type(focused(), "120785");
    press(Qt::Key_Return);
    press(Qt::Key_Return);
    Typing::type(focused(), "311226");
    press(Qt::Key_Return);
    QCOMPARE(focused()->objectName(), QStringLiteral("DBchpAyantDr"));
    QCOMPARE(child<DBCheckBox>(window, "DBchpAyantDr")->checkState(), Qt::PartiallyChecked);
    press(Qt::Key_Return);
    QVERIFY(Dialogs::shown().isEmpty());
    QCOMPARE(focused()->objectName(), QStringLiteral("DBchpNom"));
    QCOMPARE(window.tableAssure().state(), Table::State::Browse);
    QCOMPARE(folder_->insured(personFields),
             QStringList{"DURAND|Marie Claire|12/07/85||31/12/26|Faux"});
}

void TestInfosInsured::tickedBoxSavedVrai()
{
    folder_->addInsured({Nom, AyantDr}, {"DURAND", "Faux"});
    TFrmInfos window(folder_->path());
    show(window);
    auto *box = child<DBCheckBox>(window, "DBchpAyantDr");
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(box->hasFocus());
    press(Qt::Key_Return);
    QCOMPARE(folder_->insured({Nom, AyantDr}), QStringList{"DURAND|Vrai"});
    QCOMPARE(focused()->objectName(), QStringLiteral("DBchpNom"));
}

void TestInfosInsured::enterOnBoxWithoutNameRefused()
{
    TFrmInfos window(folder_->path());
    show(window);
    press(Qt::Key_Insert);
    Typing::type(focused(), "Z");
    press(Qt::Key_Backspace);
    child<QWidget>(window, "DBchpAyantDr")->setFocus();
    press(Qt::Key_Return);
    QCOMPARE(Dialogs::shownTexts(), QStringList{"Le champ 'Nom' doit avoir une valeur"});
    QCOMPARE(window.tableAssure().state(), Table::State::Insert);
    QCOMPARE(focused()->objectName(), QStringLiteral("DBchpAyantDr"));
    QCOMPARE(folder_->insured({Nom}), QStringList());
}

void TestInfosInsured::insuranceNumberStoredWithoutHyphen()
{
    folder_->addInsured({Nom}, {"DURAND"});
    TFrmInfos window(folder_->path());
    show(window);
    auto *number = child<DBEdit>(window, "DBchpNumeroSS");
    number->setFocus(Qt::TabFocusReason);
    Typing::type(number, "285076912345678");
    QCOMPARE(number->text(), QStringLiteral("2850769123456-78"));
    child<QWidget>(window, "DBchpAyantDr")->setFocus();
    press(Qt::Key_Return);
    QCOMPARE(folder_->insured({Nom, NumSS}), QStringList{"DURAND|285076912345678"});
    auto *grid = child<DBGrid>(window, "DBGrilleAssure");
    QCOMPARE(grid->model()->index(0, 2).data().toString(), QStringLiteral("2850769123456-78"));
}

void TestInfosInsured::navigatorInsertLeavesOneRowAtEnd()
{
    folder_->addInsured({Nom}, {"ALBERT"});
    folder_->addInsured({Nom}, {"BERNARD"});
    TFrmInfos window(folder_->path());
    show(window);
    window.tableAssure().first();
    QTest::mouseClick(child<DBNavigator>(window, "navAssure")->button(DBNavigator::Button::Insert),
                      Qt::LeftButton);
    Table &table = window.tableAssure();
    QCOMPARE(table.state(), Table::State::Insert);
    QCOMPARE(table.shownRowCount(), 3);
    QCOMPARE(table.shownCurrentRow(), 2);
    QCOMPARE(focused()->objectName(), QStringLiteral("DBchpNom"));
}

void TestInfosInsured::insertKeyFromInsurerField()
{
    folder_->addInsured({Nom}, {"ALBERT"});
    TFrmInfos window(folder_->path());
    show(window);
    press(Qt::Key_Insert);
    QCOMPARE(focused()->objectName(), QStringLiteral("DBchpNom"));
    QCOMPARE(window.tableAssure().state(), Table::State::Insert);
    QCOMPARE(window.tableAssure().shownRowCount(), 2);
    QCOMPARE(window.tableAssure().shownCurrentRow(), 1);
}

void TestInfosInsured::upDownInInsurerFieldMovePersons()
{
    for (const char *name : {"ALBERT", "BERNARD", "CARON"})
        folder_->addInsured({Nom}, {name});
    TFrmInfos window(folder_->path());
    show(window);
    Table &table = window.tableAssure();
    table.first();
    Typing::type(focused(), "CPAM");
    press(Qt::Key_Down);
    QCOMPARE(table.fieldByName(Nom).asString(), QStringLiteral("BERNARD"));
    child<QWidget>(window, "chpModeMutuelle")->setFocus();
    press(Qt::Key_Down);
    QCOMPARE(table.fieldByName(Nom).asString(), QStringLiteral("CARON"));
    press(Qt::Key_Up);
    QCOMPARE(table.fieldByName(Nom).asString(), QStringLiteral("BERNARD"));
    QCOMPARE(child<QLineEdit>(window, "chpOrganisme")->text(), QStringLiteral("CPAM"));
    QCOMPARE(focused()->objectName(), QStringLiteral("chpModeMutuelle"));
}

void TestInfosInsured::escapeCancelsNewRowAndKeepsWindow()
{
    folder_->addInsured({Nom}, {"ALBERT"});
    TFrmInfos window(folder_->path());
    show(window);
    press(Qt::Key_Insert);
    Typing::type(focused(), "x");
    press(Qt::Key_Escape);
    QVERIFY(window.isVisible());
    QCOMPARE(window.tableAssure().state(), Table::State::Browse);
    QCOMPARE(window.tableAssure().shownRowCount(), 1);
    QCOMPARE(child<DBEdit>(window, "DBchpNom")->text(), QStringLiteral("ALBERT"));
}

void TestInfosInsured::quitterKeepsPendingChanges_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Quitter") << false;
    QTest::newRow("close box") << true;
}

// Closing the window loses nothing typed: the row stays pending until a move saves it.
void TestInfosInsured::quitterKeepsPendingChanges()
{
    QFETCH(bool, closeBox);
    folder_->addInsured({Nom, Prenom}, {"ALBERT", "Jean"});
    folder_->addInsured({Nom, Prenom}, {"BERNARD", "Luc"});
    TFrmInfos window(folder_->path());
    show(window);
    window.tableAssure().first();
    auto *firstName = child<DBEdit>(window, "DBchpPrenom");
    firstName->setFocus(Qt::TabFocusReason);
    Typing::type(firstName, "Paul");
    QCOMPARE(window.tableAssure().state(), Table::State::Edit);
    if (closeBox)
        window.close();
    else
        QTest::mouseClick(child<QToolButton>(window, "BtnQuitter"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.tableAssure().state(), Table::State::Edit);
    show(window);
    QCOMPARE(firstName->text(), QStringLiteral("Paul"));
    press(Qt::Key_Down);
    QCOMPARE(folder_->insured({Nom, Prenom}), (QStringList{"ALBERT|Paul", "BERNARD|Luc"}));
}

void TestInfosInsured::backupCopyGoesToCopyTable()
{
    folder_->addInsured({Nom, NumSS}, {"DURAND", "285076912345678"});
    QTemporaryDir backup;
    TFrmInfos window(folder_->path());
    QCOMPARE(window.tableCopieAssure().definition().fileName(), QStringLiteral("ASSURE.DB"));
    window.tableCopieAssure().setDatabaseName(backup.path());
    window.copieAssure().execute();
    Table copy(InsuredTable::definition());
    copy.setDatabaseName(backup.path());
    copy.open();
    QCOMPARE(copy.recordCount(), 1);
    QCOMPARE(copy.fieldByName(NumSS).asString(), QStringLiteral("285076912345678"));
}

void TestInfosInsured::survivesRestart()
{
    {
        TFrmInfos window(folder_->path());
        show(window);
        Typing::type(focused(), "Sécurité sociale");
        child<QLineEdit>(window, "chpTelMutuelle")->setFocus();
        Typing::type(focused(), "04 72 00 00 00");
        press(Qt::Key_Insert);
        Typing::type(focused(), "zoé");
        child<QWidget>(window, "DBchpAyantDr")->setFocus();
        press(Qt::Key_Space);
        press(Qt::Key_Return);
        QVERIFY(Dialogs::shown().isEmpty());
        window.writeDetails();
        window.close();
    }
    TFrmInfos again(folder_->path());
    show(again);
    QCOMPARE(child<QLineEdit>(again, "chpOrganisme")->text(), QStringLiteral("Sécurité sociale"));
    QCOMPARE(child<QLineEdit>(again, "chpTelMutuelle")->text(), QStringLiteral("04 72 00 00 00"));
    QCOMPARE(child<DBEdit>(again, "DBchpNom")->text(), QStringLiteral("ZOÉ"));
    QCOMPARE(child<DBCheckBox>(again, "DBchpAyantDr")->checkState(), Qt::Checked);
    QCOMPARE(folder_->insured({Nom, AyantDr}), QStringList{"ZOÉ|Vrai"});
}

QTEST_MAIN(TestInfosInsured)
#include "test_infos_insured.moc"
