#include "AgeBands.h"

int AgeBands::of(int days)
{
    if (days <= 15)
        return 0;
    if (days <= 30)
        return 1;
    if (days <= 60)
        return 2;
    return 3;
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
    default:
        break;
    }
    return QStringLiteral("Plus de 60 jours");
}
