#include "CareSearchQuery.h"

#include "platform/core/Formats.h"
#include "platform/core/TextCollation.h"
#include "platform/core/Today.h"

#include <QRegularExpression>

namespace
{

// "1 234,50" as the grid shows an amount: the blanks between thousands belong to the number.
// Only with its cents, so that "12 345" still reads as two numbers.
const QRegularExpression
    groupedAmount(QStringLiteral("(?<![\\d,.])\\d{1,3}(?: \\d{3})+,\\d{1,2}(?!\\d)"));
const QRegularExpression amount(QStringLiteral("^([-+]?)(\\d{1,9})(?:[,.](\\d{1,2}))?$"));
const QRegularExpression day(QStringLiteral("^(\\d{1,2})[/.-](\\d{1,2})[/.-](\\d{2}|\\d{4})$"));
const QRegularExpression month(QStringLiteral("^(\\d{1,2})[/.-](\\d{4})$"));
const QRegularExpression blanks(QStringLiteral("\\s+"));
const QRegularExpression year(QStringLiteral("^\\d{4}$"));

std::optional<qint64> readAmount(const QString &word)
{
    const QRegularExpressionMatch m = amount.match(word);
    if (!m.hasMatch())
        return std::nullopt;
    QString cents = m.captured(3);
    while (cents.size() < 2)
        cents += QLatin1Char('0');
    const qint64 value = m.captured(2).toLongLong() * 100 + cents.toLongLong();
    return m.captured(1) == QLatin1String("-") ? -value : value;
}

int fullYear(const QString &digits)
{
    const int y = digits.toInt();
    return digits.size() == 2 ? Formats::expandTwoDigitYear(y, Today::date().year()) : y;
}

void readDates(const QString &word, CareSearchQuery::Term &term)
{
    if (const QRegularExpressionMatch m = day.match(word); m.hasMatch()) {
        const QDate date(fullYear(m.captured(3)), m.captured(2).toInt(), m.captured(1).toInt());
        if (date.isValid())
            term.from = term.to = date;
    } else if (const QRegularExpressionMatch m = month.match(word); m.hasMatch()) {
        const QDate first(m.captured(2).toInt(), m.captured(1).toInt(), 1);
        if (first.isValid()) {
            term.from = first;
            term.to = first.addMonths(1).addDays(-1);
        }
    } else if (year.match(word).hasMatch()) {
        term.from = QDate(word.toInt(), 1, 1);
        term.to = QDate(word.toInt(), 12, 31);
    }
}

bool isAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

} // namespace

QString CareSearchQuery::fold(const QString &text)
{
    // Most texts of a register are plain letters: they need no decomposition.
    if (isAscii(text))
        return text.toLower();
    QString folded = TextCollation::searchKey(text);
    folded.replace(QChar(0x2019), QLatin1Char('\''));
    folded.replace(QChar(0x2018), QLatin1Char('\''));
    return folded;
}

CareSearchQuery CareSearchQuery::parse(const QString &typed)
{
    QString text = typed;
    text.replace(QChar(0x00A0), QLatin1Char(' '));
    text.replace(QChar(0x202F), QLatin1Char(' '));
    // The euro sign only says that a number is an amount.
    text.replace(QChar(0x20AC), QLatin1Char(' '));
    for (QRegularExpressionMatch m = groupedAmount.match(text); m.hasMatch();
         m = groupedAmount.match(text, m.capturedStart())) {
        text.replace(m.capturedStart(), m.capturedLength(), m.captured().remove(QLatin1Char(' ')));
    }

    CareSearchQuery query;
    for (const QString &word : text.split(blanks, Qt::SkipEmptyParts)) {
        Term term;
        term.text = fold(word);
        term.cents = readAmount(word);
        readDates(word, term);
        query.terms_.push_back(std::move(term));
    }
    return query;
}
