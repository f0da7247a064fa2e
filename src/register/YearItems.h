#pragma once

#include <QStringList>

// The items of the year selector: "TOUTES" (all years), then every year from 1995 through
// the current one, so that this year's care can always be selected.
class YearItems
{
public:
    static QStringList items(int currentYear);
    static inline const QString All = QStringLiteral("TOUTES");
};
