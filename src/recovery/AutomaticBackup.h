#pragma once

#include "BackupCopy.h"

#include <QDate>
#include <QStringList>

#include <functional>

class BackupSources;

// The copy made at every confirmed exit: the backup sequence into "Sauvegardes/AAAA-MM-JJ" of
// the program directory (a later exit the same day replaces that day's copy as a whole, once
// the new one is complete), then only the `kept` copies made last are kept. Which copy is
// newer is told by the rank each copy records when it is made (AutomaticCopyRecord), never by
// its name alone: a clock set back must not make the copy just made look like the oldest.
namespace AutomaticBackup
{

inline constexpr int kept = 10;

inline QString folderName()
{
    return QStringLiteral("Sauvegardes");
}
QString dayFolder(const QString &programDir, const QDate &day);

// The automatic copies there are (folders named after a valid date only), as the restore
// window offers them: the copy made last first, except that copies dated after today (made
// while the clock was ahead) come after the others, so that none is offered first for good.
QStringList copies(const QString &programDir);
QStringList copies(const QString &programDir, const QDate &today);
// The same copies, the one made last first, whatever their dates.
QStringList copiesByMaking(const QString &programDir);
// The day of the latest-dated copy when it is after `day` (the clock set back since); null
// otherwise.
QDate copyDatedAfter(const QString &programDir, const QDate &day);

// Runs the copy for `day`, then removes the copies made earliest beyond `kept`; the copy just
// made is never one of them. Throws PlatformError with the French reason; the copies of other
// days are never touched then. `progress` is told how far the copy is, as BackupCopy::run
// tells it.
void run(const QString &programDir, const QDate &day, BackupSources &sources,
         const BackupCopy::CopyProgress *progress = nullptr);

// Puts right what an exit cut short (power cut, kill) left in the copies' folder: a day's copy
// moved aside goes back in place unless the new one is there, half-built and half-removed
// copies go. Run at start and before every copy; nothing is reported.
void repair(const QString &programDir);

// The points of run() at which tests stop it, as a power cut would.
enum class Step {
    BuildFolderMade,
    ContentsCopied,
    RecordWritten,
    OldCopyMovedAside,
    NewCopyInPlace,
    OldCopyRemoved,
    CopyMovedToRemove,
    CopyRemoved,
};
void setStepHookForTesting(std::function<void(Step)> hook);

} // namespace AutomaticBackup
