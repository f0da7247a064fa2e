#include "reference/ProgramFolder.h"
#include "reference/Typing.h"
#include "reference/WindowDriving.h"

#include "platform/widgets/DBEdit.h"
#include "platform/widgets/DBGrid.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"
#include "reference/TFrmMedecins.h"

#include <QTest>
#include <QToolButton>

using namespace DoctorFields;
using namespace WindowDriving;

class TestMedecinsKeys : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void nameTypedInCapitals();
    void wordCapitals_data();
    void wordCapitals();
    void enterWalksFieldsWithoutSaving();
    void enterInTelephoneSaves();
    void enterInTelephoneOnEmptyTableWantsName();
    void incompletePostalCodeKeepsFocus();
    void insertAppendsAtEndAndEscapeRemovesIt();
    void twoDoctorsWithSameNameBothSaved();
    void upAndDownMoveRows();
    void leavingModifiedRowByDownSavesIt();
    void upInGridMovesOneRow();
    void lettersTypedInGridFindTheDoctor();
    void quitterLeavesPendingEditForNextShow();
    void incompleteValueLeftAtQuitterRefusedAtNextShow();

private:
    void focusAndType(TFrmMedecins &window, const QString &edit, const QString &text);

    ProgramFolder *folder_ = nullptr;
};

void TestMedecinsKeys::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TestMedecinsKeys::init()
{
    Dialogs::startScripting();
    Help::startRecording();
    folder_ = new ProgramFolder;
    QVERIFY(folder_->isValid());
    folder_->createDoctors();
}

void TestMedecinsKeys::cleanup()
{
    closeAll();
    delete folder_;
    folder_ = nullptr;
    Help::stopRecording();
    Dialogs::stopScripting();
}

void TestMedecinsKeys::focusAndType(TFrmMedecins &window, const QString &edit, const QString &text)
{
    // As Tab or Enter bring the caret there: the whole text selected.
    auto *widget = child<DBEdit>(window, edit);
    widget->setFocus(Qt::TabFocusReason);
    QCOMPARE(focused(), widget);
    Typing::type(widget, text);
}

void TestMedecinsKeys::nameTypedInCapitals()
{
    TFrmMedecins window(folder_->path());
    show(window);
    press(Qt::Key_Insert);
    Typing::type(focused(), "élodie d'ornano");
    QCOMPARE(child<DBEdit>(window, "DBchpNom")->text(), QStringLiteral("ÉLODIE D'ORNANO"));
}

void TestMedecinsKeys::wordCapitals_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("two first names") << "DBchpPrenom"
                                     << "jean paul"
                                     << "Jean Paul";
    QTest::newRow("accented initial kept") << "DBchpPrenom"
                                           << "éric"
                                           << "éric";
    QTest::newRow("speciality") << "DBchpSpecialite"
                                << "médecine générale"
                                << "Médecine Générale";
    QTest::newRow("town with hyphen") << "DBchpVille"
                                      << "saint-étienne"
                                      << "Saint-étienne";
    QTest::newRow("town in words") << "DBchpVille"
                                   << "aix en provence"
                                   << "Aix En Provence";
    QTest::newRow("address untouched") << "DBchpAdresse"
                                       << "rue des lilas"
                                       << "rue des lilas";
}

void TestMedecinsKeys::wordCapitals()
{
    QFETCH(QString, edit);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    TFrmMedecins window(folder_->path());
    show(window);
    press(Qt::Key_Insert);
    focusAndType(window, edit, typed);
    QCOMPARE(child<DBEdit>(window, edit)->text(), shown);
}

void TestMedecinsKeys::enterWalksFieldsWithoutSaving()
{
    folder_->addDoctor({Nom, Prenom}, {"DUPONT", "Jean"});
    TFrmMedecins window(folder_->path());
    show(window);
    Typing::type(focused(), "X");
    const QStringList order{"DBchpPrenom", "DBchpSpecialite", "DBchpAdresse",
                            "DBchpVille",  "DBchpCodePostal", "DBchpTel"};
    for (const QString &next : order) {
        press(Qt::Key_Return);
        QCOMPARE(focused()->objectName(), next);
    }
    QCOMPARE(window.tableMedecins().state(), Table::State::Edit);
    QCOMPARE(folder_->doctors({Nom, Prenom}), QStringList{"DUPONT|Jean"});
    QVERIFY(Dialogs::shown().isEmpty());
}

void TestMedecinsKeys::enterInTelephoneSaves()
{
    folder_->addDoctor({Nom, Prenom}, {"DUPONT", "Jean"});
    TFrmMedecins window(folder_->path());
    show(window);
    focusAndType(window, "DBchpTel", "0478000001");
    press(Qt::Key_Enter);
    QCOMPARE(window.tableMedecins().state(), Table::State::Browse);
    QCOMPARE(folder_->doctors({Nom, Tel}), QStringList{"DUPONT|04-78-00-00-01"});
    QCOMPARE(focused()->objectName(), QStringLiteral("DBchpNom"));
    // Enter on an untouched row saves it as it is.
    focusAndType(window, "DBchpTel", "");
    press(Qt::Key_Return);
    QVERIFY(Dialogs::shown().isEmpty());
    QCOMPARE(folder_->doctors({Nom, Tel}), QStringList{"DUPONT|04-78-00-00-01"});
}

void TestMedecinsKeys::enterInTelephoneOnEmptyTableWantsName()
{
    TFrmMedecins window(folder_->path());
    show(window);
    child<DBEdit>(window, "DBchpTel")->setFocus();
    press(Qt::Key_Return);
    QCOMPARE(Dialogs::shownTexts(), QStringList{"Le champ 'Nom' doit avoir une valeur"});
    QCOMPARE(window.tableMedecins().state(), Table::State::Insert);
    QCOMPARE(folder_->doctors({Nom}), QStringList());
    QCOMPARE(focused()->objectName(), QStringLiteral("DBchpTel"));
}

void TestMedecinsKeys::incompletePostalCodeKeepsFocus()
{
    folder_->addDoctor({Nom}, {"DUPONT"});
    TFrmMedecins window(folder_->path());
    show(window);
    focusAndType(window, "DBchpCodePostal", "690");
    press(Qt::Key_Return);
    QTRY_COMPARE(Dialogs::shownTexts(),
                 QStringList{"Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les "
                             "modifications"});
    QTRY_COMPARE(focused()->objectName(), QStringLiteral("DBchpCodePostal"));
    QCOMPARE(folder_->doctors({Nom, CodePostal}), QStringList{"DUPONT|"});
}

void TestMedecinsKeys::insertAppendsAtEndAndEscapeRemovesIt()
{
    folder_->addDoctor({Nom}, {"BERNARD"});
    folder_->addDoctor({Nom}, {"DUPONT"});
    TFrmMedecins window(folder_->path());
    show(window);
    window.tableMedecins().first();
    child<DBEdit>(window, "DBchpVille")->setFocus();
    press(Qt::Key_Insert);
    Table &table = window.tableMedecins();
    QCOMPARE(focused()->objectName(), QStringLiteral("DBchpNom"));
    QCOMPARE(table.state(), Table::State::Insert);
    QCOMPARE(table.shownRowCount(), 3);
    QCOMPARE(table.shownCurrentRow(), 2);
    QCOMPARE(child<DBEdit>(window, "DBchpNom")->text(), QString());
    press(Qt::Key_Escape);
    QVERIFY(window.isVisible());
    QCOMPARE(table.state(), Table::State::Browse);
    QCOMPARE(table.shownRowCount(), 2);
    QCOMPARE(folder_->doctors({Nom}), (QStringList{"BERNARD", "DUPONT"}));
}

void TestMedecinsKeys::twoDoctorsWithSameNameBothSaved()
{
    TFrmMedecins window(folder_->path());
    show(window);
    for (const char *speciality : {"cardiologue", "dentiste"}) {
        press(Qt::Key_Insert);
        Typing::type(focused(), "dupont");
        press(Qt::Key_Return);
        Typing::type(focused(), "jean");
        press(Qt::Key_Return);
        Typing::type(focused(), speciality);
        for (int i = 0; i < 4; ++i)
            press(Qt::Key_Return);
        QCOMPARE(focused()->objectName(), QStringLiteral("DBchpTel"));
        press(Qt::Key_Return);
        QVERIFY(Dialogs::shown().isEmpty());
    }
    QCOMPARE(folder_->doctors({Nom, Prenom, Specialite}),
             (QStringList{"DUPONT|Jean|Cardiologue", "DUPONT|Jean|Dentiste"}));
}

void TestMedecinsKeys::upAndDownMoveRows()
{
    for (const char *name : {"ALBERT", "BERNARD", "CARON"})
        folder_->addDoctor({Nom}, {name});
    TFrmMedecins window(folder_->path());
    show(window);
    auto *name = child<DBEdit>(window, "DBchpNom");
    press(Qt::Key_Up);
    QCOMPARE(name->text(), QStringLiteral("BERNARD"));
    child<DBEdit>(window, "DBchpVille")->setFocus();
    press(Qt::Key_Up);
    QCOMPARE(name->text(), QStringLiteral("ALBERT"));
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    QCOMPARE(name->text(), QStringLiteral("CARON"));
    QCOMPARE(focused()->objectName(), QStringLiteral("DBchpVille"));
}

void TestMedecinsKeys::leavingModifiedRowByDownSavesIt()
{
    folder_->addDoctor({Nom}, {"ALBERT"});
    folder_->addDoctor({Nom}, {"BERNARD"});
    TFrmMedecins window(folder_->path());
    show(window);
    window.tableMedecins().first();
    focusAndType(window, "DBchpVille", "lyon");
    press(Qt::Key_Down);
    QCOMPARE(child<DBEdit>(window, "DBchpNom")->text(), QStringLiteral("BERNARD"));
    QCOMPARE(folder_->doctors({Nom, Ville}), (QStringList{"ALBERT|Lyon", "BERNARD|"}));
}

void TestMedecinsKeys::upInGridMovesOneRow()
{
    for (const char *name : {"ALBERT", "BERNARD", "CARON", "DUBOIS"})
        folder_->addDoctor({Nom}, {name});
    TFrmMedecins window(folder_->path());
    show(window);
    auto *grid = child<DBGrid>(window, "DBGrilleMedecins");
    grid->setFocus();
    QCOMPARE(focused(), grid);
    press(Qt::Key_Up);
    QCOMPARE(window.tableMedecins().fieldByName(Nom).asString(), QStringLiteral("CARON"));
    press(Qt::Key_Down);
    QCOMPARE(window.tableMedecins().fieldByName(Nom).asString(), QStringLiteral("DUBOIS"));
}

void TestMedecinsKeys::lettersTypedInGridFindTheDoctor()
{
    for (const char *name : {"ZOLA", "GARNIER", "ÉMILE", "DUBOIS", "EVE"})
        folder_->addDoctor({Nom}, {QString::fromUtf8(name)});
    TFrmMedecins window(folder_->path());
    show(window);
    auto *grid = child<DBGrid>(window, "DBGrilleMedecins");
    const QRect first = grid->visualRect(grid->model()->index(0, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, first.center());
    QCOMPARE(focused(), grid);
    Typing::type(grid, QStringLiteral("em"));
    QCOMPARE(window.tableMedecins().fieldByName(Nom).asString(), QStringLiteral("ÉMILE"));
    QCOMPARE(child<DBEdit>(window, "DBchpNom")->text(), QStringLiteral("ÉMILE"));
}

void TestMedecinsKeys::quitterLeavesPendingEditForNextShow()
{
    folder_->addDoctor({Nom}, {"DUPONT"});
    TFrmMedecins window(folder_->path());
    show(window);
    focusAndType(window, "DBchpAdresse", "1 rue A");
    QTest::mouseClick(child<QToolButton>(window, "BtnQuitter"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.tableMedecins().state(), Table::State::Edit);
    QCOMPARE(folder_->doctors({Nom, Adresse}), QStringList{"DUPONT|"});
    // Showing again goes to the last row, which saves the modified one.
    show(window);
    QCOMPARE(window.tableMedecins().state(), Table::State::Browse);
    QCOMPARE(folder_->doctors({Nom, Adresse}), QStringList{"DUPONT|1 rue A"});
}

void TestMedecinsKeys::incompleteValueLeftAtQuitterRefusedAtNextShow()
{
    folder_->addDoctor({Nom}, {"DUPONT"});
    TFrmMedecins window(folder_->path());
    show(window);
    focusAndType(window, "DBchpCodePostal", "690");
    QTest::mouseClick(child<QToolButton>(window, "BtnQuitter"), Qt::LeftButton);
    QTest::qWait(20);
    QVERIFY(!window.isVisible());
    QVERIFY(Dialogs::shown().isEmpty());
    // The move to the last row must write the value first: refused, nothing saved.
    show(window);
    QTest::qWait(20);
    QCOMPARE(Dialogs::shownTexts(),
             QStringList{"Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les "
                         "modifications"});
    QCOMPARE(window.tableMedecins().state(), Table::State::Edit);
    QCOMPARE(folder_->doctors({Nom, CodePostal}), QStringList{"DUPONT|"});
    press(Qt::Key_Escape);
    QCOMPARE(window.tableMedecins().state(), Table::State::Browse);
    QCOMPARE(child<DBEdit>(window, "DBchpCodePostal")->storedValue(), QString());
}

QTEST_MAIN(TestMedecinsKeys)
#include "test_medecins_keys.moc"
