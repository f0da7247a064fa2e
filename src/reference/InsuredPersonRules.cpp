#include "InsuredPersonRules.h"

#include "tables/InsuredTable.h"

#include "platform/store/Table.h"

QString InsuredPersonRules::normalisedDependantFlag(const QString &flag)
{
    // Exact and case-sensitive: "vrai" or "True" are not the words the file keeps.
    if (flag == QLatin1String("Vrai") || flag == QLatin1String("Faux"))
        return flag;
    return QStringLiteral("Faux");
}

void InsuredPersonRules::beforePost(Table &table)
{
    Field &flag = table.fieldByName(InsuredFields::AyantDr);
    const QString value = flag.asString();
    const QString normalised = normalisedDependantFlag(value);
    if (normalised != value)
        flag.setAsString(normalised);
}
