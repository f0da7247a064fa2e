#pragma once

#include <QDateTime>
#include <QStringList>

// Puts checked copies in place of the program directory's files, all or nothing: the current
// files of those names (and the tables' -wal, -shm and -journal companions, which belong to the
// current tables only) are first moved into a new "Avant restauration AAAA-MM-JJ HHhMM" folder
// of the program directory, then the copies are moved in. Every step is a rename within one
// file system; a failed step undoes the ones before it. Run with every table closed.
namespace RestoreSwap
{

// Returns the folder holding the replaced files. Throws PlatformError with the French
// reason, the program directory then as it was.
QString run(const QString &programDir, const QString &stagingFolder, const QStringList &names,
            const QStringList &tableNames, const QDateTime &now);
QString asideFolderName(const QDateTime &now);
inline QStringList companionSuffixes()
{
    return {"-wal", "-shm", "-journal"};
}
} // namespace RestoreSwap
