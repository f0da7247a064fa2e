#include "MainWindowFixture.h"

#include "safety/ModalDriver.h"

#include "app/DataCommands.h"
#include "recovery/AutomaticBackup.h"
#include "recovery/PendingRestore.h"
#include "support/ReadOnlyFolder.h"

#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

using namespace CareFields;

// The automatic copy at exit and the restore of such a copy, from the main window.
class TestDataCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { MainWindowFixture::pinConventions(); }
    void init() { QVERIFY(f.prepare()); }
    void cleanup() { f.finish(); }
    void exitMakesTheDaysCopy();
    void failedCopyToldAndExitGoesOn();
    void dataSaidSavedOnlyWhenTrue_data();
    void dataSaidSavedOnlyWhenTrue();
    void clockBehindTheLatestCopyIsTold();
    void restoreAutomaticCopyFromTheMenu();

private:
    void quitYes()
    {
        Dialogs::clearShown();
        Dialogs::queueAnswer(Dialogs::Answer::Yes);
        QTest::mouseClick(f.child<QToolButton>("BtnQuitter"), Qt::LeftButton);
    }

    MainWindowFixture f;
    const QString quitQuestion = QStringLiteral("Voulez-vous vraiment quitter Talo 3.0 ?");
    const QString daysCopy = QStringLiteral("Sauvegardes/2024-06-15/");
};

void TestDataCommands::exitMakesTheDaysCopy()
{
    f.seed({{DateSoins, "01/02/24"}, {Beneficiaire, "MARTIN"}, {Cout, "30"}});
    QVERIFY(f.start(true));
    f.typeEntry("150324", "durand", "45");
    quitYes();
    QCOMPARE(Dialogs::shownTexts(), QStringList({quitQuestion}));
    QVERIFY(!f.main().isVisible());
    Table copy(CareEntryTable::definition());
    copy.setDatabaseName(f.filePath(daysCopy));
    copy.open();
    QCOMPARE(copy.recordCount(), 2);
    QCOMPARE(f.fileBytes(daysCopy + "LSTBENEF.LST"), f.fileBytes("LSTBENEF.LST"));
}

void TestDataCommands::failedCopyToldAndExitGoesOn()
{
    f.putFile("Sauvegardes", "a file where the folder should be");
    QVERIFY(f.start(true));
    quitYes();
    QCOMPARE(Dialogs::shown().size(), 2);
    QCOMPARE(Dialogs::shown().at(1).kind, Dialogs::Kind::Error);
    QVERIFY2(Dialogs::shown().at(1).text.startsWith(
                 "La copie de sauvegarde automatique n'a pas pu être faite"),
             qPrintable(Dialogs::shown().at(1).text));
    QVERIFY(!f.main().isVisible());
    QCOMPARE(f.fileBytes("Sauvegardes"), QByteArray("a file where the folder should be"));
}

void TestDataCommands::dataSaidSavedOnlyWhenTrue_data()
{
    QTest::addColumn<QString>("broken");
    QTest::addColumn<QString>("notSaved");
    QTest::newRow("register file missing") << "TALO.DB"
                                           << "le fichier TALO.DB est introuvable";
    QTest::newRow("program folder read-only")
        << "folder"
        << "les fichiers LSTBENEF.LST, talosoc.inf et mutuelle.inf n'ont pas tous pu être "
           "enregistrés";
}

// The copy fails either way; whether the data are in the program directory decides the
// last words of its box.
void TestDataCommands::dataSaidSavedOnlyWhenTrue()
{
    QFETCH(QString, broken);
    QFETCH(QString, notSaved);
    if (broken == "TALO.DB")
        QVERIFY(QFile::remove(f.filePath(broken)));
    QVERIFY(f.start(true));
    std::unique_ptr<ReadOnlyFolder> readOnly;
    if (broken == "folder") {
        readOnly = std::make_unique<ReadOnlyFolder>(f.path());
        if (!readOnly->isReadOnly())
            QSKIP("this system cannot make a folder read-only");
    }
    Dialogs::clearShown();
    Dialogs::queueAnswer(Dialogs::Answer::Yes);
    Dialogs::queueAnswer(Dialogs::Answer::Yes); // leave although the files were not written
    QTest::mouseClick(f.child<QToolButton>("BtnQuitter"), Qt::LeftButton);
    QVERIFY(!f.main().isVisible());
    const Dialogs::Shown box = Dialogs::shown().last();
    QCOMPARE(box.kind, Dialogs::Kind::Error);
    QVERIFY2(box.text.startsWith("La copie de sauvegarde automatique n'a pas pu être faite"),
             qPrintable(box.text));
    QVERIFY2(!box.text.contains("vos données sont enregistrées"), qPrintable(box.text));
    QVERIFY2(box.text.endsWith("Talo 3.0 se ferme quand même, mais toutes vos données ne sont "
                               "pas enregistrées dans son dossier : " +
                               notSaved + "."),
             qPrintable(box.text));
}

void TestDataCommands::clockBehindTheLatestCopyIsTold()
{
    // A copy made while the clock said July; today is 15 June.
    QVERIFY(QDir(f.path()).mkpath("Sauvegardes/2024-07-01"));
    QVERIFY(f.start(true));
    quitYes();
    QVERIFY(!f.main().isVisible());
    QCOMPARE(Dialogs::shown().size(), 2);
    QCOMPARE(Dialogs::shown().at(1).kind, Dialogs::Kind::Information);
    QCOMPARE(Dialogs::shown().at(1).text,
             QString("La copie de sauvegarde automatique est faite.\n\nL'ordinateur est au "
                     "15/06/2024, avant la copie automatique datée du 01/07/2024 : vérifiez la "
                     "date et l'heure de l'ordinateur."));
    // The copy just made is kept, and is the one offered first.
    QCOMPARE(
        AutomaticBackup::copies(f.path()),
        QStringList({f.filePath("Sauvegardes/2024-06-15"), f.filePath("Sauvegardes/2024-07-01")}));
}

void TestDataCommands::restoreAutomaticCopyFromTheMenu()
{
    f.seed({{DateSoins, "01/02/24"}, {Beneficiaire, "MARTIN"}, {Cout, "30"}});
    QVERIFY(f.start(true));
    quitYes();
    QVERIFY(f.restart(true));
    f.typeEntry("150324", "durand", "45");
    QCOMPARE(f.gridColumn("Bénéficiaire"), QStringList({"MARTIN", "DURAND"}));

    QString described;
    ModalDriver driver([&](QDialog &dialog) {
        auto *list = dialog.findChild<QListWidget *>("lstCopies");
        QCOMPARE(list->item(0)->text(), QString("Copie automatique du 15/06/2024"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        described = dialog.findChild<QLabel *>("etqContenu")->text();
        Dialogs::queueAnswer(Dialogs::Answer::Yes);
        QTest::mouseClick(dialog.findChild<QPushButton *>("btnRestaurer"), Qt::LeftButton);
    });
    Dialogs::clearShown();
    f.child<QAction>("mnuRestaurer")->trigger();
    QVERIFY(driver.fired());
    QVERIFY2(described.contains("1 soin(s) (le plus récent du 01/02/2024)"), qPrintable(described));
    // The program leaves without the exit question, then puts the copy in place and starts again.
    QVERIFY(Dialogs::shownTexts().filter(quitQuestion).isEmpty());
    QVERIFY(!f.main().isVisible());
    f.endProgram();
    QVERIFY(DataCommands::finishPendingRestore(f.path()));
    QVERIFY2(Dialogs::shownTexts().last().contains("Avant restauration 20"),
             qPrintable(Dialogs::shownTexts().join('\n')));
    QCOMPARE(f.fileNames().filter(QRegularExpression("-(wal|shm)$")), QStringList());
    QVERIFY(f.restart(true));
    QCOMPARE(f.gridColumn("Bénéficiaire"), QStringList({"MARTIN"}));
}

QTEST_MAIN(TestDataCommands)
#include "test_data_commands.moc"
