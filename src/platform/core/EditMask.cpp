#include "EditMask.h"

EditMask::EditMask(const QString &mask) : source_(mask)
{
    if (!parse(mask)) {
        valid_ = false;
        positions_.clear();
        blank_ = QLatin1Char('_');
        saveLiterals_ = true;
        leadingBlanks_ = false;
    }
}

bool EditMask::parse(const QString &mask)
{
    // Directives of the notation that would need letters or case handling.
    static const QString unsupported = QStringLiteral("LlAaCc#<>_");
    int i = 0;
    for (; i < mask.size(); ++i) {
        const QChar c = mask.at(i);
        if (c == QLatin1Char(';'))
            break;
        if (c == QLatin1Char('\\')) {
            if (++i >= mask.size())
                return false;
            positions_.append({Kind::Literal, mask.at(i)});
        } else if (c == QLatin1Char('!')) {
            leadingBlanks_ = true;
        } else if (c == QLatin1Char('0')) {
            positions_.append({Kind::Required, QChar()});
        } else if (c == QLatin1Char('9')) {
            positions_.append({Kind::Optional, QChar()});
        } else if (unsupported.contains(c)) {
            return false;
        } else {
            positions_.append({Kind::Literal, c});
        }
    }
    if (i < mask.size()) {
        const QString rest = mask.mid(i + 1);
        const qsizetype sep = rest.indexOf(QLatin1Char(';'));
        const QString save = sep < 0 ? rest : rest.left(sep);
        const QString blank = sep < 0 ? QString() : rest.mid(sep + 1);
        saveLiterals_ = save != QLatin1String("0");
        if (blank.size() > 1)
            return false;
        if (blank.size() == 1)
            blank_ = blank.at(0);
    }
    if (positions_.isEmpty())
        return mask.isEmpty();
    if (nextDataPosition(0) < 0 || isDigit(blank_))
        return false;
    // A blank that is also a literal could not be told apart from it in the edit text.
    for (const Position &p : positions_) {
        if (p.kind == Kind::Literal && p.literal == blank_)
            return false;
    }
    return true;
}

bool EditMask::isLiteral(int position) const
{
    return position >= 0 && position < positionCount() &&
           positions_.at(position).kind == Kind::Literal;
}

bool EditMask::isRequired(int position) const
{
    return position >= 0 && position < positionCount() &&
           positions_.at(position).kind == Kind::Required;
}

QChar EditMask::literalAt(int position) const
{
    return isLiteral(position) ? positions_.at(position).literal : QChar();
}

int EditMask::maxStoredLength() const
{
    int length = 0;
    for (const Position &p : positions_) {
        if (p.kind != Kind::Literal || saveLiterals_)
            ++length;
    }
    return length;
}

int EditMask::nextDataPosition(int from) const
{
    for (int p = qMax(from, 0); p < positionCount(); ++p) {
        if (!isLiteral(p))
            return p;
    }
    return -1;
}

int EditMask::previousDataPosition(int before) const
{
    for (int p = qMin(before, positionCount()) - 1; p >= 0; --p) {
        if (!isLiteral(p))
            return p;
    }
    return -1;
}

QString EditMask::blankText() const
{
    QString text;
    text.reserve(positionCount());
    for (const Position &p : positions_)
        text.append(p.kind == Kind::Literal ? p.literal : blank_);
    return text;
}

QString EditMask::normalised(const QString &text) const
{
    QString result = blankText();
    for (int p = 0; p < positionCount() && p < text.size(); ++p) {
        if (!isLiteral(p))
            result[p] = isBlankChar(text.at(p)) ? blank_ : text.at(p);
    }
    return result;
}

// A stored value whose groups are separated by the mask's literals: "5/3/24" for "99/99/00".
// False when the literals are missing or a group is too long for its positions.
bool EditMask::fillByGroups(const QString &value, QString &text) const
{
    int s = 0;
    int p = 0;
    while (p < positionCount()) {
        if (isLiteral(p)) {
            if (s >= value.size() || value.at(s) != literalAt(p))
                return false;
            ++s;
            ++p;
            continue;
        }
        int q = p;
        while (q < positionCount() && !isLiteral(q))
            ++q;
        qsizetype end = value.size();
        if (q < positionCount()) {
            end = value.indexOf(literalAt(q), s);
            if (end < 0)
                return false;
        }
        const int length = int(end - s);
        if (length > q - p)
            return false;
        const int offset = leadingBlanks_ ? (q - p) - length : 0;
        for (int k = 0; k < length; ++k) {
            const QChar c = value.at(s + k);
            text[p + offset + k] = isBlankChar(c) ? blank_ : c;
        }
        s = int(end);
        p = q;
    }
    return s == value.size();
}

// The characters of a stored value, in order, into the data positions from the left.
void EditMask::fillInOrder(const QString &value, QString &text) const
{
    int p = nextDataPosition(0);
    for (QChar c : value) {
        if (p < 0)
            return;
        text[p] = isBlankChar(c) ? blank_ : c;
        p = nextDataPosition(p + 1);
    }
}

// The edit text for `value` into `text`; false when some of its characters could not be shown.
bool EditMask::layOut(const QString &value, QString &text) const
{
    text = blankText();
    if (value.size() == positionCount()) {
        bool inPlace = true;
        for (int p = 0; p < positionCount() && inPlace; ++p)
            inPlace = !isLiteral(p) || value.at(p) == literalAt(p);
        if (inPlace) {
            text = normalised(value);
            return true;
        }
    }
    if (fillByGroups(value, text))
        return true;
    text = blankText();
    fillInOrder(value, text);
    int dataPositions = 0;
    for (int p = 0; p < positionCount(); ++p)
        dataPositions += isLiteral(p) ? 0 : 1;
    return value.size() <= dataPositions;
}

QString EditMask::displayText(const QString &value) const
{
    if (isEmpty())
        return value;
    QString text;
    layOut(value, text);
    return text;
}

QString EditMask::storedValue(const QString &editText) const
{
    if (isEmpty())
        return editText;
    const QString text = normalised(editText);
    if (isBlank(text))
        return QString();
    QString value;
    value.reserve(positionCount());
    for (int p = 0; p < positionCount(); ++p) {
        if (isLiteral(p)) {
            if (saveLiterals_)
                value.append(literalAt(p));
        } else {
            value.append(isBlankChar(text.at(p)) ? QLatin1Char(' ') : text.at(p));
        }
    }
    if (!saveLiterals_) {
        while (value.endsWith(QLatin1Char(' ')))
            value.chop(1);
    }
    return value;
}

bool EditMask::isBlank(const QString &editText) const
{
    if (isEmpty())
        return editText.trimmed().isEmpty();
    for (int p = 0; p < positionCount() && p < editText.size(); ++p) {
        if (!isLiteral(p) && !isBlankChar(editText.at(p)))
            return false;
    }
    return true;
}

bool EditMask::isComplete(const QString &editText) const
{
    if (isEmpty() || isBlank(editText))
        return true;
    const QString text = normalised(editText);
    for (int p = 0; p < positionCount(); ++p) {
        if (isLiteral(p))
            continue;
        const QChar c = text.at(p);
        if (!isDigit(c) && (isRequired(p) || !isBlankChar(c)))
            return false;
    }
    return true;
}

QString EditMask::formatForDisplay(const QString &value) const
{
    if (isEmpty() || value.isEmpty())
        return value;
    QString text;
    // A value that does not fit the mask is shown as it is rather than cut to fit.
    if (!layOut(value, text))
        return value;
    text.replace(blank_, QLatin1Char(' '));
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}
