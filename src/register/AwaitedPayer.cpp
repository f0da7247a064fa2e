#include "AwaitedPayer.h"

QString AwaitedPayers::text(AwaitedPayer payer)
{
    switch (payer) {
    case AwaitedPayer::Cpam:
        return QStringLiteral("C.P.A.M.");
    case AwaitedPayer::Mutuelle:
        return QStringLiteral("Mutuelle");
    case AwaitedPayer::ToCheck:
        break;
    }
    return QStringLiteral("à vérifier");
}
