// A conversion stopped after any of its steps (as a power cut would), a Paradox file that
// makes pxlib loop for ever, a table that cannot be read: the program directory is left with
// each table either as it was, offered again, or converted whole — never without it.
#include "ParadoxTableMaker.h"

#include "conversion/ConversionSteps.h"
#include "conversion/ParadoxConversion.h"
#include "conversion/ParadoxReadProcess.h"
#include "conversion/ParadoxReadService.h"
#include "platform/core/FileNames.h"
#include "platform/core/ParadoxSignature.h"
#include "platform/store/RowStore.h"
#include "platform/store/TableStorage.h"
#include "support/FileBytes.h"
#include "support/FolderSnapshot.h"
#include "tables/CareEntryTable.h"
#include "tables/DoctorTable.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using Files = QMap<QString, QByteArray>; // name → bytes

namespace
{
const QString ConvertArgument = QStringLiteral("--convertir");

std::vector<std::vector<QVariant>> careRows()
{
    QString memo;
    while (memo.size() < 300)
        memo += QStringLiteral("Séance de rééducation, reçu n° 12 ; ");
    std::vector<std::vector<QVariant>> rows;
    for (int i = 1; i <= 40; ++i)
        rows.push_back({QDate(2023, 1, 1).addDays(i), QStringLiteral("HÉLÈNE"), QVariant(),
                        QVariant(), QVariant(), 10.0 + i, i % 3 == 0 ? memo : QVariant()});
    return rows;
}

// A program directory holding TALO.DB (with its memo and index files) and MEDECINS.DB as
// Paradox tables; returns their files.
Files paradoxTables(const QDir &program)
{
    ParadoxTableMaker::write(program.filePath("TALO.DB"), program.filePath("TALO.MB"),
                             ParadoxTableMaker::careEntryFields(), careRows());
    FileBytes::put(program.filePath("TALO.PX"), "primary index");
    ParadoxTableMaker::write(program.filePath("MEDECINS.DB"), QString(),
                             ParadoxTableMaker::doctorFields(),
                             {{"DUPONT", "Anne"}, {"MARTIN", "Paul"}});
    Files files;
    for (const QString name : {"TALO.DB", "TALO.MB", "TALO.PX", "MEDECINS.DB"})
        files.insert(name, FileBytes::of(program.filePath(name)));
    return files;
}

int rowsOf(const TableDefinition &def, const QString &path)
{
    TableStorage storage(def, path);
    RowStore store(def);
    storage.loadAll(store);
    return int(store.slotCount());
}

// A data-file header whose chain of blocks loops on itself: pxlib follows it for ever while
// it opens the file.
QByteArray loopingHeader()
{
    QByteArray bytes(96, '\0');
    qToLittleEndian<quint16>(10, bytes.data() + 0x00);   // record size
    qToLittleEndian<quint16>(0x58, bytes.data() + 0x02); // header size
    bytes[0x05] = 1;                                     // blocks of 1 KiB
    qToLittleEndian<quint16>(1, bytes.data() + 0x0E);    // first block
    bytes[0x21] = 1;                                     // one field
    bytes[0x39] = 3;                                     // file version
    qToLittleEndian<quint16>(1, bytes.data() + 0x58);    // block 1 goes on to block 1
    return bytes;
}

QStringList hiddenFiles(const QString &folder)
{
    QStringList hidden = QDir(folder).entryList({".*"}, QDir::Files | QDir::Hidden);
    return hidden;
}

// Converts the program directory in a process of its own, stopped after `step` (0: never).
int convertInChild(const QString &programDir, int step)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TALO_CONVERSION_STOP_AFTER_STEP"), QString::number(step));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {ConvertArgument, programDir});
    if (!child.waitForFinished(120000) || child.exitStatus() != QProcess::NormalExit)
        return -1;
    return child.exitCode();
}
} // namespace

class TestConversionSafety : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stoppedAfterAnyStepLosesNothing_data();
    void stoppedAfterAnyStepLosesNothing();
    void cancelledAtAnyPointLeavesTheFilesAsTheyWere();
    void loopingFileIsRefusedInTime();
    void unreadableTableStaysInPlace();
    void failureIsTold_data();
    void failureIsTold();
};

void TestConversionSafety::stoppedAfterAnyStepLosesNothing_data()
{
    QTest::addColumn<bool>("leftByEarlierVersion");
    QTest::addColumn<int>("steps");
    // Per table: built aside, originals copied, put in place, companions removed.
    QTest::newRow("tables in the program directory") << false << 8;
    // An earlier version moved the originals first, then was killed: no TALO.DB, its
    // originals in the archive, a hidden half-written table beside.
    QTest::newRow("originals moved, table missing") << true << 2 + 4;
}

void TestConversionSafety::stoppedAfterAnyStepLosesNothing()
{
    QFETCH(bool, leftByEarlierVersion);
    QFETCH(int, steps);
    int lastStatus = ConversionSteps::StoppedStatus;
    int step = 1;
    for (; lastStatus == ConversionSteps::StoppedStatus; ++step) {
        QVERIFY2(step < 20, "the conversion never ends");
        QTemporaryDir dir;
        const QDir program(dir.path());
        const Files originals = paradoxTables(program);
        const QString archive = program.filePath("Tables Paradox");
        if (leftByEarlierVersion) {
            QVERIFY(program.mkdir("Tables Paradox"));
            for (const QString name : {"TALO.DB", "TALO.MB", "TALO.PX"})
                QVERIFY(QFile::rename(program.filePath(name), archive + "/" + name));
            FileBytes::put(program.filePath(".TALO.DB.a1B2c3.tmp"), QByteArray(4096, 'x'));
            FileBytes::put(program.filePath(".TALO.DB.a1B2c3.tmp-wal"), "log");
        }

        lastStatus = convertInChild(dir.path(), step);
        QVERIFY2(lastStatus == 0 || lastStatus == ConversionSteps::StoppedStatus,
                 qPrintable(QString::number(lastStatus)));

        // The next start: each table as it was (and offered again) or converted whole.
        ParadoxConversion::removeLeftovers(dir.path());
        const QStringList pending =
            ParadoxConversion::fileNames(ParadoxConversion::pending(dir.path()));
        const std::pair<QString, const TableDefinition *> tables[] = {
            {"TALO.DB", &CareEntryTable::definition()},
            {"MEDECINS.DB", &DoctorTable::definition()}};
        for (const auto &[name, def] : tables) {
            const QString file = program.filePath(name);
            const int expected = name == QLatin1String("TALO.DB") ? 40 : 2;
            if (pending.contains(name)) {
                // As it was, with its companions, where it was.
                const QString folder = QFile::exists(file) ? dir.path() : archive;
                for (auto it = originals.begin(); it != originals.end(); ++it) {
                    if (it.key().startsWith(QFileInfo(name).completeBaseName()))
                        QCOMPARE(FileBytes::of(folder + "/" + it.key()), it.value());
                }
            } else {
                QVERIFY2(!ParadoxSignature::matches(file), qPrintable(name));
                QCOMPARE(rowsOf(*def, file), expected);
                QCOMPARE(FileBytes::of(archive + "/" + name), originals[name]);
            }
        }
        QCOMPARE(hiddenFiles(dir.path()), QStringList());
        QCOMPARE(hiddenFiles(archive), QStringList());

        // Converting again finishes the work, whatever step it stopped at.
        if (!pending.isEmpty()) {
            const auto again =
                ParadoxConversion::run(dir.path(), ParadoxConversion::pending(dir.path()));
            QVERIFY2(again.complete(), qPrintable(again.summary()));
        }
        QVERIFY(ParadoxConversion::pending(dir.path()).empty());
        QCOMPARE(rowsOf(CareEntryTable::definition(), program.filePath("TALO.DB")), 40);
        QCOMPARE(rowsOf(DoctorTable::definition(), program.filePath("MEDECINS.DB")), 2);
        QCOMPARE(program.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"MEDECINS.DB", "Tables Paradox", "TALO.DB"}));
        for (auto it = originals.begin(); it != originals.end(); ++it)
            QCOMPARE(FileBytes::of(archive + "/" + it.key()), it.value());
        QCOMPARE(QDir(archive).count(), uint(originals.size()) + 2);
        // Health data: the archive is its owner's only.
        QCOMPARE(QFileInfo(archive).permissions() &
                     (QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther),
                 QFile::Permissions());
    }
    // Stopped after each step in turn, then left to the end.
    QCOMPARE(step - 1, steps + 1);
}

// Stopped by the person at each point where the conversion asks, in turn: the program
// directory is exactly as before, the table offered again and the reason told.
void TestConversionSafety::cancelledAtAnyPointLeavesTheFilesAsTheyWere()
{
    int asked = 0;
    for (int stopAt = 1; stopAt <= asked + 1; ++stopAt) {
        QTemporaryDir dir;
        const QDir program(dir.path());
        paradoxTables(program);
        QFile::remove(program.filePath("MEDECINS.DB"));
        const FolderSnapshot::Files before = FolderSnapshot::of(dir.path());
        int calls = 0;
        const auto result =
            ParadoxConversion::run(dir.path(), ParadoxConversion::pending(dir.path()), {},
                                   [&calls, stopAt] { return ++calls == stopAt; });
        if (calls < stopAt) {
            // Not stopped: every point has been tried.
            QVERIFY2(result.complete(), qPrintable(result.summary()));
            QVERIFY(asked >= 3);
            return;
        }
        asked = std::max(asked, calls);
        QVERIFY2(result.summary().startsWith("TALO.DB n'a pas été convertie. La conversion a été "
                                             "annulée. Ses fichiers sont restés tels quels"),
                 qPrintable(result.summary()));
        QCOMPARE(FolderSnapshot::of(dir.path()), before);
        QCOMPARE(program.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"TALO.DB", "TALO.MB", "TALO.PX"}));
    }
    QFAIL("the conversion never ended");
}

void TestConversionSafety::loopingFileIsRefusedInTime()
{
    QTemporaryDir dir;
    const QDir program(dir.path());
    paradoxTables(program);
    FileBytes::put(program.filePath("MEDECINS.DB"), loopingHeader());
    QVERIFY(ParadoxSignature::matches(program.filePath("MEDECINS.DB")));
    ParadoxReadProcess::setSilenceLimitMs(1500);
    const auto restore = qScopeGuard([] { ParadoxReadProcess::setSilenceLimitMs(30000); });
    int ticks = 0;

    const auto result = ParadoxConversion::run(dir.path(), ParadoxConversion::pending(dir.path()),
                                               [&ticks](const QString &, int permille) {
                                                   QVERIFY(permille >= 0 && permille <= 1000);
                                                   ++ticks;
                                               });

    QCOMPARE(int(result.tables.size()), 2);
    QCOMPARE(result.tables[0].converted, 40);
    QCOMPARE(result.tables[1].failure,
             "La table Paradox ne peut pas être lue : sa lecture ne progresse plus depuis 2 "
             "secondes ; le fichier est endommagé ou fait pour bloquer la lecture.");
    // The window stayed alive while nothing came.
    QVERIFY2(ticks > 10, qPrintable(QString::number(ticks)));
    QCOMPARE(FileBytes::of(program.filePath("MEDECINS.DB")), loopingHeader());
    QCOMPARE(ParadoxConversion::fileNames(ParadoxConversion::pending(dir.path())),
             QStringList{"MEDECINS.DB"});
    QVERIFY(!QFile::exists(program.filePath("Tables Paradox/MEDECINS.DB")));
}

void TestConversionSafety::unreadableTableStaysInPlace()
{
    QTemporaryDir dir;
    const QDir program(dir.path());
    const Files originals = paradoxTables(program);
    QFile::remove(program.filePath("MEDECINS.DB"));
    FileBytes::put(program.filePath("TALO.DB"), originals["TALO.DB"].left(2048 + 300));

    const auto result = ParadoxConversion::run(dir.path(), ParadoxConversion::pending(dir.path()));

    QVERIFY(!result.complete());
    QVERIFY(result.tables[0].failure.contains("tronqué"));
    // Nothing moved, nothing copied, no empty archive: the next start offers it again.
    QCOMPARE(program.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{"TALO.DB", "TALO.MB", "TALO.PX"}));
    QCOMPARE(FileBytes::of(program.filePath("TALO.MB")), originals["TALO.MB"]);
    QCOMPARE(ParadoxConversion::fileNames(ParadoxConversion::pending(dir.path())),
             QStringList{"TALO.DB"});
}

void TestConversionSafety::failureIsTold_data()
{
    QTest::addColumn<bool>("tableInTheWay");
    QTest::addColumn<QString>("start");
    QTest::newRow("write refused") << true
                                   << "TALO.DB n'a pas été convertie. La table %1 ne peut pas "
                                      "être écrite : un fichier %1 est apparu entre-temps ; il "
                                      "est laissé tel quel. Ses fichiers sont restés tels quels";
    QTest::newRow("read refused") << false
                                  << "TALO.DB n'a pas été convertie. La table Paradox ne peut "
                                     "pas être lue : son en-tête est endommagé. Ses fichiers";
}

void TestConversionSafety::failureIsTold()
{
    QFETCH(bool, tableInTheWay);
    QFETCH(QString, start);
    QTemporaryDir dir;
    const QString paradox = dir.filePath("paradox.db");
    const QString destination = dir.filePath("TALO.DB");
    ParadoxTableMaker::write(paradox, QString(), ParadoxTableMaker::careEntryFields(), {});
    if (tableInTheWay)
        TableStorage::createFile(destination, CareEntryTable::definition());
    else
        FileBytes::put(paradox, "not a table");
    ParadoxConversion::Result result;
    result.tables.push_back(ParadoxConversion::convertTable(CareEntryTable::definition(), paradox,
                                                            QString(), destination));
    const QString summary = result.summary();
    QVERIFY2(summary.startsWith(QString(start).replace("%1", destination)), qPrintable(summary));
    QVERIFY(!result.complete());
}

int main(int argc, char *argv[])
{
    if (const std::optional<int> status = ParadoxReadService::serveIfAsked(argc, argv))
        return *status;
    QCoreApplication app(argc, argv);
    if (argc == 3 && QString::fromLocal8Bit(argv[1]) == ConvertArgument) {
        const QString dir = QFile::decodeName(argv[2]);
        ConversionSteps::setStopAfterForTesting(
            qEnvironmentVariableIntValue("TALO_CONVERSION_STOP_AFTER_STEP"));
        ParadoxConversion::run(dir, ParadoxConversion::pending(dir));
        return 0;
    }
    TestConversionSafety test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_conversion_safety.moc"
