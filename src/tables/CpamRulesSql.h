#pragma once

#include <QString>

// CpamRules::withheldIn as SQL, generated from the same dates, units, limits and rates, so
// that the sums SQLite keeps give to the cent what the program computes.
namespace CpamRulesSql
{

// The unit withheld for the kind of act `act` (an SQL expression giving CareAct's number) on
// `care` (an expression giving a real date as "YYYY-MM-DD", or NULL): CpamRules::unit.
QString unit(const QString &act, const QString &care);

// A query giving the columns `kept` of the query `source`, then `w`: CpamRules::withheldIn of
// source's columns `care` (as for unit()), `act`, `base`, `cost`, `paid`, `room` (integers,
// in cents) when its column `written` is true, else 0.
QString withheldIn(const QString &source, const QString &kept);

} // namespace CpamRulesSql
