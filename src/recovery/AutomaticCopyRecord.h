#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// What an automatic copy keeps of its making, in a small hidden file written last into its
// folder: its rank (one more than that of any copy before it) and the clock's date and time
// then. The folder's name is the day the clock gave, a poor guide to which copy is the newest
// once the clock has been set back or has jumped ahead: the rank is not.
namespace AutomaticCopyRecord
{

inline QString fileName()
{
    return QStringLiteral(".copie-automatique");
}

// Throws PlatformError with the French reason.
void write(const QString &folder, qint64 rank, const QDateTime &madeAt);

// The rank written in the folder; none for a copy made before copies had one, or whose record
// cannot be read.
std::optional<qint64> rank(const QString &folder);

} // namespace AutomaticCopyRecord
