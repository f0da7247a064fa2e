#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class BackupSources;
class TableDefinition;

// The backup copy without its window: the side files refreshed, the register view reset, the
// three tables copied with their keys and the files listed in talo.ini copied byte for byte
// into the target folder. Every destination file is written aside and renamed into place, so
// a backup that fails part-way never destroys the copy left by an earlier one.
namespace BackupCopy
{

enum class Outcome { Copied, RefusedProgramDirectory, Cancelled };

// How far a backup is, in bytes, for the window that shows it. `report` is called from the
// thread that runs the copy, often (also while a table is being copied), and returns false
// once the person has asked to stop. `withdrawCancel` is called when stopping would lose
// something (the earlier backup's files cannot be kept aside): the copy then goes to its end.
struct CopyProgress {
    std::function<bool(qint64 done, qint64 total)> report;
    std::function<void()> withdrawCancel;
};

// Files copied beside the tables: keys "1" to "4" of this section of talo.ini.
inline constexpr int listedFileCount = 4;

// A backup as the windows hand it over: every path and definition the copy needs, so that
// the copy itself touches no table component and may run on a worker thread.
struct Plan {
    struct TableFile {
        QString source;
        QString destination;
        const TableDefinition *definition = nullptr;
        QString keyFields;
    };
    QString programDir;
    QString target;
    QString proofsFrom;
    QList<TableFile> tables;
};

// The folder shown, as the target: a path already ending in "/" (a volume root) unchanged,
// any other with "/" appended.
QString targetFolder(const QString &folderShown);

// Whether two paths name the same folder: the same place on disk (symbolic links, trailing
// separators and, on a medium that ignores it, letter case do not matter), or the same
// path once links are resolved. "P2" beside "p2" is another folder.
bool sameFolder(const QString &a, const QString &b);

// Runs the whole backup into the folder shown: prepare(), then copy(). A target that is the
// program directory is refused before anything is written. Any failure throws PlatformError
// with the French message of the step that failed; the steps done before it stay done. With
// `progress`, a backup stopped by the person (Outcome::Cancelled) leaves the folder exactly as
// it was: the earlier backup's files are put back, no new file is left. `proofsFrom`: an
// earlier copy whose stored proofs may be shared (hard links) rather than copied again.
Outcome run(const QString &programDir, const QString &folderShown, BackupSources &sources,
            const CopyProgress *progress = nullptr, const QString &proofsFrom = QString());
// The part of run() that needs the windows, on their thread: the target checked, the side
// files written, the view reset, the tables' paths taken. Nothing when the target is the
// program directory.
std::optional<Plan> prepare(const QString &programDir, const QString &folderShown,
                            BackupSources &sources, const QString &proofsFrom = QString());
// The rest, on any thread: every table file copied through a read connection of its own (one
// moment of each file), then the listed files and the proofs.
Outcome copy(const Plan &plan, const CopyProgress *progress = nullptr);

QString programDirectoryWarning();
QString noFolderChosen();
QString listedFileEmpty(const QString &iniPath, int key);
QString listedFileNotBare(const QString &iniPath, int key, const QString &name);

void copyTables(const Plan &plan);
void copyListedFiles(const QString &programDir, const QString &target);
// Every stored proof of "Pièces/" into the target's, then every proof the target's TALO.DB
// links checked there (present, size, SHA-256). A file the target already holds whole, or an
// earlier copy in `proofsFrom` holds (then shared by a hard link: stored proofs never change),
// is not copied again. Returns the number of links.
int copyProofs(const QString &programDir, const QString &target,
               const QString &proofsFrom = QString());
QString proofsNotSound(const QString &reason);

} // namespace BackupCopy
