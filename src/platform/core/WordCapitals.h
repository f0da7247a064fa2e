#pragma once

#include <QChar>
#include <QString>

// The word-capitals rule of first names, specialities and towns: a typed letter "a" to "z"
// becomes a capital when the caret stands at the start of the text or right after a blank.
// Only plain ASCII letters change, so a word typed with an accented initial keeps it.
namespace WordCapitals
{

// The character to insert for `typed` with the caret at `caret` (the start of the
// selection, if any) in `text`.
QChar apply(const QString &text, int caret, QChar typed);
// The same rule for several characters typed at once (auto-repeat, input method): each
// follows the one inserted before it.
QString apply(const QString &text, int caret, const QString &typed);

} // namespace WordCapitals
