#include "PlainSelectors.h"

#include "YearItems.h"

#include "platform/core/Today.h"

PlainSelectors::PlainSelectors()
    : beneficiaries({QStringLiteral("TOUS")}), years(YearItems::items(Today::date().year()))
{
}

QString PlainSelectors::beneficiaryText() const
{
    return beneficiaries.value(beneficiaryIndex);
}

QString PlainSelectors::yearText() const
{
    return years.value(yearIndex);
}

void PlainSelectors::removeBeneficiaryAt(int index)
{
    beneficiaries.removeAt(index);
    if (beneficiaryIndex >= beneficiaries.size())
        beneficiaryIndex = int(beneficiaries.size()) - 1;
}
