#pragma once

#include "CsvColumnChoice.h"
#include "CsvTable.h"

#include <optional>

// Finds the table of a CSV statement from its column titles ("Date", "Date opération",
// "Libellé", "Description", "Montant", "Débit", "Crédit"...), on a line among the first ones
// (banks put the account's details before the table). Accents, case and blanks do not matter.
namespace CsvColumnRecognition
{

// Lines searched for the titles.
inline constexpr int titleSearchLines = 40;

std::optional<CsvColumnChoice> recognise(const CsvTable &table);

// Whether some row holds a date and an amount: what any statement's table has.
bool hasOperations(const CsvTable &table);

// The columns a row of titles names, complete or not.
CsvColumnChoice fromTitles(const CsvRow &titles);

// A title reduced for comparison: no accents, lower case, single blanks, no punctuation.
QString normalised(const QString &title);

} // namespace CsvColumnRecognition
