#include "CareFacts.h"

#include "tables/CpamRules.h"

qint64 CareFacts::withheld() const
{
    if (!needsAct())
        return 0;
    return CpamRules::withheldIn({date, act, base, cost, cpam, cost - (cpam + mutual)});
}

AwaitedPayer CareFacts::payer() const
{
    if (!cpamPaid)
        return AwaitedPayer::Cpam;
    if (!mutuellePaid)
        return AwaitedPayer::Mutuelle;
    return AwaitedPayer::ToCheck;
}

qint64 CareFacts::familyShare() const
{
    return cost - cpam - mutual - awaited();
}

int CareFacts::ageInDays(const QDate &today) const
{
    return date.isValid() ? int(date.daysTo(today)) : 0;
}
