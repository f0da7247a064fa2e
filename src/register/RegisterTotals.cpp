#include "RegisterTotals.h"

#include "platform/core/Formats.h"

QStringList RegisterTotals::statusTexts() const
{
    if (!known)
        return initialStatusTexts();
    return {QStringLiteral("Total coût : %1").arg(Formats::money(cost)),
            QStringLiteral("Total C.P.A.M.: %1").arg(Formats::money(cpam)),
            QStringLiteral("Total mutuelle : %1").arg(Formats::money(mutual)),
            QStringLiteral("Total écart : %1").arg(Formats::money(gap))};
}

QString RegisterTotals::awaitedText() const
{
    if (!known)
        return QString();
    return Formats::awaitedAmount(awaited);
}

QStringList RegisterTotals::initialStatusTexts()
{
    return {QStringLiteral("Total coût :"), QStringLiteral("Total C.P.A.M.:"),
            QStringLiteral("Total mutuelle :"), QStringLiteral("Total écart :")};
}
