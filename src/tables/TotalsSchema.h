#pragma once

#include "platform/store/SchemaObject.h"

#include <QString>
#include <vector>

// The sums of the care-entry table kept inside TALO.DB: one row per beneficiary and two-digit
// year of the care date (-1 when the date is not a real "YYYY-MM-DD" date) with the number of
// entries and the sums in cents of the cost, both reimbursements, the awaited amount and what
// the C.P.A.M. withheld by law from its written shares (CpamRules::withheldIn), which is the
// family's cost and not awaited. SQL triggers on the care table keep it right in the same
// transaction as each write, whoever writes. Each entry counts exactly as the program reads it:
// an amount is the value SQLite gives as a double rounded half away from zero to the cent, an
// empty amount 0, partial when "Mutuelle oui/non" is exactly "Vrai", a date filled when it is
// a real date.
namespace TotalsSchema
{

inline const QString SumsTable = QStringLiteral("TALO_TOTAUX");

// The sums table and its triggers, in creation order; TALO.DB's definition declares them as
// its companions.
const std::vector<SchemaObject> &objects();
// Fills the empty sums table from every row of the care table.
QString fillStatement();
// The same fill in parts, for a reader that sums as it reads. The columns the sums read, as
// stored, then the rowid, in rowid order: date, beneficiary, cost, CPAM, mutuelle, estimate,
// partial flag, base, speciality, C.P.A.M.'s date, its refusal flag. The statement reads the
// texts as CAST(x AS TEXT) (no beneficiary or speciality: ''), each amount as
// CAST(x AS REAL) * 100.0 (none: 0) counted as llround() of it in cents (SQLite's
// CAST(x AS INTEGER) plus one unit away from zero from a fractional part of a half or more),
// and the flags as set when their text is exactly "Vrai".
QString columnsQuery();
// The two-digit year of the date text ?1 (-1 when it is not a real date).
QString yearQuery();
// Every cell: Beneficiaire, Annee, Nombre, Cout, CPAM, Mutuelle, Attendu, Retenu.
QString cellsQuery();

} // namespace TotalsSchema
