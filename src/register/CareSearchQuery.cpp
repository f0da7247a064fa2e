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

// The folded form of each character up to the end of Latin Extended-B, worked out once: the
// texts of a register are almost all made of these, and a look-up per character is far
// cheaper than decomposing every text.
constexpr char16_t TableEnd = 0x250;

struct FoldTable {
    char16_t single[TableEnd]; // the one character a character folds to, 0 when more or none
    QString other[TableEnd];   // what it folds to otherwise ("œ" → "oe")
};

const FoldTable &foldTable()
{
    static const FoldTable table = [] {
        FoldTable t{};
        for (char16_t c = 0; c < TableEnd; ++c) {
            const QString folded = TextCollation::searchKey(QString(QChar(c)));
            t.single[c] = folded.size() == 1 ? folded[0].unicode() : u'\0';
            t.other[c] = folded;
        }
        return t;
    }();
    return table;
}

QString foldRare(const QString &text)
{
    QString folded = TextCollation::searchKey(text);
    folded.replace(QChar(0x2019), QLatin1Char('\''));
    folded.replace(QChar(0x2018), QLatin1Char('\''));
    return folded;
}

QString foldSlowly(const QString &text, qsizetype plain, const FoldTable &table)
{
    QString folded;
    folded.reserve(text.size() + 4);
    folded.append(QStringView(text).left(plain));
    for (qsizetype i = plain; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < TableEnd)
            folded.append(table.other[c]);
        else if (c == 0x2018 || c == 0x2019)
            folded.append(QLatin1Char('\''));
        else
            return foldRare(text);
    }
    return folded;
}

} // namespace

QString CareSearchQuery::fold(const QString &text)
{
    // Plain small letters and digits, as most notes are: the text itself, nothing copied.
    qsizetype plain = 0;
    while (plain < text.size() && text[plain].unicode() < 0x80 &&
           !(text[plain] >= QLatin1Char('A') && text[plain] <= QLatin1Char('Z')))
        ++plain;
    if (plain == text.size())
        return text;
    const FoldTable &table = foldTable();
    QString folded = text;
    char16_t *out = reinterpret_cast<char16_t *>(folded.data()) + plain;
    for (qsizetype i = plain; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < TableEnd && table.single[c])
            *out++ = table.single[c];
        else if (c == 0x2018 || c == 0x2019)
            *out++ = u'\'';
        else
            return foldSlowly(text, plain, table); // "œ", combining accents, other scripts
    }
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
