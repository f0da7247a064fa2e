#pragma once

#include <QDate>
#include <QStringList>

class BackupSources;

// The copy made at every confirmed exit: the backup sequence into "Sauvegardes/AAAA-MM-JJ" of
// the program directory (a later exit the same day replaces that day's copy as a whole, once
// the new one is complete), then only the newest `kept` days are kept.
namespace AutomaticBackup
{

inline constexpr int kept = 10;

inline QString folderName()
{
    return QStringLiteral("Sauvegardes");
}
QString dayFolder(const QString &programDir, const QDate &day);
// The automatic copies there are, newest first (folders named after a valid date only).
QStringList copies(const QString &programDir);
// Runs the copy for `day`, then removes the oldest copies beyond `kept`. Throws
// PlatformError with the French reason; the copies of other days are never touched then.
void run(const QString &programDir, const QDate &day, BackupSources &sources);
// The box shown when it fails; the exit goes on.
QString failureMessage(const QString &reason);

} // namespace AutomaticBackup
