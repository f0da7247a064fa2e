#include "CsvValues.h"

#include <QRegularExpression>
#include <QString>

namespace CsvValues
{

namespace
{
constexpr int maxIntegerDigits = 13;

bool isBlank(QChar c)
{
    return c.isSpace() || c == QChar(0x00A0) || c == QChar(0x202F) || c == QChar(0x2009);
}

// Cents of `digits` (integer part, only digits) and `decimals` (only digits), or nothing.
std::optional<qint64> cents(QStringView digits, QStringView decimals, bool negative)
{
    if (digits.isEmpty() && decimals.isEmpty())
        return std::nullopt;
    if (digits.size() > maxIntegerDigits)
        return std::nullopt;
    for (qsizetype i = 2; i < decimals.size(); ++i) {
        if (decimals.at(i) != u'0')
            return std::nullopt;
    }
    qint64 value = 0;
    for (QChar d : digits)
        value = value * 10 + d.digitValue();
    for (int i = 0; i < 2; ++i)
        value = value * 10 + (i < decimals.size() ? decimals.at(i).digitValue() : 0);
    return negative ? -value : value;
}

bool allDigits(QStringView s)
{
    for (QChar c : s) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// Strips a sign in front; says whether it was a minus.
bool takeSign(QString &s)
{
    if (s.isEmpty())
        return false;
    const QChar c = s.at(0);
    if (c == u'+' || c == u'-' || c == QChar(0x2212)) {
        s.remove(0, 1);
        return c != u'+';
    }
    return false;
}
} // namespace

std::optional<QDate> date(QStringView text)
{
    static const QRegularExpression dmy(QStringLiteral(
        "^(\\d{1,2})([/.-])(\\d{1,2})\\2(\\d{4}|\\d{2})(?:[ T]\\d{1,2}:\\d{2}(?::\\d{2})?)?$"));
    static const QRegularExpression ymd(
        QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})(?:[ T]\\d{1,2}:\\d{2}(?::\\d{2})?)?$"));
    const QString t = text.trimmed().toString();
    QDate d;
    if (const auto m = dmy.match(t); m.hasMatch()) {
        int year = m.captured(4).toInt();
        if (m.capturedLength(4) == 2)
            year += 2000;
        d = QDate(year, m.captured(3).toInt(), m.captured(1).toInt());
    } else if (const auto m2 = ymd.match(t); m2.hasMatch()) {
        d = QDate(m2.captured(1).toInt(), m2.captured(2).toInt(), m2.captured(3).toInt());
    }
    if (!d.isValid())
        return std::nullopt;
    return d;
}

std::optional<qint64> amount(QStringView text)
{
    QString s;
    s.reserve(text.size());
    for (QChar c : text) {
        if (!isBlank(c))
            s.append(c);
    }
    if (s.endsWith(u'€'))
        s.chop(1);
    else if (s.endsWith(QLatin1String("EUR"), Qt::CaseInsensitive))
        s.chop(3);
    const bool negative = takeSign(s);
    if (s.isEmpty())
        return std::nullopt;

    const qsizetype comma = s.indexOf(u',');
    QString integer;
    QString decimals;
    if (comma >= 0) {
        if (s.indexOf(u',', comma + 1) >= 0)
            return std::nullopt;
        integer = s.left(comma);
        decimals = s.mid(comma + 1);
    } else {
        const qsizetype point = s.lastIndexOf(u'.');
        if (point >= 0 && s.count(u'.') == 1 && s.size() - point - 1 <= 2) {
            integer = s.left(point);
            decimals = s.mid(point + 1);
        } else {
            integer = s;
        }
    }
    // Points left in the integer part separate thousands: groups of three digits.
    if (integer.contains(u'.')) {
        const QStringList groups = integer.split(u'.');
        if (groups.first().isEmpty() || groups.first().size() > 3)
            return std::nullopt;
        for (qsizetype i = 1; i < groups.size(); ++i) {
            if (groups.at(i).size() != 3)
                return std::nullopt;
        }
        integer.remove(u'.');
    }
    if (!allDigits(integer) || !allDigits(decimals))
        return std::nullopt;
    return cents(integer, decimals, negative);
}

std::optional<qint64> plainAmount(QStringView text)
{
    QString s = text.trimmed().toString();
    const bool negative = takeSign(s);
    qsizetype mark = s.indexOf(u'.');
    if (mark < 0)
        mark = s.indexOf(u',');
    const QString integer = mark < 0 ? s : s.left(mark);
    const QString decimals = mark < 0 ? QString() : s.mid(mark + 1);
    if (!allDigits(integer) || !allDigits(decimals))
        return std::nullopt;
    return cents(integer, decimals, negative);
}

} // namespace CsvValues
