#pragma once

#include "EditMask.h"

#include <QString>

// The text of a masked edit with its caret and selection, and what each editing key does to it.
// Typed digits overwrite positions left to right and the caret jumps over literals; typing a
// literal ("/", "-") moves past the next one; removing blanks positions rather than shifting the
// rest. Kept apart from the widget so that the rules are tested without one.
class MaskedText
{
public:
    // `text` is brought to the mask's shape; the caret is kept within it.
    MaskedText(const EditMask &mask, const QString &text, int cursor);

    const QString &text() const { return text_; }
    int cursor() const { return cursor_; }
    bool hasSelection() const { return selectionLength_ > 0; }
    int selectionStart() const { return selectionStart_; }
    QString selectedText() const;
    void select(int start, int length);

    // Types each character at the caret, replacing the selection first. Refused characters (a
    // non-digit, a blank in a required position, no position left) are skipped; false when any
    // was refused. A text of which nothing at all is accepted changes nothing.
    bool type(const QString &typed);
    // Backspace: blanks the selection, or the data position before the caret.
    void backspace();
    // Delete: blanks the selection, or the data position at the caret, and steps past it.
    void deleteForward();
    // Blanks the data positions in [start, end) and puts the caret at start.
    void blankRange(int start, int end);

private:
    bool typeOne(QChar c);
    int skipLiterals(int position) const;
    void blankSelection();

    const EditMask &mask_;
    QString text_;
    int cursor_ = 0;
    int selectionStart_ = 0;
    int selectionLength_ = 0;
};
