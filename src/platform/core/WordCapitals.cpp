#include "WordCapitals.h"

namespace
{

QChar capitalAfter(QChar before, bool atStart, QChar typed)
{
    if (!atStart && before != QLatin1Char(' '))
        return typed;
    if (typed >= QLatin1Char('a') && typed <= QLatin1Char('z'))
        return QChar(typed.unicode() - 'a' + 'A');
    return typed;
}

} // namespace

QChar WordCapitals::apply(const QString &text, int caret, QChar typed)
{
    const int at = qBound(0, caret, int(text.size()));
    return capitalAfter(at > 0 ? text.at(at - 1) : QChar(), at == 0, typed);
}

QString WordCapitals::apply(const QString &text, int caret, const QString &typed)
{
    QString result;
    result.reserve(typed.size());
    const int at = qBound(0, caret, int(text.size()));
    bool atStart = at == 0;
    QChar before = atStart ? QChar() : text.at(at - 1);
    for (QChar c : typed) {
        before = capitalAfter(before, atStart, c);
        result.append(before);
        atStart = false;
    }
    return result;
}
