#include "AgeBands.h"

int AgeBands::of(int days)
{
    if (days <= 15)
        return 0;
    if (days <= 30)
        return 1;
    if (days <= 60)
        return 2;
    if (days <= claimLimit)
        return 3;
    return 4;
}

QString AgeBands::label(int band)
{
    switch (band) {
    case 0:
        return QStringLiteral("0 à 15 jours");
    case 1:
        return QStringLiteral("16 à 30 jours");
    case 2:
        return QStringLiteral("31 à 60 jours");
    case 3:
        return QStringLiteral("61 jours à 2 ans");
    default:
        break;
    }
    return QStringLiteral("Plus de 2 ans");
}

bool AgeBands::actionable(int days)
{
    return days > lateAfter && days <= claimLimit;
}

QString AgeBands::text(int days)
{
    if (days < 0)
        return QStringLiteral("à venir");
    // In French, 0 and 1 take the singular.
    if (days <= 60)
        return days <= 1 ? QStringLiteral("%1 jour").arg(days)
                         : QStringLiteral("%1 jours").arg(days);
    // Whole months and years of an average length; "mois" has no plural mark.
    if (days < claimLimit)
        return QStringLiteral("%1 mois").arg(qint64(days) * 12 / 365);
    return QStringLiteral("%1 ans").arg(days / 365);
}
