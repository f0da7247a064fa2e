#pragma once

#include <QString>

// Reads and writes one string under a section and key of an INI file (talo.ini) the way the
// original platform's private-profile calls did. QSettings will not do: it rewrites the whole
// file in its own syntax. Here only the line of the key changes; every other line, comment and
// blank line stays where it was. Files are read and written as SideFile does.
namespace PrivateProfile
{

// Values are read back through a 1,024-character buffer.
inline constexpr int maxValueLength = 1023;

// The value of `key` in `section`, both matched without regard to case: the text after the
// first "=" without its surrounding blanks, without a pair of matching quotes around it,
// at most maxValueLength characters. A missing file, section or key gives `defaultValue`;
// a file that exists but cannot be read throws PlatformError.
QString readString(const QString &path, const QString &section, const QString &key,
                   const QString &defaultValue = QString());

// Stores `value` so that readString gives it back unchanged: the key's line is rewritten,
// or the key is added at the end of its section, or the section at the end of the file,
// or the file is created. A value with leading or trailing blanks, or wrapped in quotes,
// is stored inside double quotes. Refused with PlatformError, nothing written: a value
// holding a line break or longer than maxValueLength, a key that is empty or holds "=",
// a section holding "]". Any write failure throws PlatformError, the old file intact.
void writeString(const QString &path, const QString &section, const QString &key,
                 const QString &value);

} // namespace PrivateProfile
