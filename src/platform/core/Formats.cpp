#include "Formats.h"

#include "ParseError.h"
#include "PlatformMessages.h"
#include "Today.h"

#include <QRegularExpression>
#include <cmath>

void Formats::applyRegionalSettings()
{
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    else
        QLocale::setDefault(system);
}

QLocale Formats::locale()
{
    // Amounts are euros and the program speaks French, whatever the system's settings.
    static const QLocale french(QLocale::French, QLocale::France);
    return french;
}

qint64 Formats::toCents(double amount)
{
    return std::llround(amount * 100.0);
}

double Formats::fromCents(qint64 cents)
{
    return static_cast<double>(cents) / 100.0;
}

namespace
{

// Whole units of `cents` grouped with the regional separator, then the decimal point and
// the two-digit cent part; no sign.
QString unsignedAmount(const QLocale &loc, qint64 cents)
{
    const quint64 magnitude = cents < 0 ? quint64(-(cents + 1)) + 1 : quint64(cents);
    const QString units = loc.toString(magnitude / 100);
    const QString fraction = QString::number(magnitude % 100).rightJustified(2, QLatin1Char('0'));
    return units + loc.decimalPoint() + fraction;
}

QString signedAmount(const QLocale &loc, qint64 cents)
{
    const QString text = unsignedAmount(loc, cents);
    return cents < 0 ? loc.negativeSign() + text : text;
}

const QString euroSuffix = QStringLiteral("\u00A0€");

} // namespace

QString Formats::money(qint64 cents)
{
    return signedAmount(locale(), cents) + euroSuffix;
}

QString Formats::awaitedAmount(qint64 cents)
{
    constexpr qint64 limit = 10'000'000; // 7 significant digits of cents
    qint64 step = 1;
    qint64 magnitude = cents < 0 ? -cents : cents;
    while (magnitude / step >= limit)
        step *= 10;
    if (step > 1) {
        const qint64 rounded = (magnitude + step / 2) / step * step;
        cents = cents < 0 ? -rounded : rounded;
    }
    return money(cents);
}

QString Formats::reportNumber(qint64 cents)
{
    return signedAmount(locale(), cents);
}

QString Formats::moneyEdit(qint64 cents)
{
    const QLocale loc = locale();
    QString text = QString::number(cents < 0 ? -(cents / 100) : cents / 100);
    const qint64 rest = cents < 0 ? -(cents % 100) : cents % 100;
    text += loc.decimalPoint() + QString::number(rest).rightJustified(2, QLatin1Char('0'));
    return cents < 0 ? QStringLiteral("-") + text : text;
}

QString Formats::rate(double percent)
{
    const double rounded = std::round(percent); // half away from zero
    const QString digits = QString::number(static_cast<qint64>(std::fabs(rounded)))
                               .rightJustified(2, QLatin1Char('0'));
    return (rounded < 0 ? QStringLiteral("-") : QString()) + digits + QLatin1Char('%');
}

QString Formats::number(double value)
{
    return locale().toString(value, 'g', 15).remove(locale().groupSeparator());
}

QString Formats::date(const QDate &date)
{
    if (!date.isValid())
        return QString();
    QString text(8, QLatin1Char('/'));
    const int d = date.day(), m = date.month(), y = ((date.year() % 100) + 100) % 100;
    text[0] = QLatin1Char(char('0' + d / 10));
    text[1] = QLatin1Char(char('0' + d % 10));
    text[3] = QLatin1Char(char('0' + m / 10));
    text[4] = QLatin1Char(char('0' + m % 10));
    text[6] = QLatin1Char(char('0' + y / 10));
    text[7] = QLatin1Char(char('0' + y % 10));
    return text;
}

QString Formats::fullDate(const QDate &date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

int Formats::expandTwoDigitYear(int twoDigits, int currentYear)
{
    const int last = currentYear + 20;
    int year = last - ((last - twoDigits) % 100 + 100) % 100;
    return year;
}

QDate Formats::parseDate(const QString &text)
{
    QString spaced = text;
    spaced.replace(QLatin1Char('_'), QLatin1Char(' '));
    bool blank = true;
    for (QChar c : spaced)
        blank = blank && (c.isSpace() || c == QLatin1Char('/'));
    if (blank)
        return QDate();

    static const QRegularExpression shape(
        QStringLiteral(R"(^\s*(\d{1,2})\s*[/.\-]\s*(\d{1,2})\s*[/.\-]\s*(\d{2}|\d{4})\s*$)"));
    const QRegularExpressionMatch m = shape.match(spaced);
    if (!m.hasMatch())
        throw ParseError(PlatformMessages::invalidDate(text));
    const int day = m.captured(1).toInt();
    const int month = m.captured(2).toInt();
    const QString yearText = m.captured(3);
    int year = yearText.toInt();
    if (yearText.size() == 2)
        year = expandTwoDigitYear(year, Today::date().year());
    const QDate date(year, month, day);
    if (!date.isValid())
        throw ParseError(PlatformMessages::invalidDate(text));
    return date;
}

namespace
{

// The text without blanks of any kind and without a trailing currency mark; the decimal
// separator may be "," or ".", with one or two decimals.
std::optional<QString> normalisedNumber(const QString &text, bool allowCurrency)
{
    QString s;
    s.reserve(text.size());
    for (QChar c : text) {
        if (!c.isSpace() && c != QChar(0x202F) && c != QChar(0x00A0))
            s.append(c);
    }
    if (allowCurrency) {
        const QLocale loc = Formats::locale();
        for (const QString &mark : {loc.currencySymbol(), QStringLiteral("€"),
                                    QStringLiteral("EUR"), QStringLiteral("F")}) {
            if (!mark.isEmpty() && s.endsWith(mark, Qt::CaseInsensitive)) {
                s.chop(mark.size());
                break;
            }
        }
    }
    if (s.isEmpty())
        return std::nullopt;
    return s;
}

} // namespace

std::optional<qint64> Formats::parseMoney(const QString &text)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    const std::optional<QString> s = normalisedNumber(text, true);
    static const QRegularExpression shape(
        QStringLiteral(R"(^([+\-]?)(\d{0,13})(?:[.,](\d{1,2}))?$)"));
    const QRegularExpressionMatch m = s ? shape.match(*s) : QRegularExpressionMatch();
    if (!m.hasMatch() || (m.captured(2).isEmpty() && m.captured(3).isEmpty())) {
        static const QRegularExpression extraDecimals(QStringLiteral(R"(^[+\-]?\d*[.,]\d{3,}$)"));
        if (s && extraDecimals.match(*s).hasMatch())
            throw ParseError(PlatformMessages::tooManyDecimals(text));
        throw ParseError(PlatformMessages::invalidAmount(text));
    }
    const qint64 units = m.captured(2).toLongLong();
    const qint64 fraction = m.captured(3).leftJustified(2, QLatin1Char('0')).toLongLong();
    const qint64 cents = units * 100 + fraction;
    return m.captured(1) == QLatin1String("-") ? -cents : cents;
}

std::optional<double> Formats::parseNumber(const QString &text)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    const std::optional<QString> s = normalisedNumber(text, false);
    static const QRegularExpression shape(QStringLiteral(R"(^[+\-]?(\d+([.,]\d*)?|[.,]\d+)$)"));
    if (!s || !shape.match(*s).hasMatch())
        throw ParseError(PlatformMessages::invalidNumber(text));
    QString c = *s;
    c.replace(QLatin1Char(','), QLatin1Char('.'));
    return c.toDouble();
}
