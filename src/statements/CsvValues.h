#pragma once

#include <QDate>
#include <QStringView>

#include <optional>

// The values of a French bank's CSV cells.
namespace CsvValues
{

// dd/mm/yyyy (also d/m/yy, with "-" or "." between; a two-digit year is 20yy), or
// yyyy-mm-dd; a time after the date is ignored. Nothing for any other text.
std::optional<QDate> date(QStringView text);

// Cents of an amount written the French way: decimal comma (a point with one or two decimals
// is taken as the decimal mark too), thousands apart with blanks (also U+00A0, U+202F) or
// points, a sign "+", "-" or U+2212 in front, "€" or "EUR" after. Nothing for any other text,
// for more than two decimals that are not zeros, or for more than 13 digits before the mark.
std::optional<qint64> amount(QStringView text);

// The same for the decimal numbers of other formats (OFX): a sign, digits, "." or "," and
// decimals, nothing else.
std::optional<qint64> plainAmount(QStringView text);

} // namespace CsvValues
