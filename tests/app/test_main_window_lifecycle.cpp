#include "MainWindowFixture.h"

#include "reference/TFrmInfos.h"
#include "support/PermissionsEnforced.h"
#include "support/ReadOnlyFolder.h"

#include <QLineEdit>
#include <QToolButton>

using namespace CareFields;

// The main window from its creation to the end of the program: the beneficiary list read at
// start and written at a confirmed quit with the insurer files, and the quit question.
class TestMainWindowLifecycle : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { MainWindowFixture::pinConventions(); }
    void init() { QVERIFY(f.prepare()); }
    void cleanup() { f.finish(); }

    void firstRunWithoutListFile();
    void secondStartReadsWhatQuitWrote();
    void listFileNameInSmallLetters();
    void unreadableListFileLeftAlone_data();
    void unreadableListFileLeftAlone();
    void quitYesWritesSideFiles();
    void quitNoWritesNothing_data();
    void quitNoWritesNothing();
    void quitSavesPendingEntry_data();
    void quitSavesPendingEntry();
    void quitInReadOnlyFolder();
    void missingRegisterToldOnce();

private:
    void seedTwoEntries();
    void quitAnswering(Dialogs::Answer answer);
    QLineEdit *infosEdit(const char *name)
    {
        return f.windows().frmInfos->findChild<QLineEdit *>(QLatin1String(name));
    }

    MainWindowFixture f;
};

static const QString quitQuestion = QStringLiteral("Voulez-vous vraiment quitter Talo 3.0 ?");
static const QString firstRunMessage =
    QStringLiteral("Fichier LSTBENEF.LST introuvable. Normal si c'est la première fois que vous "
                   "exécutez Talo 3.0");

void TestMainWindowLifecycle::seedTwoEntries()
{
    f.seed({{DateSoins, "01/02/24"}, {Beneficiaire, "MARTIN"}, {Cout, "30"}});
    f.seed({{DateSoins, "10/04/24"}, {Beneficiaire, "DURAND"}, {Cout, "100"}});
}

void TestMainWindowLifecycle::quitAnswering(Dialogs::Answer answer)
{
    Dialogs::clearShown();
    Dialogs::queueAnswer(answer);
    QTest::mouseClick(f.child<QToolButton>("BtnQuitter"), Qt::LeftButton);
}

void TestMainWindowLifecycle::firstRunWithoutListFile()
{
    seedTwoEntries();
    QVERIFY(f.start(true));
    QCOMPARE(Dialogs::shownTexts(), QStringList({firstRunMessage}));
    QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Information);
    QCOMPARE(f.comboItems("lstListeBeneficiaires"), QStringList({"TOUS"}));
    QCOMPARE(f.child<QComboBox>("lstListeBeneficiaires")->currentText(), QString("TOUS"));
    QCOMPARE(f.gridCurrentRow(), 1);
    QCOMPARE(f.child<QLineEdit>("DBBeneficiaire")->text(), QString("DURAND"));

    quitAnswering(Dialogs::Answer::Yes);
    QVERIFY(!f.main().isVisible());
    QCOMPARE(f.fileBytes("LSTBENEF.LST"), QByteArray("TOUS\r\n"));
}

void TestMainWindowLifecycle::secondStartReadsWhatQuitWrote()
{
    QVERIFY(f.start(true));
    QCOMPARE(Dialogs::shownTexts(), QStringList({firstRunMessage}));
    f.typeEntry("150324", "martin", "45");
    f.typeEntry("160324", "hélène", "12");
    QCOMPARE(f.comboItems("lstListeBeneficiaires"), QStringList({"TOUS", "MARTIN", "HÉLÈNE"}));
    quitAnswering(Dialogs::Answer::Yes);
    QCOMPARE(Dialogs::shownTexts(), QStringList({quitQuestion}));
    QVERIFY(!f.main().isVisible());
    // Windows-1252 on disk, as the file always was.
    QCOMPARE(f.fileBytes("LSTBENEF.LST"), QByteArray("TOUS\r\nMARTIN\r\nH\xC9L\xC8NE\r\n"));

    QVERIFY(f.restart(true));
    QCOMPARE(Dialogs::shownTexts(), QStringList());
    QCOMPARE(f.comboItems("lstListeBeneficiaires"), QStringList({"TOUS", "MARTIN", "HÉLÈNE"}));
    QCOMPARE(f.child<QComboBox>("lstListeBeneficiaires")->currentText(), QString("TOUS"));
    QCOMPARE(f.gridColumn("Bénéficiaire"), QStringList({"MARTIN", "HÉLÈNE"}));
}

void TestMainWindowLifecycle::listFileNameInSmallLetters()
{
    f.putFile("lstbenef.lst", "TOUS\r\nDURAND\r\n");
    QVERIFY(f.start(true));
    QCOMPARE(Dialogs::shownTexts(), QStringList());
    QCOMPARE(f.comboItems("lstListeBeneficiaires"), QStringList({"TOUS", "DURAND"}));
    f.typeEntry("150324", "petit", "20");
    quitAnswering(Dialogs::Answer::Yes);
    QVERIFY(!f.main().isVisible());
    // The same file rewritten, no twin in capitals beside it.
    QVERIFY(f.fileNames().contains("lstbenef.lst"));
    QVERIFY(!f.fileNames().contains("LSTBENEF.LST"));
    QCOMPARE(f.fileBytes("lstbenef.lst"), QByteArray("TOUS\r\nDURAND\r\nPETIT\r\n"));
}

void TestMainWindowLifecycle::unreadableListFileLeftAlone_data()
{
    QTest::addColumn<bool>("folder");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no read permission")
        << false << "LSTBENEF.LST.\nAccès refusé : le fichier ne peut pas être lu.";
    QTest::newRow("a folder of that name")
        << true << "LSTBENEF.LST.\nCe nom est celui d'un dossier, pas d'un fichier.";
}

void TestMainWindowLifecycle::unreadableListFileLeftAlone()
{
    QFETCH(bool, folder);
    QFETCH(QString, reason);
    const QByteArray names("TOUS\r\nMARTIN\r\nDURAND\r\n");
    if (folder) {
        QVERIFY(QDir(f.path()).mkdir("LSTBENEF.LST"));
    } else {
        f.putFile("LSTBENEF.LST", names);
        QVERIFY(QFile::setPermissions(f.filePath("LSTBENEF.LST"), QFileDevice::Permissions()));
    }
    {
        PermissionsEnforced enforced;
        QVERIFY(f.start(true));
        // Not "introuvable": the file is there, the user is told why it was not read.
        QCOMPARE(Dialogs::shown().size(), 1);
        QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Error);
        QCOMPARE(Dialogs::shown().first().text,
                 "Impossible de lire le fichier " + f.path() + reason);
        QCOMPARE(f.comboItems("lstListeBeneficiaires"), QStringList({"TOUS"}));
        f.typeEntry("150324", "petit", "20");
        quitAnswering(Dialogs::Answer::Yes);
        // The automatic copy cannot read the file either: told, and the exit goes on.
        QCOMPARE(Dialogs::shownTexts().size(), 2);
        QCOMPARE(Dialogs::shownTexts().first(), quitQuestion);
        QVERIFY(Dialogs::shownTexts().last().contains("LSTBENEF.LST"));
        QVERIFY(!f.main().isVisible());
    }
    // The names it holds are not replaced by this run's list.
    if (folder) {
        QVERIFY(QFileInfo(f.filePath("LSTBENEF.LST")).isDir());
    } else {
        QVERIFY(QFile::setPermissions(f.filePath("LSTBENEF.LST"), QFileDevice::ReadOwner));
        QCOMPARE(f.fileBytes("LSTBENEF.LST"), names);
    }
    QCOMPARE(f.fileNames().filter("lstbenef", Qt::CaseInsensitive).size(), folder ? 0 : 1);
    QCOMPARE(f.storedRows({Beneficiaire}), QStringList({"PETIT"}));
}

void TestMainWindowLifecycle::quitYesWritesSideFiles()
{
    f.putFile("LSTBENEF.LST", "TOUS\nMARTIN\n\nDURAND");
    f.putFile("talosoc.inf", "CPAM DE LYON\r\n1 23 45 67 890 123\r\nCaisse du Rh\xF4ne\r\n"
                             "276 rue Garibaldi\r\n");
    QVERIFY(f.start(true));
    QCOMPARE(f.comboItems("lstListeBeneficiaires"), QStringList({"TOUS", "MARTIN", "", "DURAND"}));
    // What the insurance details window holds at the end is what is written.
    QCOMPARE(infosEdit("chpCaisse")->text(), QString("Caisse du Rhône"));
    infosEdit("chpAdresse")->setText("12 place Bellecour");
    infosEdit("chpNomMutuelle")->setText("MUTUELLE DES ÉCOLES");
    infosEdit("chpAdresseMutuelle")->setText("3 rue Pasteur");
    infosEdit("chpTelMutuelle")->setText("04 78 00 00 00");
    infosEdit("chpNumMutuelle")->setText("A-1234");
    infosEdit("chpModeMutuelle")->setText("Tiers payant");

    quitAnswering(Dialogs::Answer::Yes);
    QCOMPARE(Dialogs::shownTexts(), QStringList({quitQuestion}));
    QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Question);
    QVERIFY(!f.main().isVisible());
    QCOMPARE(f.fileBytes("LSTBENEF.LST"), QByteArray("TOUS\r\nMARTIN\r\n\r\nDURAND\r\n"));
    QCOMPARE(f.fileBytes("talosoc.inf"),
             QByteArray("CPAM DE LYON\r\n1 23 45 67 890 123\r\nCaisse du Rh\xF4ne\r\n"
                        "12 place Bellecour\r\n"));
    QCOMPARE(f.fileBytes("mutuelle.inf"), QByteArray("MUTUELLE DES \xC9"
                                                     "COLES\r\n3 rue Pasteur\r\n04 78 00 00 00\r\n"
                                                     "A-1234\r\nTiers payant\r\n"));
    // A file the program creates holds health data: its owner alone may read it.
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ReadOther | QFileDevice::WriteOther;
    QCOMPARE(QFile::permissions(f.filePath("mutuelle.inf")) & others, QFileDevice::Permissions());
    // Nothing else appeared beside them.
    QCOMPARE(f.fileNames().filter(".inf"), QStringList({"mutuelle.inf", "talosoc.inf"}));
}

void TestMainWindowLifecycle::quitNoWritesNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("tool button") << "BtnQuitter";
    QTest::newRow("menu") << "mnuQuitter";
    QTest::newRow("close box") << "close";
}

void TestMainWindowLifecycle::quitNoWritesNothing()
{
    QFETCH(QString, how);
    f.putFile("LSTBENEF.LST", "TOUS\r\nMARTIN\r\n");
    QVERIFY(f.start(true));
    f.typeEntry("150324", "durand", "45");
    Dialogs::clearShown();
    Dialogs::queueAnswer(Dialogs::Answer::No);
    if (how == "BtnQuitter")
        QTest::mouseClick(f.child<QToolButton>(how), Qt::LeftButton);
    else if (how == "mnuQuitter")
        f.child<QAction>(how)->trigger();
    else
        f.main().close();
    QCOMPARE(Dialogs::shownTexts(), QStringList({quitQuestion}));
    QVERIFY(f.main().isVisible());
    QCOMPARE(f.fileBytes("LSTBENEF.LST"), QByteArray("TOUS\r\nMARTIN\r\n"));
    QCOMPARE(f.fileBytes("talosoc.inf"), QByteArray("<none>"));
    QCOMPARE(f.fileBytes("mutuelle.inf"), QByteArray("<none>"));
    // Work goes on.
    QCOMPARE(f.comboItems("lstListeBeneficiaires"), QStringList({"TOUS", "MARTIN", "DURAND"}));
    f.typeEntry("160324", "martin", "10");
    QCOMPARE(f.storedRows({DateSoins}), QStringList({"15/03/24", "16/03/24"}));
}

void TestMainWindowLifecycle::quitSavesPendingEntry_data()
{
    QTest::addColumn<QString>("cost");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("complete entry saved")
        << "45" << QStringList{quitQuestion} << true << QStringList{"15/03/24|PETIT|45,00"};
    QTest::newRow("entry without cost keeps the window")
        << "" << QStringList{quitQuestion, "Le champ 'Coût' doit avoir une valeur"} << false
        << QStringList{};
}

void TestMainWindowLifecycle::quitSavesPendingEntry()
{
    QFETCH(QString, cost);
    QFETCH(QStringList, messages);
    QFETCH(bool, closed);
    QFETCH(QStringList, rows);
    f.putFile("LSTBENEF.LST", "TOUS\r\n");
    QVERIFY(f.start(true));
    f.press(Qt::Key_Insert);
    MainWindowFixture::type("150324");
    f.press(Qt::Key_Return);
    MainWindowFixture::type("petit");
    f.press(Qt::Key_Return);
    f.child<QLineEdit>("DBCout")->setFocus();
    MainWindowFixture::type(cost);
    QCOMPARE(f.table().state(), Table::State::Insert);

    quitAnswering(Dialogs::Answer::Yes);
    QCOMPARE(Dialogs::shownTexts(), messages);
    QCOMPARE(f.main().isVisible(), !closed);
    QCOMPARE(f.storedRows({DateSoins, Beneficiaire, Cout}), rows);
    QCOMPARE(f.fileBytes("LSTBENEF.LST"), QByteArray(closed ? "TOUS\r\nPETIT\r\n" : "TOUS\r\n"));
    if (!closed) {
        // The entry is still there to be completed.
        QCOMPARE(f.table().state(), Table::State::Insert);
        QCOMPARE(f.child<QLineEdit>("DBBeneficiaire")->text(), QString("PETIT"));
    }
}

void TestMainWindowLifecycle::quitInReadOnlyFolder()
{
    f.putFile("LSTBENEF.LST", "TOUS\r\nMARTIN\r\n");
    QVERIFY(f.start(true));
    f.typeEntry("150324", "durand", "45");
    ReadOnlyFolder readOnly(f.path());
    if (!readOnly.isReadOnly())
        QSKIP("this system cannot make a folder read-only");
    // One box says what could not be saved and why, and asks.
    Dialogs::clearShown();
    Dialogs::queueAnswer(Dialogs::Answer::Yes); // leave
    Dialogs::queueAnswer(Dialogs::Answer::No);  // not without the files
    QTest::mouseClick(f.child<QToolButton>("BtnQuitter"), Qt::LeftButton);
    QCOMPARE(Dialogs::shown().size(), 2);
    QCOMPARE(Dialogs::shown().at(0).text, quitQuestion);
    QCOMPARE(Dialogs::shown().at(1).kind, Dialogs::Kind::Question);
    const QString failed = Dialogs::shown().at(1).text;
    QVERIFY2(failed.contains("LSTBENEF.LST") && failed.contains("talosoc.inf") &&
                 failed.endsWith("Quitter quand même ?"),
             qPrintable(failed));
    QVERIFY(f.main().isVisible());
    QCOMPARE(f.fileBytes("LSTBENEF.LST"), QByteArray("TOUS\r\nMARTIN\r\n"));

    // Leaving anyway is the user's choice.
    Dialogs::clearShown();
    Dialogs::queueAnswer(Dialogs::Answer::Yes);
    Dialogs::queueAnswer(Dialogs::Answer::Yes);
    QTest::mouseClick(f.child<QToolButton>("BtnQuitter"), Qt::LeftButton);
    // The automatic copy cannot be made there either: told, and the exit goes on.
    QCOMPARE(Dialogs::shown().size(), 3);
    QCOMPARE(Dialogs::shown().at(2).kind, Dialogs::Kind::Error);
    QVERIFY(!f.main().isVisible());
    QCOMPARE(f.fileBytes("LSTBENEF.LST"), QByteArray("TOUS\r\nMARTIN\r\n"));
}

void TestMainWindowLifecycle::missingRegisterToldOnce()
{
    QVERIFY(QFile::remove(f.filePath("TALO.DB")));
    f.putFile("LSTBENEF.LST", "TOUS\r\n");
    QVERIFY(f.start(true));
    QCOMPARE(Dialogs::shownTexts(),
             QStringList({"Table introuvable.\nFichier : " + f.filePath("TALO.DB")}));
    // No amount anywhere rather than sums of nothing beside empty panels.
    QCOMPARE(
        f.totalsShown(),
        QStringList({"Total coût :", "Total C.P.A.M.:", "Total mutuelle :", "Total écart :", ""}));
}

QTEST_MAIN(TestMainWindowLifecycle)
#include "test_main_window_lifecycle.moc"
