#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The boxes of the automatic copy at exit. They say that the data are in the program directory
// only when that is true: side files written, every table file there.
namespace ExitCopyMessages
{

// What of the data is not in the program directory, one French clause each: the side files
// when their writing failed, each table file that is missing.
QStringList notSaved(const QString &programDir, bool sideFilesWritten);

// The copy failed with `reason`; `clockWarning` (may be empty) is added at the end.
QString failure(const QString &reason, const QStringList &notSaved,
                const QString &clockWarning = QString());

// The clock is at `today`, before the copy dated `copyDay`.
QString clockBehind(const QDate &today, const QDate &copyDay);
// The copy is made, and the clock is behind (`clockWarning`).
QString madeWithClockBehind(const QString &clockWarning);

} // namespace ExitCopyMessages
