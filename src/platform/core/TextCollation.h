#pragma once

#include <QString>

// The order of names for a French household: É files with E, Ç with C, and accents, then
// case, only break ties ("CA" < "ÇA" < "cote" < "Côte" < "ZOLA"). Every table's index order
// uses it, so the grids, the reports, the bookmarks and the last row agree.
namespace TextCollation
{

// <0, 0, >0. Only identical texts compare equal.
int compare(const QString &a, const QString &b);
// The text with accents and case taken away ("Émile" → "emile", "Œuvre" → "oeuvre"), to
// match a typed beginning as the collation files it.
QString searchKey(const QString &text);

} // namespace TextCollation
