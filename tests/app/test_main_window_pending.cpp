#include "MainWindowFixture.h"

#include "platform/widgets/DBEdit.h"
#include "platform/widgets/DBNavigator.h"
#include "tables/DoctorTable.h"
#include "tables/InsuredTable.h"
#include "reference/TFrmInfos.h"
#include "reference/TFrmMedecins.h"
#include "safety/ModalDriver.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

using namespace CareFields;

// Records pending when the focus moves, a window closes or the program ends: Insert from
// wherever the user stands appends, and nothing typed is lost at the exit or before a backup.
class TestMainWindowPending : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { MainWindowFixture::pinConventions(); }
    void init();
    void cleanup() { f.finish(); }

    void insertFromEveryFocus_data();
    void insertFromEveryFocus();
    void doctorLeftPendingIsSavedAtExit_data();
    void doctorLeftPendingIsSavedAtExit();
    void doctorThatCannotBeSavedStopsExit();
    void insuredPersonLeftPendingIsSavedAtExit();
    void backupSavesEntryBeingTyped();
    void lineBreakPastedBecomesBlank();
    void sideFileFailureKeepsOthers();

private:
    QToolButton *mainButton(const char *name)
    {
        return f.child<QWidget>("BarreIcones")->findChild<QToolButton *>(QLatin1String(name));
    }
    void click(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    // The toolbar button opens its window; `steps` run in it, and end by closing it.
    void inWindow(const char *button, const std::function<void(QDialog &)> &steps)
    {
        ModalDriver driver(steps);
        click(mainButton(button));
        QVERIFY(driver.fired());
    }
    void clickGridRow(int row);
    void quitAnswering(const QList<Dialogs::Answer> &answers);
    // From the date field: a date, the beneficiary given by `beneficiary`, a cost; `post` ends
    // with Enter in the note.
    void typeEntry(const std::function<void()> &beneficiary, bool post);
    QStringList doctors(const QString &field) const;

    MainWindowFixture f;
};

void TestMainWindowPending::init()
{
    QVERIFY(f.prepare());
    f.seed({{DateSoins, "01/02/24"}, {Beneficiaire, "MARTIN"}, {Cout, "30"}});
    f.seed({{DateSoins, "10/04/24"}, {Beneficiaire, "DURAND"}, {Cout, "100"}});
    f.putFile("LSTBENEF.LST", "TOUS\r\nMARTIN\r\nDURAND\r\n");
    Table doctor(DoctorTable::definition());
    doctor.setDatabaseName(f.path());
    doctor.open();
    doctor.append();
    doctor.fieldByName(DoctorFields::Nom).setAsString("DUPONT");
    doctor.post();
    QVERIFY(f.start(true));
}

void TestMainWindowPending::clickGridRow(int row)
{
    auto *grid = f.child<DBGrid>("DBGrille");
    const QRect rect = grid->visualRect(grid->model()->index(row, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(f.focusedName(), QString("DBGrille"));
}

void TestMainWindowPending::quitAnswering(const QList<Dialogs::Answer> &answers)
{
    Dialogs::clearShown();
    for (Dialogs::Answer answer : answers)
        Dialogs::queueAnswer(answer);
    click(mainButton("BtnQuitter"));
}

void TestMainWindowPending::typeEntry(const std::function<void()> &beneficiary, bool post)
{
    f.type("050524");
    f.press(Qt::Key_Return);
    beneficiary();
    QVERIFY(f.enterUntil("DBCout"));
    f.type("45");
    if (!post)
        return;
    QVERIFY(f.enterUntil("DBMemoSoins"));
    f.press(Qt::Key_Return);
}

QStringList TestMainWindowPending::doctors(const QString &field) const
{
    Table table(DoctorTable::definition());
    table.setDatabaseName(f.path());
    table.setIndexFieldNames(DoctorTable::indexFieldNames());
    table.open();
    QStringList values;
    for (table.first(); !table.eof(); table.next())
        values.append(table.fieldByName(field).asString());
    return values;
}

void TestMainWindowPending::insertFromEveryFocus_data()
{
    QTest::addColumn<QString>("start"); // where the user clicks after a row of the grid
    QTest::addColumn<bool>("navigator");
    for (bool navigator : {false, true}) {
        const char *how = navigator ? "+" : "Insert";
        for (const char *start : {"DBGrille", "DBCout", "DBMemoSoins", "lstListeAnnee",
                                  "lstListeBeneficiaires", "DBchpDateCPAM"})
            QTest::addRow("%s, %s", start, how) << QString(start) << navigator;
    }
}

void TestMainWindowPending::insertFromEveryFocus()
{
    QFETCH(QString, start);
    QFETCH(bool, navigator);
    clickGridRow(0);
    if (start == "DBchpDateCPAM") {
        QTabBar *tabs = f.child<QTabWidget>("OngletsSaisie")->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    } else if (start.startsWith("lst")) {
        click(f.child<QComboBox>(start)); // the list drops down; Escape folds it again
        QTRY_VERIFY(QApplication::activePopupWidget());
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
    } else if (start != "DBGrille") {
        click(f.child<QWidget>(start));
    }
    QCOMPARE(f.focusedName(), start);

    if (navigator)
        click(f.child<DBNavigator>("navTableTous")->button(DBNavigator::Button::Insert));
    else
        f.press(Qt::Key_Insert);
    QCOMPARE(f.focusedName(), QString("DBDateSoins"));
    typeEntry([this] { f.type("legrand"); }, true);
    QVERIFY(Dialogs::shownTexts().isEmpty());
    QCOMPARE(f.storedRows({DateSoins, Beneficiaire}),
             QStringList({"01/02/24|MARTIN", "10/04/24|DURAND", "05/05/24|LEGRAND"}));
}

void TestMainWindowPending::doctorLeftPendingIsSavedAtExit_data()
{
    QTest::addColumn<bool>("newDoctor");
    QTest::addColumn<bool>("closeBox"); // else the book's Quitter
    QTest::addColumn<QStringList>("stored");
    QTest::newRow("telephone typed, Quitter") << false << false << QStringList{"01-02-03-04-05"};
    QTest::newRow("telephone typed, close box") << false << true << QStringList{"01-02-03-04-05"};
    QTest::newRow("new doctor, Quitter") << true << false << QStringList{"", "01-02-03-04-05"};
}

void TestMainWindowPending::doctorLeftPendingIsSavedAtExit()
{
    QFETCH(bool, newDoctor);
    QFETCH(bool, closeBox);
    QFETCH(QStringList, stored);
    inWindow("BtnMedecins", [&](QDialog &book) {
        if (newDoctor) {
            f.press(Qt::Key_Insert);
            f.type("MOREAU");
        }
        auto *tel = book.findChild<DBEdit *>("DBchpTel");
        click(tel);
        QTest::keyClick(tel, Qt::Key_Home);
        f.type("0102030405");
        if (closeBox)
            book.close();
        else
            click(book.findChild<QToolButton *>("BtnQuitter"));
    });

    quitAnswering({Dialogs::Answer::Yes});
    QCOMPARE(Dialogs::shownTexts().size(), 1); // the question alone
    QVERIFY(!f.main().isVisible());
    QCOMPARE(doctors(DoctorFields::Tel), stored);
}

void TestMainWindowPending::doctorThatCannotBeSavedStopsExit()
{
    inWindow("BtnMedecins", [&](QDialog &book) {
        f.press(Qt::Key_Insert);
        click(book.findChild<DBEdit *>("DBchpVille"));
        f.type("Lyon"); // no name: the book refuses the row
        click(book.findChild<QToolButton *>("BtnQuitter"));
    });

    quitAnswering({Dialogs::Answer::Yes, Dialogs::Answer::Ok});
    QCOMPARE(Dialogs::shown().size(), 2);
    QCOMPARE(Dialogs::shown().at(1).kind, Dialogs::Kind::Error);
    QVERIFY2(Dialogs::shown().at(1).text.contains("carnet d'adresses"),
             qPrintable(Dialogs::shown().at(1).text));
    QVERIFY(f.main().isVisible());
    QCOMPARE(f.windows().frmMedecins->tableMedecins().state(), Table::State::Insert);
    QCOMPARE(doctors(DoctorFields::Nom), QStringList{"DUPONT"});
}

void TestMainWindowPending::insuredPersonLeftPendingIsSavedAtExit()
{
    inWindow("btnInformations", [&](QDialog &infos) {
        click(infos.findChild<DBEdit *>("DBchpNom"));
        f.type("zoé");
        click(infos.findChild<QToolButton *>("BtnQuitter"));
    });

    quitAnswering({Dialogs::Answer::Yes});
    QVERIFY(!f.main().isVisible());
    Table insured(InsuredTable::definition());
    insured.setDatabaseName(f.path());
    insured.open();
    QCOMPARE(insured.recordCount(), 1);
    QCOMPARE(insured.fieldByName(InsuredFields::Nom).asString(), QString("ZOÉ"));
}

void TestMainWindowPending::backupSavesEntryBeingTyped()
{
    f.press(Qt::Key_Insert);
    typeEntry([this] { f.type("legrand"); }, false);
    // The backup window only opens; the user closes it without copying.
    QTimer::singleShot(0, [] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    click(mainButton("btnSauvegarder"));
    QCOMPARE(f.storedRows({Beneficiaire}), QStringList({"MARTIN", "DURAND", "LEGRAND"}));
}

// An entry's beneficiary and an insurer field pasted with a line break; all side files saved.
void TestMainWindowPending::lineBreakPastedBecomesBlank()
{
    clickGridRow(0);
    f.press(Qt::Key_Insert);
    typeEntry(
        [&] {
            QGuiApplication::clipboard()->setText("ANNE\r\nMARIE");
            f.press(Qt::Key_V, Qt::ControlModifier);
        },
        true);
    QCOMPARE(f.storedRows({Beneficiaire}).last(), QString("ANNE MARIE"));

    inWindow("btnInformations", [&](QDialog &infos) {
        // The window opens with the caret in its first field.
        QCOMPARE(f.focusedName(), QString("chpOrganisme"));
        f.press(Qt::Key_V, Qt::ControlModifier);
        infos.close();
    });
    QCOMPARE(f.windows().frmInfos->findChild<QLineEdit *>("chpOrganisme")->text(),
             QString("ANNE MARIE"));

    quitAnswering({Dialogs::Answer::Yes});
    QVERIFY(!f.main().isVisible());
    QCOMPARE(f.fileBytes("LSTBENEF.LST"), QByteArray("TOUS\r\nMARTIN\r\nDURAND\r\nANNE MARIE\r\n"));
    QCOMPARE(f.fileBytes("talosoc.inf"), QByteArray("ANNE MARIE\r\n\r\n\r\n\r\n"));
    QCOMPARE(f.fileBytes("mutuelle.inf"), QByteArray("\r\n\r\n\r\n\r\n\r\n"));
}

// LSTBENEF.LST cannot be replaced (a folder stands in its place): the insurer files are still
// written, and one box says what failed and asks before leaving.
void TestMainWindowPending::sideFileFailureKeepsOthers()
{
    QVERIFY(QFile::remove(f.filePath("LSTBENEF.LST")));
    QVERIFY(QDir(f.path()).mkdir("LSTBENEF.LST"));
    quitAnswering({Dialogs::Answer::Yes, Dialogs::Answer::No});
    QCOMPARE(Dialogs::shown().size(), 2);
    const QString failure = Dialogs::shown().at(1).text;
    QVERIFY2(failure.contains("LSTBENEF.LST") && failure.endsWith("Quitter quand même ?"),
             qPrintable(failure));
    QVERIFY(f.main().isVisible());
    QCOMPARE(f.fileBytes("talosoc.inf"), QByteArray("\r\n\r\n\r\n\r\n"));
    QCOMPARE(f.fileBytes("mutuelle.inf"), QByteArray("\r\n\r\n\r\n\r\n\r\n"));

    quitAnswering({Dialogs::Answer::Yes, Dialogs::Answer::Yes});
    QVERIFY(!f.main().isVisible());
}

QTEST_MAIN(TestMainWindowPending)
#include "test_main_window_pending.moc"
