#pragma once

#include <QString>

#include <functional>

// A byte-for-byte copy of one file that never destroys what it replaces: the content goes to a
// temporary file beside the destination and is renamed over it only once complete. A new
// destination is readable by its owner only (the copies hold health data); an existing one
// keeps its permissions.
namespace FileCopy
{

// Told the bytes copied so far, after each block.
using Copied = std::function<void(qint64 bytes)>;

// Throws PlatformError with the French reason (source missing or unreadable, destination
// folder missing or protected, disk full); the destination is then as it was.
void copy(const QString &source, const QString &destination);

// The same for a file that must be a regular file of its own: a link (whatever it points to),
// a named pipe, a device, a socket or a folder is refused with the French reason before
// anything is read, so that a pipe cannot block the program and a link cannot bring in a
// file from elsewhere. Checked on the opened file itself, not only on its name.
void copyRegularFile(const QString &source, const QString &destination, const Copied &copied = {});

// The descriptor of `source` opened for reading, after the same checks as copyRegularFile,
// made on the opened file itself; the caller closes it. Throws PlatformError.
int openRegularFile(const QString &source);

// Why `path` is not a regular file of its own ("c'est un lien symbolique", ...), checked
// without following a link; empty for a regular file or a missing one.
QString notRegularReason(const QString &path);

} // namespace FileCopy
