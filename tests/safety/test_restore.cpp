#include "FakeBackupSources.h"
#include "FolderContents.h"
#include "support/FolderSnapshot.h"

#include "support/ThrownMessage.h"

#include "recovery/BackupCopy.h"
#include "recovery/RestoreCandidate.h"
#include "recovery/RestoreSwap.h"
#include "safety/TFrmRestaurer.h"

#include <QListWidget>

#include <QDirIterator>
#include <QTest>

#include <map>

namespace
{

const QDateTime restoredAt(QDate(2025, 7, 1), QTime(9, 5));

} // namespace

class TestRestore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void goodBackupDescribedAndLeftAlone();
    void unusableBackupRefused_data();
    void unusableBackupRefused();
    void swapPutsTheCopyInPlace();
    void failedSwapLeavesEverythingAsItWas();
    void replacedDataOfferedAfterTheAutomaticCopies();
    void confirmationSaysThePasswordStays();

private:
    void closeTables();

    std::unique_ptr<FakeBackupSources> src;
    std::unique_ptr<QTemporaryDir> backup;
};

void TestRestore::init()
{
    src = std::make_unique<FakeBackupSources>();
    backup = std::make_unique<QTemporaryDir>();
    BackupCopy::run(src->programDir, backup->path(), *src);
}

void TestRestore::cleanup()
{
    src.reset();
    backup.reset();
}

void TestRestore::closeTables()
{
    for (Table *t : {&src->care, &src->doctors, &src->insured})
        t->close();
}

void TestRestore::goodBackupDescribedAndLeftAlone()
{
    const auto before = FolderSnapshot::of(backup->path());
    QVERIFY(QDir(src->programDir).mkpath(".Restauration-Xy12ab/left"));
    const auto candidate = RestoreCandidate::prepare(src->programDir, backup->path());
    QCOMPARE(folderEntries(src->programDir).filter(".Restauration").size(), 1);
    QCOMPARE(candidate->summary().entries, 3);
    QCOMPARE(candidate->summary().doctors, 2);
    QCOMPARE(candidate->summary().insured, 1);
    QCOMPARE(candidate->summary().newestEntry, QDate(2025, 6, 30));
    QVERIFY(candidate->summaryText().contains("3 soin(s) (le plus récent du 30/06/2025)"));
    // The proofs' folder goes with the tables, empty when nothing is linked.
    QCOMPARE(folderEntries(candidate->stagingFolder()),
             QStringList({"ASSURE.DB", "LSTBENEF.LST", "MEDECINS.DB", "Pièces", "TALO.DB",
                          "mutuelle.inf", "talo.ini", "talosoc.inf"}));
    // Looking into a backup never changes it.
    QVERIFY(FolderSnapshot::of(backup->path()) == before);
}

void TestRestore::unusableBackupRefused_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("told");
    QTest::newRow("table missing") << "remove MEDECINS.DB"
                                   << "ne contient pas le fichier MEDECINS.DB";
    QTest::newRow("side file missing") << "remove talosoc.inf"
                                       << "ne contient pas le fichier talosoc.inf";
    QTest::newRow("not a database") << "garble TALO.DB"
                                    << "Le fichier TALO.DB de cette copie";
    QTest::newRow("another table") << "foreign ASSURE.DB"
                                   << "Le fichier ASSURE.DB de cette copie";
    QTest::newRow("program directory") << "choose program directory"
                                       << "celui de Talo 3.0";
}

void TestRestore::unusableBackupRefused()
{
    QFETCH(QString, damage);
    QFETCH(QString, told);
    const QString folder = damage.startsWith("choose") ? src->programDir : backup->path();
    const QString name = damage.section(' ', 1);
    const QString path = QDir(backup->path()).filePath(name);
    if (damage.startsWith("remove"))
        QVERIFY(QFile::remove(path));
    else if (damage.startsWith("garble"))
        FileBytes::put(path, QByteArray(4096, 'x'));
    else if (damage.startsWith("foreign")) {
        QVERIFY(QFile::remove(path));
        QVERIFY(TableStorage::createFile(path, DoctorTable::definition()));
    }
    closeTables();
    const auto before = FolderSnapshot::of(src->programDir);
    const QString message =
        thrownMessage([&] { RestoreCandidate::prepare(src->programDir, folder); });
    QVERIFY2(message.contains(told), qPrintable(message));
    // Nothing of the program directory changed, no working folder left behind.
    QVERIFY(FolderSnapshot::of(src->programDir) == before);
    QCOMPARE(folderEntries(src->programDir).filter(".Restauration"), QStringList());
}

void TestRestore::swapPutsTheCopyInPlace()
{
    src->addCare(QDate(2025, 7, 1), "APRES", 100, "Dr X", QString());
    closeTables();
    FileBytes::put(src->programDir + "LSTBENEF.LST", "TOUS\r\nAPRES\r\n");
    FileBytes::put(src->programDir + "TALO.DB-wal", "stale log");
    const auto current = FolderSnapshot::of(src->programDir);
    const auto candidate = RestoreCandidate::prepare(src->programDir, backup->path());
    const auto staged = FolderSnapshot::of(candidate->stagingFolder());

    const QString aside =
        RestoreSwap::run(src->programDir, candidate->stagingFolder(), candidate->fileNames(),
                         RestoreCandidate::tableFileNames(), restoredAt);
    QCOMPARE(QFileInfo(aside).fileName(), QString("Avant restauration 2025-07-01 09h05"));
    // The replaced files, log included, wait in the aside folder exactly as they were.
    auto movedAside = FolderSnapshot::of(aside);
    for (const auto &[name, bytes] : current)
        QCOMPARE(movedAside[name], bytes);
    for (const auto &[name, bytes] : staged)
        QCOMPARE(FileBytes::of(src->programDir + name), bytes);
    QCOMPARE(folderEntries(src->programDir).filter("-wal"), QStringList());
    Table restored(CareEntryTable::definition());
    restored.setDatabaseName(src->programDir);
    restored.open();
    QCOMPARE(restored.recordCount(), 3);
}

void TestRestore::failedSwapLeavesEverythingAsItWas()
{
    closeTables();
    FileBytes::put(src->programDir + "TALO.DB-wal", "its own log");
    const auto before = FolderSnapshot::of(src->programDir);
    const auto candidate = RestoreCandidate::prepare(src->programDir, backup->path());
    // The last copy to move in has gone: the swap fails after moving everything else.
    QVERIFY(QFile::remove(QDir(candidate->stagingFolder()).filePath("talo.ini")));
    const QString message = thrownMessage([&] {
        RestoreSwap::run(src->programDir, candidate->stagingFolder(), candidate->fileNames(),
                         RestoreCandidate::tableFileNames(), restoredAt);
    });
    QVERIFY2(message.contains("talo.ini"), qPrintable(message));
    auto after = FolderSnapshot::of(src->programDir);
    for (auto it = after.begin(); it != after.end();)
        it = it->first.startsWith(".Restauration") ? after.erase(it) : std::next(it);
    QVERIFY(after == before);
    QCOMPARE(folderEntries(src->programDir).filter("Avant restauration"), QStringList());
}

void TestRestore::replacedDataOfferedAfterTheAutomaticCopies()
{
    // Today's data (4 entries) replaced by a copy of 3: the window offers them back.
    src->addCare(QDate(2025, 7, 1), "APRES", 100, "Dr X", QString());
    closeTables();
    QVERIFY(QDir(src->programDir).mkpath("Sauvegardes"));
    const QString automatic = src->programDir + "Sauvegardes/2025-06-30";
    QVERIFY(QDir().rename(backup->path(), automatic));
    const auto candidate = RestoreCandidate::prepare(src->programDir, automatic);
    RestoreSwap::run(src->programDir, candidate->stagingFolder(), candidate->fileNames(),
                     RestoreCandidate::tableFileNames(), restoredAt);
    QVERIFY(QDir(src->programDir).mkdir("Avant restauration 2025-06-02 18h30"));

    TFrmRestaurer dialog(src->programDir);
    auto *list = dialog.findChild<QListWidget *>("lstCopies");
    QStringList shown;
    for (int row = 0; row < list->count(); ++row)
        shown.append(list->item(row)->text());
    QCOMPARE(shown, QStringList({"Copie automatique du 30/06/2025",
                                 "Données d'avant la restauration du 01/07/2025 à 09h05",
                                 "Données d'avant la restauration du 02/06/2025 à 18h30"}));
    list->setCurrentRow(1);
    QVERIFY(dialog.candidate());
    QCOMPARE(dialog.candidate()->summary().entries, 4);
    QCOMPARE(dialog.candidate()->summary().newestEntry, QDate(2025, 7, 1));
}

void TestRestore::confirmationSaysThePasswordStays()
{
    const QString set = TFrmRestaurer::confirmation("Cette copie contient 3 soin(s).", true);
    QVERIFY2(set.endsWith("Le mot de passe actuel reste en vigueur : celui de la copie n'est pas "
                          "repris."),
             qPrintable(set));
    const QString none = TFrmRestaurer::confirmation("Cette copie contient 3 soin(s).", false);
    QVERIFY2(none.endsWith("Talo 3.0 reste sans mot de passe, comme maintenant : celui de la "
                           "copie n'est pas repris."),
             qPrintable(none));
}

QTEST_MAIN(TestRestore)
#include "test_restore.moc"
