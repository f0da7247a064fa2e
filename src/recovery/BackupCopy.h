#pragma once

#include <QString>

class BackupSources;

// The backup copy without its window: the side files refreshed, the register view reset, the
// three tables copied with their keys and the files listed in talo.ini copied byte for byte
// into the target folder. Every destination file is written aside and renamed into place, so
// a backup that fails part-way never destroys the copy left by an earlier one.
namespace BackupCopy
{

enum class Outcome { Copied, RefusedProgramDirectory };

// Files copied beside the tables: keys "1" to "4" of this section of talo.ini.
inline constexpr int listedFileCount = 4;

// The folder shown, as the target: a path already ending in "/" (a volume root) unchanged,
// any other with "/" appended.
QString targetFolder(const QString &folderShown);

// Whether two paths name the same folder: the same place on disk (symbolic links, trailing
// separators and, on a medium that ignores it, letter case do not matter), or the same
// path once links are resolved. "P2" beside "p2" is another folder.
bool sameFolder(const QString &a, const QString &b);

// Runs the whole backup into the folder shown. A target that is the program directory is
// refused before anything is written. Any failure throws PlatformError with the French
// message of the step that failed; the steps done before it stay done. `proofsFrom`: an
// earlier copy whose stored proofs may be shared (hard links) rather than copied again.
Outcome run(const QString &programDir, const QString &folderShown, BackupSources &sources,
            const QString &proofsFrom = QString());

QString programDirectoryWarning();
QString noFolderChosen();
QString listedFileEmpty(const QString &iniPath, int key);
QString listedFileNotBare(const QString &iniPath, int key, const QString &name);

void copyTables(const QString &target, BackupSources &sources);
void copyListedFiles(const QString &programDir, const QString &target);
// Every stored proof of "Pièces/" into the target's, then every proof the target's TALO.DB
// links checked there (present, size, SHA-256). A file the target already holds whole, or an
// earlier copy in `proofsFrom` holds (then shared by a hard link: stored proofs never change),
// is not copied again. Returns the number of links.
int copyProofs(const QString &programDir, const QString &target,
               const QString &proofsFrom = QString());
QString proofsNotSound(const QString &reason);

} // namespace BackupCopy
