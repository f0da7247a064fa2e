#pragma once

#include <QStringList>

// The items of the year selector: "TOUTES" (all years), then every year from 1995 through
// the current one, so that this year's care can always be selected.
namespace YearItems
{

QStringList items(int currentYear);
inline const QString All = QStringLiteral("TOUTES");

} // namespace YearItems
