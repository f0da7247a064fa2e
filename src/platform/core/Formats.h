#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

#include <optional>

// Display and parsing of the program's values: money held as whole cents (so that sums are
// exact), dates as "dd/mm/yy", the rate "00%". Numbers always follow French conventions
// (amounts are euros whatever the system's regional settings); the default QLocale, which
// Qt's own widgets use, is the system's, French on a system without any (C/POSIX).
namespace Formats
{

// Called once at start: French conventions when the system has no regional settings.
void applyRegionalSettings();
QLocale locale();

qint64 toCents(double amount);
double fromCents(qint64 cents);

// "%m": "1 234,50 €"; a negative amount with a minus sign, "-1 234,50 €".
QString money(qint64 cents);
// The awaited amount: money with 2 decimals, rounded to at most 7 significant digits.
QString awaitedAmount(qint64 cents);
// The number part "#,##0.00" of a report sum's mask: "1 234,50", "-1 234,50".
QString reportNumber(qint64 cents);
// An amount as typed in an edit: "1234,50" (regional decimal point, no grouping).
QString moneyEdit(qint64 cents);
// "00%": rounded whole number with at least two digits, then "%".
QString rate(double percent);
// A plain floating point number for editing.
QString number(double value);

// "dd/mm/yy".
QString date(const QDate &date);
// "dd/mm/yyyy", where a date stands alone in a sentence or a statement's line.
QString fullDate(const QDate &date);
// The full year of a two-digit year, in the hundred years ending 20 years after today.
int expandTwoDigitYear(int twoDigits, int currentYear);

// Typed text to values. Blank text (spaces, "_", separators only) gives an empty result
// (null date, no amount); anything else that is not a value throws ParseError with
// the platform's French message naming the text.
QDate parseDate(const QString &text);
std::optional<qint64> parseMoney(const QString &text);
std::optional<double> parseNumber(const QString &text);

} // namespace Formats
