#pragma once

#include "platform/store/SchemaObject.h"

#include <QString>
#include <vector>

// The sums of the care-entry table kept inside TALO.DB: one row per beneficiary and two-digit
// year of the care date (-1 when the date is not a real "YYYY-MM-DD" date) with the number of
// entries and the sums in cents of the cost, both reimbursements and the awaited amount. SQL
// triggers on the care table keep it right in the same transaction as each write, whoever
// writes. Each entry counts exactly as the program reads it: an amount is the value SQLite
// gives as a double rounded half away from zero to the cent, an empty amount 0, partial when
// "Mutuelle oui/non" is exactly "Vrai".
namespace TotalsSchema
{

inline const QString SumsTable = QStringLiteral("TALO_TOTAUX");

// The sums table and its triggers, in creation order; TALO.DB's definition declares them as
// its companions.
const std::vector<SchemaObject> &objects();
// Fills the empty sums table from every row of the care table.
QString fillStatement();
// The same fill in parts, for a reader that sums as it reads: every row of the care table as
// the sums read it before rounding (d date text, b beneficiary, c n m e the amounts times a
// hundred, as REAL, p the partial flag, then the rowid), in rowid order. Each amount then counts
// as llround() of it in cents, that is SQLite's CAST(x AS INTEGER) plus one unit away from zero
// from a fractional part of a half or more.
QString unroundedRowsQuery();
// The two-digit year of the date text ?1 (-1 when it is not a real date).
QString yearQuery();
// Every cell: Beneficiaire, Annee, Nombre, Cout, CPAM, Mutuelle, Attendu.
QString cellsQuery();

} // namespace TotalsSchema
