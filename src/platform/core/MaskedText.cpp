#include "MaskedText.h"

MaskedText::MaskedText(const EditMask &mask, const QString &text, int cursor)
    : mask_(mask), text_(mask.normalised(text)), cursor_(qBound(0, cursor, mask.positionCount()))
{
}

QString MaskedText::selectedText() const
{
    return text_.mid(selectionStart_, selectionLength_);
}

void MaskedText::select(int start, int length)
{
    const int size = mask_.positionCount();
    if (length < 0) {
        start += length;
        length = -length;
    }
    selectionStart_ = qBound(0, start, size);
    selectionLength_ = qBound(0, length, size - selectionStart_);
}

bool MaskedText::type(const QString &typed)
{
    if (typed.isEmpty())
        return true;
    const QString oldText = text_;
    const int oldCursor = cursor_;
    const int oldStart = selectionStart_;
    const int oldLength = selectionLength_;

    if (hasSelection())
        blankSelection();
    bool allAccepted = true;
    bool anyAccepted = false;
    for (QChar c : typed) {
        if (typeOne(c))
            anyAccepted = true;
        else
            allAccepted = false;
    }
    if (!anyAccepted) {
        text_ = oldText;
        cursor_ = oldCursor;
        selectionStart_ = oldStart;
        selectionLength_ = oldLength;
    }
    return allAccepted;
}

bool MaskedText::typeOne(QChar c)
{
    if (EditMask::isDigit(c) || mask_.isBlankChar(c)) {
        const int p = mask_.nextDataPosition(cursor_);
        if (p < 0)
            return false;
        if (!EditMask::isDigit(c) && mask_.isRequired(p))
            return false;
        text_[p] = EditMask::isDigit(c) ? c : mask_.blank();
        cursor_ = skipLiterals(p + 1);
        return true;
    }
    // The separator that the caret has just jumped over: typing it is natural, not an error.
    if (mask_.isLiteral(cursor_ - 1) && mask_.literalAt(cursor_ - 1) == c)
        return true;
    for (int q = cursor_; q < mask_.positionCount(); ++q) {
        if (mask_.isLiteral(q) && mask_.literalAt(q) == c) {
            cursor_ = q + 1;
            return true;
        }
    }
    return false;
}

int MaskedText::skipLiterals(int position) const
{
    while (mask_.isLiteral(position))
        ++position;
    return position;
}

void MaskedText::blankSelection()
{
    blankRange(selectionStart_, selectionStart_ + selectionLength_);
}

void MaskedText::blankRange(int start, int end)
{
    const int size = mask_.positionCount();
    start = qBound(0, start, size);
    end = qBound(start, end, size);
    for (int p = start; p < end; ++p) {
        if (!mask_.isLiteral(p))
            text_[p] = mask_.blank();
    }
    cursor_ = start;
    selectionStart_ = 0;
    selectionLength_ = 0;
}

void MaskedText::backspace()
{
    if (hasSelection()) {
        blankSelection();
        return;
    }
    const int p = mask_.previousDataPosition(cursor_);
    if (p < 0)
        return;
    text_[p] = mask_.blank();
    cursor_ = p;
}

void MaskedText::deleteForward()
{
    if (hasSelection()) {
        blankSelection();
        return;
    }
    const int p = mask_.nextDataPosition(cursor_);
    if (p < 0)
        return;
    text_[p] = mask_.blank();
    cursor_ = p + 1;
}
