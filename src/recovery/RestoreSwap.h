#pragma once

#include <QDateTime>
#include <QStringList>

#include <functional>

// Puts checked copies in place of the program directory's files, all or nothing: the current
// files of those names (and the tables' -wal, -shm and -journal companions, which belong to the
// current tables only) are first moved into a new "Avant restauration AAAA-MM-JJ HHhMM" folder
// of the program directory, then the copies are moved in. Every step is a rename within one
// file system, synced; a failed step undoes the ones before it. A RestoreJournal written
// before the first rename and removed after the last lets the next start finish or undo a swap
// that a crash or a power cut stopped halfway (recover()). Run with every table closed.
namespace RestoreSwap
{

// Called after each step of run(), counted from 1: the journal written, the aside folder
// made, each rename, the journal removed. Tests stop the swap there as a crash would.
using StepHook = std::function<void(int step)>;
// The hook run() takes by default: none, unless a test set the process to end at once after
// step N (setStopAfterStepForTesting, N <= 0: never).
StepHook defaultHook();
void setStopAfterStepForTesting(int step);

// `stagingFolder` is a folder of the program directory. Returns the folder holding the
// replaced files. Throws PlatformError with the French reason, the program directory then
// as it was.
QString run(const QString &programDir, const QString &stagingFolder, const QStringList &names,
            const QStringList &tableNames, const QDateTime &now,
            const StepHook &afterStep = defaultHook());

struct Recovery {
    enum class Outcome { Nothing, Finished, Undone };
    Outcome outcome = Outcome::Nothing;
    QString asideFolder; // full path, when finished
};
// At start, before any table is opened: a swap left halfway is finished (every checked copy
// is still there) or else undone, whole. Throws PlatformError with the French reason, naming
// the folders that hold the files, when neither can be done; the journal is then kept.
Recovery recover(const QString &programDir);
// What the user is told of a recovery that did something.
QString recoveryMessage(const Recovery &recovery);

QString asideFolderName(const QDateTime &now);
// The "Avant restauration ..." folders of the program directory, newest first.
QStringList asideFolders(const QString &programDir);
inline QStringList companionSuffixes()
{
    return {"-wal", "-shm", "-journal"};
}
} // namespace RestoreSwap
