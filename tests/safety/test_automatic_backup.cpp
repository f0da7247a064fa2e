#include "FakeBackupSources.h"
#include "FolderContents.h"

#include "platform/core/PlatformError.h"
#include "recovery/AutomaticBackup.h"
#include "recovery/AutomaticCopyRecord.h"

#include <QFileInfo>
#include <QMap>
#include <QTest>

namespace
{

// Thrown by the step hook: not a reported failure, so nothing is tidied up, as after a power
// cut.
struct Cut {
};

const QStringList copyFiles{".copie-automatique", "ASSURE.DB",  "LSTBENEF.LST",
                            "MEDECINS.DB",        "TALO.DB",    "mutuelle.inf",
                            "talo.ini",           "talosoc.inf"};

QString dayName(const QDate &day)
{
    return day.toString("yyyy-MM-dd");
}

QStringList names(const QStringList &paths)
{
    QStringList result;
    for (const QString &path : paths)
        result.append(QFileInfo(path).fileName());
    return result;
}

QStringList dayNames(const QDate &first, int count, int step = 1)
{
    QStringList result;
    for (int i = 0; i < count; ++i)
        result.append(dayName(first.addDays(i * step)));
    return result;
}

int careRows(const QString &folder)
{
    Table copy(CareEntryTable::definition());
    copy.setDatabaseName(folder);
    copy.open();
    return copy.recordCount();
}

// Every file of every copy folder, byte for byte, keyed "day/name".
QMap<QString, QByteArray> copiesContent(const QString &programDir)
{
    QMap<QString, QByteArray> content;
    for (const QString &copy : AutomaticBackup::copiesByMaking(programDir)) {
        for (const QString &name : folderEntries(copy))
            content.insert(QFileInfo(copy).fileName() + '/' + name,
                           FileBytes::of(QDir(copy).filePath(name)));
    }
    return content;
}

// `count` copies for the days from `first` on, as that many exits would have made them: the
// first one made by the copy itself, the others its files under later ranks (quicker).
void makeCopies(FakeBackupSources &src, const QDate &first, int count)
{
    AutomaticBackup::run(src.programDir, first, src);
    const QString model = AutomaticBackup::dayFolder(src.programDir, first);
    for (int i = 1; i < count; ++i) {
        const QString folder = AutomaticBackup::dayFolder(src.programDir, first.addDays(i));
        QVERIFY(QDir().mkpath(folder));
        for (const QString &name : folderEntries(model))
            QVERIFY(QFile::copy(QDir(model).filePath(name), QDir(folder).filePath(name)));
        AutomaticCopyRecord::write(folder, i + 1, QDateTime(first.addDays(i), QTime(18, 0)));
    }
}

QStringList hiddenLeftovers(const QString &programDir)
{
    return QDir(programDir + "Sauvegardes")
        .entryList({".*"}, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TestAutomaticBackup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { AutomaticBackup::setStepHookForTesting({}); }
    void newestTenKept();
    void laterExitSameDayReplacesTheCopy();
    void failedCopyLeavesTheEarlierOneWhole();
    void clockSetBackKeepsTheCopyJustMade_data();
    void clockSetBackKeepsTheCopyJustMade();
    void copyDatedAheadIsNotFirstForGood();
    void dayCopyLeftAsideIsPutBack_data();
    void dayCopyLeftAsideIsPutBack();
    void cutAtEveryStep_data();
    void cutAtEveryStep();
    void recordReadBack_data();
    void recordReadBack();
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
    QCOMPARE(folderEntries(expected.first()), copyFiles);
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
    src.writeIni(
        {"[ListeFichiers]", "1=LSTBENEF.LST", "2=talosoc.inf", "3=mutuelle.inf", "4=absent.txt"});
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

void TestAutomaticBackup::clockSetBackKeepsTheCopyJustMade_data()
{
    QTest::addColumn<bool>("ranked");
    QTest::newRow("copies made by earlier exits") << true;
    QTest::newRow("copies made before copies were ranked") << false;
}

void TestAutomaticBackup::clockSetBackKeepsTheCopyJustMade()
{
    QFETCH(bool, ranked);
    FakeBackupSources src;
    const QDate november(2026, 11, 3);
    if (ranked)
        makeCopies(src, november, AutomaticBackup::kept);
    else
        for (int i = 0; i < AutomaticBackup::kept; ++i)
            QVERIFY(QDir(src.programDir).mkpath("Sauvegardes/" + dayName(november.addDays(i))));
    QCOMPARE(AutomaticBackup::copyDatedAfter(src.programDir, QDate(2026, 10, 15)),
             QDate(2026, 11, 12));
    QCOMPARE(AutomaticBackup::copyDatedAfter(src.programDir, QDate(2026, 11, 12)), QDate());

    // The clock now says 15 October: the copy made then is the newest, the earliest made goes.
    src.addCare(QDate(2026, 10, 15), "MARTIN", 900, "Dr Blanc", QString());
    AutomaticBackup::run(src.programDir, QDate(2026, 10, 15), src);
    QStringList expected{"2026-10-15"};
    expected += dayNames(QDate(2026, 11, 12), 9, -1);
    QCOMPARE(names(AutomaticBackup::copiesByMaking(src.programDir)), expected);
    QCOMPARE(names(AutomaticBackup::copies(src.programDir, QDate(2026, 10, 15))), expected);
    QCOMPARE(careRows(AutomaticBackup::dayFolder(src.programDir, QDate(2026, 10, 15))), 4);

    AutomaticBackup::run(src.programDir, QDate(2026, 10, 16), src);
    expected = QStringList{"2026-10-16", "2026-10-15"} + dayNames(QDate(2026, 11, 12), 8, -1);
    QCOMPARE(names(AutomaticBackup::copiesByMaking(src.programDir)), expected);
}

void TestAutomaticBackup::copyDatedAheadIsNotFirstForGood()
{
    FakeBackupSources src;
    const QDate october(2026, 10, 1);
    makeCopies(src, october, 5);
    // One exit while the clock had jumped ahead.
    AutomaticBackup::run(src.programDir, QDate(2027, 5, 1), src);

    // Back to the right date: not offered first, though made last.
    const QDate today(2026, 10, 6);
    QCOMPARE(names(AutomaticBackup::copies(src.programDir, today)),
             dayNames(QDate(2026, 10, 5), 5, -1) + QStringList{"2027-05-01"});
    QCOMPARE(AutomaticBackup::copyDatedAfter(src.programDir, today), QDate(2027, 5, 1));

    // The copies made afterwards rank before it, and in time it is the one removed.
    AutomaticBackup::run(src.programDir, today, src);
    QCOMPARE(names(AutomaticBackup::copiesByMaking(src.programDir)).mid(0, 2),
             QStringList({"2026-10-06", "2027-05-01"}));
    for (int i = 1; i <= 9; ++i)
        AutomaticBackup::run(src.programDir, today.addDays(i), src);
    QCOMPARE(names(AutomaticBackup::copiesByMaking(src.programDir)),
             dayNames(QDate(2026, 10, 15), 10, -1));
}

void TestAutomaticBackup::dayCopyLeftAsideIsPutBack_data()
{
    QTest::addColumn<bool>("atStart");
    QTest::newRow("next start") << true;
    QTest::newRow("next exit") << false;
}

// An exit cut between the two renames of the day's copy: the earlier copy of that day is
// only under its hidden name, and the new one half-built or whole beside it.
void TestAutomaticBackup::dayCopyLeftAsideIsPutBack()
{
    QFETCH(bool, atStart);
    FakeBackupSources src;
    const QDate day(2024, 2, 1);
    AutomaticBackup::run(src.programDir, day, src);
    const QMap<QString, QByteArray> before = copiesContent(src.programDir);
    QDir root(src.programDir + "Sauvegardes");
    QVERIFY(root.rename("2024-02-01", ".2024-02-01.ancienne"));
    QVERIFY(root.mkpath(".2024-02-01.en-cours"));
    FileBytes::put(root.filePath(".2024-02-01.en-cours/TALO.DB"), "half");

    if (atStart)
        AutomaticBackup::repair(src.programDir);
    else
        AutomaticBackup::run(src.programDir, day.addDays(1), src);

    QCOMPARE(hiddenLeftovers(src.programDir), QStringList());
    QMap<QString, QByteArray> now = copiesContent(src.programDir);
    for (auto it = before.begin(); it != before.end(); ++it)
        QCOMPARE(now.value(it.key()), it.value());
    const QStringList offered =
        atStart ? QStringList{"2024-02-01"} : QStringList{"2024-02-02", "2024-02-01"};
    QCOMPARE(names(AutomaticBackup::copies(src.programDir, day.addDays(1))), offered);
}

void TestAutomaticBackup::cutAtEveryStep_data()
{
    using Step = AutomaticBackup::Step;
    QTest::addColumn<Step>("step");
    QTest::addColumn<bool>("sameDay");
    QTest::newRow("build folder made") << Step::BuildFolderMade << true;
    QTest::newRow("contents copied") << Step::ContentsCopied << true;
    QTest::newRow("record written") << Step::RecordWritten << true;
    QTest::newRow("old copy moved aside") << Step::OldCopyMovedAside << true;
    QTest::newRow("new copy in place") << Step::NewCopyInPlace << true;
    QTest::newRow("old copy removed") << Step::OldCopyRemoved << true;
    QTest::newRow("new day, record written") << Step::RecordWritten << false;
    QTest::newRow("new day, new copy in place") << Step::NewCopyInPlace << false;
    QTest::newRow("earliest copy moved to remove") << Step::CopyMovedToRemove << false;
    QTest::newRow("earliest copy removed") << Step::CopyRemoved << false;
}

void TestAutomaticBackup::cutAtEveryStep()
{
    QFETCH(AutomaticBackup::Step, step);
    QFETCH(bool, sameDay);
    FakeBackupSources src;
    // A full set of copies where the cut comes while the earliest is removed, two otherwise.
    const int earlier = sameDay ? 2 : AutomaticBackup::kept;
    const QDate first(2024, 1, 23);
    makeCopies(src, first, earlier);
    const QDate day = first.addDays(sameDay ? earlier - 1 : earlier);
    const QMap<QString, QByteArray> before = copiesContent(src.programDir);

    src.addCare(day, "MARTIN", 900, "Dr Blanc", QString());
    AutomaticBackup::setStepHookForTesting([step](AutomaticBackup::Step reached) {
        if (reached == step)
            throw Cut();
    });
    QVERIFY_THROWS_EXCEPTION(Cut, AutomaticBackup::run(src.programDir, day, src));
    AutomaticBackup::setStepHookForTesting({});

    // Whatever the copies' folder offers is whole: an earlier copy as it was, or the new one.
    const auto checkOffered = [&] {
        const QMap<QString, QByteArray> now = copiesContent(src.programDir);
        for (const QString &copy : AutomaticBackup::copiesByMaking(src.programDir)) {
            const QString name = QFileInfo(copy).fileName();
            QCOMPARE(folderEntries(copy), copyFiles);
            const QString record = name + '/' + copyFiles.first();
            if (name == dayName(day) && now.value(record) != before.value(record)) {
                QCOMPARE(careRows(copy), 4); // the new copy, whole
                continue;
            }
            for (const QString &file : copyFiles)
                QCOMPARE(now.value(name + '/' + file), before.value(name + '/' + file));
        }
    };
    checkOffered();
    AutomaticBackup::repair(src.programDir);
    QCOMPARE(hiddenLeftovers(src.programDir), QStringList());
    checkOffered();
    QVERIFY(QFileInfo::exists(AutomaticBackup::dayFolder(src.programDir, day)) ||
            step < AutomaticBackup::Step::NewCopyInPlace);

    // The next exit makes the copy, and keeps as many as ever.
    AutomaticBackup::run(src.programDir, day, src);
    QCOMPARE(hiddenLeftovers(src.programDir), QStringList());
    QCOMPARE(AutomaticBackup::copiesByMaking(src.programDir).size(),
             sameDay ? earlier : AutomaticBackup::kept);
    QCOMPARE(AutomaticBackup::copiesByMaking(src.programDir).first(),
             AutomaticBackup::dayFolder(src.programDir, day));
    QCOMPARE(careRows(AutomaticBackup::dayFolder(src.programDir, day)), 4);
    checkOffered();
}

void TestAutomaticBackup::recordReadBack_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("rank"); // 0: none
    QTest::newRow("as written") << QByteArray("rang=12\r\nfaite=2026-10-15T18:00:00\r\n")
                                << qint64(12);
    QTest::newRow("line ends of another system") << QByteArray("faite=x\nrang=3") << qint64(3);
    QTest::newRow("not a number") << QByteArray("rang=douze\r\n") << qint64(0);
    QTest::newRow("not above zero") << QByteArray("rang=-4\r\n") << qint64(0);
    QTest::newRow("empty") << QByteArray() << qint64(0);
}

// A record edited or damaged by hand ranks its copy with those made before ranks existed.
void TestAutomaticBackup::recordReadBack()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, rank);
    QTemporaryDir dir;
    FileBytes::put(dir.filePath(AutomaticCopyRecord::fileName()), bytes);
    QCOMPARE(AutomaticCopyRecord::rank(dir.path()).value_or(0), rank);
}

QTEST_MAIN(TestAutomaticBackup)
#include "test_automatic_backup.moc"
