#pragma once

#include <QString>
#include <QStringList>

// The small text files kept beside the tables (LSTBENEF.LST, talosoc.inf, mutuelle.inf,
// talo.ini). They are written as the original platform wrote them, Windows-1252 with CR LF,
// and read whichever way they come: UTF-8 when the bytes are valid UTF-8, Windows-1252
// otherwise, any of CR, LF or CR LF ending a line. Paths are final: callers resolve a name
// without regard to case with FileNames::resolve first.
namespace SideFile
{

// The lines of the file, without their ends; an empty line is an empty entry, a last line
// without an end still counts, an empty file gives no line. Throws PlatformError when the
// file cannot be opened or read.
QStringList readLines(const QString &path);

// Replaces the file whole with `lines`, each followed by CR LF: Windows-1252 when every
// character fits, otherwise the whole file as UTF-8 so that nothing is lost (also in the
// rare case where the 1252 bytes would read back as other, valid UTF-8 text). The new
// content goes to a temporary file renamed over the old one, so a failure leaves the old
// file as it was. A new file is readable by its owner only; an existing one keeps its
// permissions. Throws PlatformError with the reason in French; a line holding a line break
// is refused before anything is written.
void writeLines(const QString &path, const QStringList &lines);

} // namespace SideFile
