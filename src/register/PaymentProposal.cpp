#include "PaymentProposal.h"

qint64 ProposedCombination::predictedTotal() const
{
    qint64 total = 0;
    for (const ProposedShare &s : shares)
        total += s.predicted();
    return total;
}

qint64 ProposedCombination::sharesTotal() const
{
    qint64 total = 0;
    for (const ProposedShare &s : shares)
        total += s.share;
    return total;
}

QString ProposedCombination::confidenceText(Confidence confidence)
{
    switch (confidence) {
    case Confidence::Sure:
        return QStringLiteral("sûr");
    case Confidence::ToChoose:
        return QStringLiteral("à choisir");
    case Confidence::ToCheck:
        break;
    }
    return QStringLiteral("à vérifier");
}
