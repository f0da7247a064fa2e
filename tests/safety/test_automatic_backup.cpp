#include "FakeBackupSources.h"
#include "FolderContents.h"

#include "platform/core/PlatformError.h"
#include "recovery/AutomaticBackup.h"

#include <QTest>

class TestAutomaticBackup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newestTenKept();
    void laterExitSameDayReplacesTheCopy();
    void failedCopyLeavesTheEarlierOneWhole();
};

void TestAutomaticBackup::newestTenKept()
{
    FakeBackupSources src;
    const QDir root(src.programDir + "Sauvegardes");
    for (int day = 1; day <= 11; ++day)
        QVERIFY(root.mkpath(QDate(2024, 1, day).toString("yyyy-MM-dd")));
    // Folders the family made there themselves are not copies.
    QVERIFY(root.mkpath("notes"));
    QVERIFY(root.mkpath("2024-13-01"));

    AutomaticBackup::run(src.programDir, QDate(2024, 2, 1), src);
    QStringList expected{src.programDir + "Sauvegardes/2024-02-01"};
    for (int day = 11; day >= 3; --day)
        expected.append(root.filePath(QDate(2024, 1, day).toString("yyyy-MM-dd")));
    QCOMPARE(AutomaticBackup::copies(src.programDir), expected);
    QVERIFY(root.exists("notes") && root.exists("2024-13-01"));
    QCOMPARE(folderEntries(expected.first()),
             QStringList({"ASSURE.DB", "LSTBENEF.LST", "MEDECINS.DB", "TALO.DB", "mutuelle.inf",
                          "talo.ini", "talosoc.inf"}));
    QCOMPARE(QFile::permissions(expected.first()) &
                 (QFileDevice::ReadOther | QFileDevice::ReadGroup),
             QFileDevice::Permissions());
}

void TestAutomaticBackup::laterExitSameDayReplacesTheCopy()
{
    FakeBackupSources src;
    AutomaticBackup::run(src.programDir, QDate(2024, 2, 1), src);
    src.addCare(QDate(2024, 2, 1), "MARTIN", 900, "Dr Blanc", QString());
    AutomaticBackup::run(src.programDir, QDate(2024, 2, 1), src);
    QCOMPARE(AutomaticBackup::copies(src.programDir).size(), 1);
    Table copy(CareEntryTable::definition());
    copy.setDatabaseName(AutomaticBackup::dayFolder(src.programDir, QDate(2024, 2, 1)));
    copy.open();
    QCOMPARE(copy.recordCount(), 4);
}

void TestAutomaticBackup::failedCopyLeavesTheEarlierOneWhole()
{
    FakeBackupSources src;
    const QDate day(2024, 2, 1);
    AutomaticBackup::run(src.programDir, day, src);
    const QStringList before = folderEntries(AutomaticBackup::dayFolder(src.programDir, day));
    // The tables copy, then a listed file is missing: the copy stops halfway.
    src.addCare(day, "MARTIN", 900, "Dr Blanc", QString());
    src.writeIni({"[ListeFichiers]", "1=LSTBENEF.LST", "2=talosoc.inf", "3=mutuelle.inf",
                  "4=absent.txt"});
    QVERIFY_THROWS_EXCEPTION(PlatformError, AutomaticBackup::run(src.programDir, day, src));

    QCOMPARE(folderEntries(AutomaticBackup::dayFolder(src.programDir, day)), before);
    Table copy(CareEntryTable::definition());
    copy.setDatabaseName(AutomaticBackup::dayFolder(src.programDir, day));
    copy.open();
    QCOMPARE(copy.recordCount(), 3);
    QCOMPARE(QDir(src.programDir + "Sauvegardes")
                 .entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList({"2024-02-01"}));
}

QTEST_MAIN(TestAutomaticBackup)
#include "test_automatic_backup.moc"
