#include "SharePrediction.h"

QString SharePrediction::sourceText(ShareSource source)
{
    switch (source) {
    case ShareSource::TypedAmount:
        return QStringLiteral("montant saisi");
    case ShareSource::Estimate:
        return QStringLiteral("estimation");
    case ShareSource::BaseAndRate:
        return QStringLiteral("base et taux");
    case ShareSource::SameDoctor:
        return QStringLiteral("même médecin, même coût");
    case ShareSource::RestOfCost:
        return QStringLiteral("reste du coût");
    case ShareSource::SameSpeciality:
        return QStringLiteral("même spécialité, même coût");
    case ShareSource::CostOnly:
        break;
    }
    return QStringLiteral("estimé sur le coût");
}
