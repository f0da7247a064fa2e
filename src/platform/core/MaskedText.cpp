#include "MaskedText.h"

MaskedText::MaskedText(const EditMask &mask, const QString &text, int cursor)
    : m_mask(mask), m_text(mask.normalised(text)), m_cursor(qBound(0, cursor, mask.positionCount()))
{
}

QString MaskedText::selectedText() const
{
    return m_text.mid(m_selectionStart, m_selectionLength);
}

void MaskedText::select(int start, int length)
{
    const int size = m_mask.positionCount();
    if (length < 0) {
        start += length;
        length = -length;
    }
    m_selectionStart = qBound(0, start, size);
    m_selectionLength = qBound(0, length, size - m_selectionStart);
}

bool MaskedText::type(const QString &typed)
{
    if (typed.isEmpty())
        return true;
    const QString oldText = m_text;
    const int oldCursor = m_cursor;
    const int oldStart = m_selectionStart;
    const int oldLength = m_selectionLength;

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
        m_text = oldText;
        m_cursor = oldCursor;
        m_selectionStart = oldStart;
        m_selectionLength = oldLength;
    }
    return allAccepted;
}

bool MaskedText::typeOne(QChar c)
{
    if (EditMask::isDigit(c) || m_mask.isBlankChar(c)) {
        const int p = m_mask.nextDataPosition(m_cursor);
        if (p < 0)
            return false;
        if (!EditMask::isDigit(c) && m_mask.isRequired(p))
            return false;
        m_text[p] = EditMask::isDigit(c) ? c : m_mask.blank();
        m_cursor = skipLiterals(p + 1);
        return true;
    }
    // The separator that the caret has just jumped over: typing it is natural, not an error.
    if (m_mask.isLiteral(m_cursor - 1) && m_mask.literalAt(m_cursor - 1) == c)
        return true;
    for (int q = m_cursor; q < m_mask.positionCount(); ++q) {
        if (m_mask.isLiteral(q) && m_mask.literalAt(q) == c) {
            m_cursor = q + 1;
            return true;
        }
    }
    return false;
}

int MaskedText::skipLiterals(int position) const
{
    while (m_mask.isLiteral(position))
        ++position;
    return position;
}

void MaskedText::blankSelection()
{
    blankRange(m_selectionStart, m_selectionStart + m_selectionLength);
}

void MaskedText::blankRange(int start, int end)
{
    const int size = m_mask.positionCount();
    start = qBound(0, start, size);
    end = qBound(start, end, size);
    for (int p = start; p < end; ++p) {
        if (!m_mask.isLiteral(p))
            m_text[p] = m_mask.blank();
    }
    m_cursor = start;
    m_selectionStart = 0;
    m_selectionLength = 0;
}

void MaskedText::backspace()
{
    if (hasSelection()) {
        blankSelection();
        return;
    }
    const int p = m_mask.previousDataPosition(m_cursor);
    if (p < 0)
        return;
    m_text[p] = m_mask.blank();
    m_cursor = p;
}

void MaskedText::deleteForward()
{
    if (hasSelection()) {
        blankSelection();
        return;
    }
    const int p = m_mask.nextDataPosition(m_cursor);
    if (p < 0)
        return;
    m_text[p] = m_mask.blank();
    m_cursor = p + 1;
}
