#include "support/FileBytes.h"
#include "support/FolderSnapshot.h"
#include "support/ThrownMessage.h"

#include "recovery/RestoreJournal.h"
#include "recovery/RestoreSwap.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

#include <map>

namespace
{

using Files = FolderSnapshot::Files;

// The proofs' folder is swapped whole, as one more name.
const QString proofs = QStringLiteral("Pièces");
const QStringList names{"TALO.DB",     "MEDECINS.DB",  "ASSURE.DB", "LSTBENEF.LST",
                        "talosoc.inf", "mutuelle.inf", "talo.ini",  proofs};

// A name's content: a file, or for the proofs' folder the one file it holds.
QString contentPath(const QString &name)
{
    return name == proofs ? name + QStringLiteral("/piece.pdf") : name;
}
const QStringList tables{"TALO.DB", "MEDECINS.DB", "ASSURE.DB"};
const QDateTime restoredAt(QDate(2025, 7, 1), QTime(9, 5));

// Stands for the power cut: nothing of the swap runs after it, no undo.
struct PowerCut {
};

// A program directory whose files say "old", with the care table's log, and a staging folder
// of checked copies that say "new".
struct SwapRig {
    SwapRig()
    {
        programDir = dir.path() + QStringLiteral("/");
        staging = programDir + QStringLiteral(".Restauration-Ab12Cd");
        QDir().mkdir(staging);
        QDir().mkdir(programDir + proofs);
        QDir().mkdir(staging + "/" + proofs);
        for (const QString &name : names) {
            FileBytes::put(programDir + contentPath(name), "old " + name.toUtf8());
            FileBytes::put(staging + "/" + contentPath(name), "new " + name.toUtf8());
        }
        FileBytes::put(programDir + "TALO.DB-wal", "old log");
        // Not one of the restored names: never moved.
        FileBytes::put(programDir + "Talo.hlp", "help");
    }
    QString run(const RestoreSwap::StepHook &hook)
    {
        return RestoreSwap::run(programDir, staging, names, tables, restoredAt, hook);
    }
    // The program directory's own files and its proofs (not its other folders).
    Files top() const
    {
        Files files;
        for (const QString &name :
             QDir(programDir).entryList(QDir::Files | QDir::Hidden | QDir::System))
            files[name] = FileBytes::of(programDir + name);
        for (const QString &name : QDir(programDir + proofs).entryList(QDir::Files))
            files[proofs + "/" + name] = FileBytes::of(programDir + proofs + "/" + name);
        return files;
    }
    Files oldFiles() const
    {
        Files files{{"TALO.DB-wal", "old log"}, {"Talo.hlp", "help"}};
        for (const QString &name : names)
            files[contentPath(name)] = "old " + name.toUtf8();
        return files;
    }
    Files newFiles() const
    {
        Files files{{"Talo.hlp", "help"}};
        for (const QString &name : names)
            files[contentPath(name)] = "new " + name.toUtf8();
        return files;
    }
    QStringList asideFolders() const
    {
        return QDir(programDir).entryList({"Avant restauration*"}, QDir::Dirs);
    }

    QTemporaryDir dir;
    QString programDir;
    QString staging;
};

int stepCount()
{
    SwapRig rig;
    int steps = 0;
    rig.run([&](int step) { steps = step; });
    return steps;
}

} // namespace

class TestRestoreSwap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void completeSwapLeavesNoJournal();
    void everyStopIsFinishedWhole_data();
    void everyStopIsFinishedWhole();
    void stopWithACopyGoneIsUndoneWhole_data();
    void stopWithACopyGoneIsUndoneWhole();
    void journalThatLeadsElsewhereIsRefused_data();
    void journalThatLeadsElsewhereIsRefused();
    void neitherFinishNorUndoKeepsTheJournal();
    void asideFoldersNewestFirst();
};

void TestRestoreSwap::completeSwapLeavesNoJournal()
{
    SwapRig rig;
    const QString aside = rig.run({});
    QVERIFY(rig.top() == rig.newFiles());
    QCOMPARE(QFileInfo(aside).fileName(), QString("Avant restauration 2025-07-01 09h05"));
    Files expected = rig.oldFiles();
    expected.erase("Talo.hlp");
    QVERIFY(FolderSnapshot::of(aside) == expected);
    QCOMPARE(RestoreSwap::recover(rig.programDir).outcome, RestoreSwap::Recovery::Outcome::Nothing);
    QVERIFY(rig.top() == rig.newFiles());
}

void TestRestoreSwap::everyStopIsFinishedWhole_data()
{
    QTest::addColumn<int>("stopAfter");
    const int steps = stepCount();
    // The journal, the aside folder, 9 files or folders out, 8 copies in, the journal removed.
    QCOMPARE(steps, 1 + 1 + 9 + 8 + 1);
    for (int n = 1; n <= steps; ++n)
        QTest::addRow("after step %d", n) << n;
}

void TestRestoreSwap::everyStopIsFinishedWhole()
{
    QFETCH(int, stopAfter);
    SwapRig rig;
    QVERIFY_THROWS_EXCEPTION(PowerCut, rig.run([&](int step) {
        if (step == stopAfter)
            throw PowerCut();
    }));
    const bool swapDone = stopAfter == stepCount();
    QCOMPARE(QFileInfo::exists(RestoreJournal::path(rig.programDir)), !swapDone);

    // The next start, before any table is opened.
    const RestoreSwap::Recovery recovery = RestoreSwap::recover(rig.programDir);
    QCOMPARE(recovery.outcome, swapDone ? RestoreSwap::Recovery::Outcome::Nothing
                                        : RestoreSwap::Recovery::Outcome::Finished);
    QVERIFY(rig.top() == rig.newFiles());
    QCOMPARE(rig.asideFolders(), QStringList{"Avant restauration 2025-07-01 09h05"});
    Files expected = rig.oldFiles();
    expected.erase("Talo.hlp");
    QVERIFY(FolderSnapshot::of(rig.programDir + rig.asideFolders().first()) == expected);
    if (!swapDone) {
        QVERIFY(!QFileInfo::exists(rig.staging));
        QVERIFY2(RestoreSwap::recoveryMessage(recovery).contains(
                     "« Avant restauration 2025-07-01 09h05 »"),
                 qPrintable(RestoreSwap::recoveryMessage(recovery)));
    }
    // A second start finds nothing left to do.
    QCOMPARE(RestoreSwap::recover(rig.programDir).outcome, RestoreSwap::Recovery::Outcome::Nothing);
}

void TestRestoreSwap::stopWithACopyGoneIsUndoneWhole_data()
{
    QTest::addColumn<int>("stopAfter");
    // Stops before any copy came in, and after some did.
    for (int n : {1, 2, 5, 10, 11, 14})
        QTest::addRow("after step %d", n) << n;
}

void TestRestoreSwap::stopWithACopyGoneIsUndoneWhole()
{
    QFETCH(int, stopAfter);
    SwapRig rig;
    QVERIFY_THROWS_EXCEPTION(PowerCut, rig.run([&](int step) {
        if (step == stopAfter)
            throw PowerCut();
    }));
    // The last copy cannot be finished with: the swap is undone instead.
    QVERIFY(QFile::remove(rig.staging + "/talo.ini"));
    const RestoreSwap::Recovery recovery = RestoreSwap::recover(rig.programDir);
    QCOMPARE(recovery.outcome, RestoreSwap::Recovery::Outcome::Undone);
    QVERIFY(rig.top() == rig.oldFiles());
    QCOMPARE(rig.asideFolders(), QStringList());
    QVERIFY(RestoreSwap::recoveryMessage(recovery).contains("annulée"));
}

void TestRestoreSwap::journalThatLeadsElsewhereIsRefused_data()
{
    QTest::addColumn<QByteArray>("journal");
    const QByteArray head = "Talo 3.0 restauration 1\n";
    QTest::newRow("not ours") << QByteArray("garbage\n");
    QTest::newRow("unknown line") << head + "cote=Avant restauration x\ncopie=.Restauration-a\n"
                                            "efface=TALO.DB\n";
    QTest::newRow("file out of the folder")
        << head + "cote=Avant restauration x\ncopie=.Restauration-a\nsortie=../TALO.DB\n";
    QTest::newRow("aside folder elsewhere") << head + "cote=..\ncopie=.Restauration-a\n";
    QTest::newRow("staging is another folder")
        << head + "cote=Avant restauration x\ncopie=Sauvegardes\nentree=TALO.DB\n";
}

void TestRestoreSwap::journalThatLeadsElsewhereIsRefused()
{
    QFETCH(QByteArray, journal);
    SwapRig rig;
    QDir().mkdir(rig.programDir + "Sauvegardes");
    FileBytes::put(rig.programDir + "Sauvegardes/TALO.DB", "a copy");
    FileBytes::put(RestoreJournal::path(rig.programDir), journal);
    const Files before = FolderSnapshot::of(rig.programDir);
    const QString message = thrownMessage([&] { RestoreSwap::recover(rig.programDir); });
    QVERIFY2(message.contains("restauration en cours"), qPrintable(message));
    QVERIFY(FolderSnapshot::of(rig.programDir) == before);
}

void TestRestoreSwap::neitherFinishNorUndoKeepsTheJournal()
{
    SwapRig rig;
    QVERIFY_THROWS_EXCEPTION(PowerCut, rig.run([&](int step) {
        if (step == 12)
            throw PowerCut();
    }));
    // A copy gone, and a file put back by hand where the undo must go.
    QVERIFY(QFile::remove(rig.staging + "/talo.ini"));
    const QString aside = rig.programDir + rig.asideFolders().first();
    FileBytes::put(rig.staging + "/TALO.DB", "in the way");
    const QString message = thrownMessage([&] { RestoreSwap::recover(rig.programDir); });
    QVERIFY2(message.contains(QDir::toNativeSeparators(aside)), qPrintable(message));
    QVERIFY(QFileInfo::exists(RestoreJournal::path(rig.programDir)));
}

void TestRestoreSwap::asideFoldersNewestFirst()
{
    QTemporaryDir dir;
    for (const char *name :
         {"Avant restauration 2024-12-31 23h59", "Avant restauration 2025-07-01 09h05",
          "Avant restauration 2025-07-01 09h05 (2)", "Avant restauration 2025-07-01 09h05 (10)",
          "Avant restauration de rien", "Avant restauration 2025-13-01 09h05"})
        QVERIFY(QDir(dir.path()).mkdir(name));
    FileBytes::put(dir.path() + "/Avant restauration 2026-01-01 10h00", "a file");
    QVERIFY(QFile::link(dir.path() + "/Avant restauration 2024-12-31 23h59",
                        dir.path() + "/Avant restauration 2026-02-02 10h00"));
    QStringList names;
    for (const QString &path : RestoreSwap::asideFolders(dir.path() + "/"))
        names.append(QFileInfo(path).fileName());
    QCOMPARE(names, QStringList({"Avant restauration 2025-07-01 09h05 (10)",
                                 "Avant restauration 2025-07-01 09h05 (2)",
                                 "Avant restauration 2025-07-01 09h05",
                                 "Avant restauration 2024-12-31 23h59"}));
}

QTEST_GUILESS_MAIN(TestRestoreSwap)
#include "test_restore_swap.moc"
