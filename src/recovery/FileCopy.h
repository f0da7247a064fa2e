#pragma once

#include <QString>

// A byte-for-byte copy of one file that never destroys what it replaces: the content goes to a
// temporary file beside the destination and is renamed over it only once complete. A new
// destination is readable by its owner only (the copies hold health data); an existing one
// keeps its permissions.
namespace FileCopy
{

// Throws PlatformError with the French reason (source missing or unreadable, destination
// folder missing or protected, disk full); the destination is then as it was.
void copy(const QString &source, const QString &destination);

} // namespace FileCopy
