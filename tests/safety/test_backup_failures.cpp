#include "BackupChecks.h"
#include "FakeBackupSources.h"

#include "platform/core/FileCopy.h"
#include "platform/core/FileErrors.h"
#include "platform/core/PlatformMessages.h"
#include "recovery/BackupCopy.h"
#include "support/FolderSnapshot.h"
#include "support/PermissionsEnforced.h"
#include "support/ReadOnlyFolder.h"
#include "support/SmallFileSystem.h"

#include <QTest>

namespace
{
const QStringList tables{"ASSURE.DB", "MEDECINS.DB", "TALO.DB"};
}

class TestBackupFailures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listedFilesStopAtFailure_data();
    void listedFilesStopAtFailure();
    void unreadableListedFile();
    void missingOrUnchosenTarget();
    void readOnlyTargetLosesNothing();
    void olderTableCopySurvivesFailedCopy();
    void olderListedFileSurvivesFailedCopy();
    void smallListedFileOnFullDisk_data();
    void smallListedFileOnFullDisk();
    void fullDiskKeepsTheOlderBackup();
    void cancelledBackupLeavesTheFolderAsItWas_data();
    void cancelledBackupLeavesTheFolderAsItWas();
};

void TestBackupFailures::listedFilesStopAtFailure_data()
{
    // "@" in a message stands for the program directory.
    QTest::addColumn<QStringList>("ini");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("copied");
    const QString ini = "@talo.ini";
    auto row = [](const char *name, const QStringList &lines, const QString &message,
                  const QStringList &copied) { QTest::newRow(name) << lines << message << copied; };
    row("missing file", {"[ListeFichiers]", "1=LSTBENEF.LST", "2=talosoc.inf", "3=absent.txt"},
        PlatformMessages::cannotReadFile("@absent.txt", PlatformMessages::fileMissing()),
        tables + QStringList{"LSTBENEF.LST", "talosoc.inf"});
    row("empty key", {"[ListeFichiers]", "1=LSTBENEF.LST", "2=", "3=mutuelle.inf"},
        BackupCopy::listedFileEmpty(ini, 2), tables + QStringList{"LSTBENEF.LST"});
    row("no talo.ini", {}, PlatformMessages::cannotReadFile(ini, PlatformMessages::fileMissing()),
        tables);
    for (const char *name :
         {"../evasion.txt", "/etc/hostname", "sous/f.txt", "..\\evasion.txt", ".."})
        row(name, {"[ListeFichiers]", QStringLiteral("1=") + name},
            BackupCopy::listedFileNotBare(ini, 1, QString::fromLatin1(name)), tables);
}

void TestBackupFailures::listedFilesStopAtFailure()
{
    QFETCH(QStringList, ini);
    QFETCH(QString, message);
    QFETCH(QStringList, copied);
    FakeBackupSources sources;
    if (ini.isEmpty())
        QVERIFY(QFile::remove(sources.programDir + "talo.ini"));
    else
        sources.writeIni(ini);
    QTemporaryDir outer;
    const QString target = outer.path() + "/cible";
    QVERIFY(QDir().mkdir(target));

    QCOMPARE(errorOf([&] { BackupCopy::run(sources.programDir, target, sources); }),
             message.replace(QLatin1Char('@'), sources.programDir));
    // The steps before the failure stay done, nothing after it, nothing outside the target.
    copied.sort();
    QCOMPARE(folderEntries(target), copied);
    QCOMPARE(folderEntries(outer.path()), QStringList{"cible"});
    QCOMPARE(FileBytes::of(sources.programDir + "LSTBENEF.LST"),
             QByteArray("TOUS\r\nDUPONT\r\nMARTIN\r\n"));
}

void TestBackupFailures::unreadableListedFile()
{
    FakeBackupSources sources;
    const QString locked = sources.programDir + "verrou.txt";
    QFile file(locked);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("secret");
    file.close();
    sources.writeIni({"[ListeFichiers]", "1=LSTBENEF.LST", "2=verrou.txt"});
    QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));
    QTemporaryDir target;
    QString message;
    bool enforced = false;
    {
        const PermissionsEnforced dropped;
        enforced = !QFile(locked).open(QIODevice::ReadOnly);
        if (enforced)
            message = errorOf([&] { BackupCopy::run(sources.programDir, target.path(), sources); });
    }
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!enforced)
        QSKIP("permission bits are not enforced for this process");
    QCOMPARE(message,
             PlatformMessages::cannotReadFile(locked, PlatformMessages::readAccessDenied()));
    QCOMPARE(folderEntries(target.path()),
             QStringList({"ASSURE.DB", "LSTBENEF.LST", "MEDECINS.DB", "TALO.DB"}));
}

void TestBackupFailures::missingOrUnchosenTarget()
{
    FakeBackupSources sources;
    QTemporaryDir outer;
    const QString gone = outer.path() + "/disparu";
    QCOMPARE(errorOf([&] { BackupCopy::run(sources.programDir, gone, sources); }),
             PlatformMessages::folderMissing(gone + "/"));
    QCOMPARE(errorOf([&] { BackupCopy::run(sources.programDir, QString(), sources); }),
             BackupCopy::noFolderChosen());
    QVERIFY(sources.calls.isEmpty());
    QVERIFY(folderEntries(outer.path()).isEmpty());
}

void TestBackupFailures::readOnlyTargetLosesNothing()
{
    FakeBackupSources sources;
    QTemporaryDir target;
    QString message;
    {
        const ReadOnlyFolder readOnly(target.path());
        if (!readOnly.isReadOnly())
            QSKIP("the folder cannot be made read-only here");
        message = errorOf([&] { BackupCopy::run(sources.programDir, target.path(), sources); });
    }
    QCOMPARE(message,
             PlatformMessages::copyFailed(target.path() + "/TALO.DB",
                                          FileErrors::folderWriteProtected(target.path())));
    QVERIFY(folderEntries(target.path()).isEmpty());
    QCOMPARE(rowsOf(CareEntryTable::definition(), sources.programDir).size(), 3);
    QCOMPARE(sources.care.recordCount(), 3);
}

void TestBackupFailures::olderTableCopySurvivesFailedCopy()
{
    FakeBackupSources sources;
    QTemporaryDir target;
    const QString to = target.path() + "/";
    BackupCopy::run(sources.programDir, target.path(), sources);
    const QList<QStringList> older = rowsOf(CareEntryTable::definition(), to);

    // 200 notes of 300 characters: the new copy needs well over the 32 KiB allowed below.
    for (int i = 0; i < 200; ++i)
        sources.addCare(QDate(2025, 8, 1).addDays(i), "MARTIN", 100 + i, "Dr Dupuis",
                        QString(300, QLatin1Char('n')));
    QString message;
    {
        const FileSizeLimit full(32 * 1024);
        message = errorOf([&] { BackupCopy::run(sources.programDir, target.path(), sources); });
    }
    QVERIFY2(message.startsWith(QStringLiteral("Impossible de copier la table")),
             qPrintable(message));
    QCOMPARE(rowsOf(CareEntryTable::definition(), to), older);
    QCOMPARE(folderEntries(to).size(), 7);
}

void TestBackupFailures::olderListedFileSurvivesFailedCopy()
{
    FakeBackupSources sources;
    QByteArray oldBytes(300 * 1024, 'a');
    for (int i = 0; i < oldBytes.size(); i += 97)
        oldBytes[i] = char(i % 251);
    QFile big(sources.programDir + "gros.bin");
    QVERIFY(big.open(QIODevice::WriteOnly));
    big.write(oldBytes);
    big.close();
    sources.writeIni(
        {"[ListeFichiers]", "1=LSTBENEF.LST", "2=talosoc.inf", "3=mutuelle.inf", "4=gros.bin"});
    QTemporaryDir target;
    const QString to = target.path() + "/";
    BackupCopy::run(sources.programDir, target.path(), sources);
    QCOMPARE(FileBytes::of(to + "gros.bin"), oldBytes);

    QVERIFY(big.open(QIODevice::WriteOnly));
    big.write(QByteArray(300 * 1024, 'b'));
    big.close();
    QString message;
    {
        const FileSizeLimit full(100 * 1024);
        message = errorOf([&] { BackupCopy::run(sources.programDir, target.path(), sources); });
    }
    QCOMPARE(message, PlatformMessages::cannotWriteFile(to + "gros.bin",
                                                        PlatformMessages::writeFailed() + " " +
                                                            PlatformMessages::oldFileKept()));
    QCOMPARE(FileBytes::of(to + "gros.bin"), oldBytes);
    QCOMPARE(folderEntries(to).size(), 7);
}

// A file small enough to sit in a buffer until the end of the copy.
void TestBackupFailures::smallListedFileOnFullDisk_data()
{
    QTest::addColumn<bool>("tmpfs");
    QTest::newRow("write fails past 8 bytes") << false;
    QTest::newRow("small tmpfs") << true;
}

void TestBackupFailures::smallListedFileOnFullDisk()
{
    QFETCH(bool, tmpfs);
    QTemporaryDir source, plain;
    std::unique_ptr<SmallFileSystem> disk;
    if (tmpfs) {
        disk = std::make_unique<SmallFileSystem>(256);
        if (!disk->skipReason().isEmpty())
            QSKIP(qPrintable(disk->skipReason()));
    }
    const QString to = (tmpfs ? disk->path() : plain.path()) + "/talo.ini";
    const QByteArray older = "[ListeFichiers]\r\n1=LSTBENEF.LST\r\n";
    FileBytes::put(to, older);
    FileBytes::put(source.filePath("talo.ini"), older + "2=talosoc.inf\r\n");
    QString message;
    if (tmpfs) {
        disk->fill();
        message = errorOf([&] { FileCopy::copy(source.filePath("talo.ini"), to); });
        disk->free();
    } else {
        const FileSizeLimit limit(8);
        message = errorOf([&] { FileCopy::copy(source.filePath("talo.ini"), to); });
    }
    QCOMPARE(message, PlatformMessages::cannotWriteFile(to, PlatformMessages::writeFailed() + " " +
                                                                PlatformMessages::oldFileKept()));
    QCOMPARE(FileBytes::of(to), older);
}

// A real disk that is full when the second backup starts: the first one stays whole.
void TestBackupFailures::fullDiskKeepsTheOlderBackup()
{
    SmallFileSystem disk(512);
    if (!disk.skipReason().isEmpty())
        QSKIP(qPrintable(disk.skipReason()));
    FakeBackupSources sources;
    QCOMPARE(BackupCopy::run(sources.programDir, disk.path(), sources),
             BackupCopy::Outcome::Copied);
    QMap<QString, QByteArray> older;
    for (const QString &name : folderEntries(disk.path()))
        older.insert(name, FileBytes::of(disk.filePath(name)));

    sources.addCare(QDate(2025, 7, 1), "MARTIN", 990, "Dr Dupuis", QString());
    disk.fill();
    const QString message =
        errorOf([&] { BackupCopy::run(sources.programDir, disk.path(), sources); });
    disk.free();
    QVERIFY2(message.startsWith(PlatformMessages::copyFailed(disk.filePath("TALO.DB"), QString())),
             qPrintable(message));
    for (auto it = older.cbegin(); it != older.cend(); ++it)
        QCOMPARE(FileBytes::of(disk.filePath(it.key())), it.value());
    QCOMPARE(folderEntries(disk.path()), QStringList(older.keys()));
}

void TestBackupFailures::cancelledBackupLeavesTheFolderAsItWas_data()
{
    QTest::addColumn<bool>("olderBackup");
    QTest::newRow("over an older backup") << true;
    QTest::newRow("into an empty folder") << false;
}

// Stopped at each report in turn until the backup runs to its end: the folder is exactly as
// it was, the older backup's files and their bytes put back, no new or hidden file left.
void TestBackupFailures::cancelledBackupLeavesTheFolderAsItWas()
{
    QFETCH(bool, olderBackup);
    FakeBackupSources sources;
    QTemporaryDir target;
    if (olderBackup) {
        BackupCopy::run(sources.programDir, target.path(), sources);
        // A stale log beside the older table copy is older backup too.
        FileBytes::put(target.filePath("TALO.DB-journal"), "");
        sources.addCare(QDate(2025, 7, 1), "MARTIN", 990, "Dr Dupuis", QString());
    }
    const FolderSnapshot::Files before = FolderSnapshot::of(target.path());
    for (int stopAt = 1;; ++stopAt) {
        QVERIFY2(stopAt < 500, "the backup never ends");
        int reports = 0;
        bool withdrawn = false;
        const BackupCopy::CopyProgress progress{[&](qint64 done, qint64 total) {
                                                    [&] { QVERIFY(done >= 0 && done <= total); }();
                                                    return ++reports != stopAt;
                                                },
                                                [&] { withdrawn = true; }};
        const auto outcome = BackupCopy::run(sources.programDir, target.path(), sources, &progress);
        if (outcome == BackupCopy::Outcome::Copied) {
            QVERIFY(withdrawn);
            QVERIFY(stopAt > 3);
            break;
        }
        QCOMPARE(outcome, BackupCopy::Outcome::Cancelled);
        QCOMPARE(FolderSnapshot::of(target.path()), before);
    }
    // Whole at last, and nothing kept aside any more.
    QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden).size(), 7);
}

QTEST_MAIN(TestBackupFailures)
#include "test_backup_failures.moc"
