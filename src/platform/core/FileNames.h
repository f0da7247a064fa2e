#pragma once

#include <QString>

// File names as the program sees them: matched without regard to case, so that reading
// "lstbenef.lst" finds LSTBENEF.LST and rewriting a file never creates a twin in another case.
namespace FileNames
{

// The path of `name` in `directory`: an existing entry whose name equals `name` ignoring
// case (the exact spelling first), otherwise `directory` joined with `name` as given.
QString resolve(const QString &directory, const QString &name);

// `directory` ending in exactly one "/"; a root such as "/" is kept as it is.
QString withTrailingSeparator(const QString &directory);

// The folder of the executable, with its trailing separator.
QString programDirectory();

// The canonical form of a folder for comparisons: links resolved where it exists,
// trailing separator added.
QString canonicalDirectory(const QString &directory);

// Where the new content of `path` is built before it replaces the file: a hidden name
// beside it, ".NAME.XXXXXX.tmp" (a QTemporaryFile template), so that a copy killed
// part-way leaves something recognisable as ours.
QString temporaryTemplate(const QString &path);
// Whether `entry`, a name in a folder, is such a leftover for the file `name` (matched
// without regard to case), or the SQLite journal of one; the names earlier versions gave
// their table copies count too.
bool isTemporaryOf(const QString &entry, const QString &name);

} // namespace FileNames
