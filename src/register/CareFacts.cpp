#include "CareFacts.h"

qint64 CareFacts::awaited() const
{
    return awaited(cost, cpam, mutual, partial, estimate);
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
