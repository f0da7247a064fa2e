#include "SharePrediction.h"

#include <algorithm>

std::optional<SharePrediction> SharePrediction::over(const std::vector<ShareCandidate> &candidates,
                                                     ShareSource source)
{
    SharePrediction p;
    for (const ShareCandidate &c : candidates) {
        if (c.amount > 0 && !p.find(c.amount))
            p.candidates.push_back(c);
    }
    if (p.candidates.empty())
        return std::nullopt;
    p.expected = p.candidates.front().amount;
    p.low = p.high = p.expected;
    p.firm = true;
    for (const ShareCandidate &c : p.candidates) {
        p.low = std::min(p.low, c.amount);
        p.high = std::max(p.high, c.amount);
        p.firm = p.firm && c.learned;
    }
    p.source = source;
    return p;
}

const ShareCandidate *SharePrediction::find(qint64 amount) const
{
    const auto found =
        std::find_if(candidates.begin(), candidates.end(),
                     [amount](const ShareCandidate &c) { return c.amount == amount; });
    return found == candidates.end() ? nullptr : &*found;
}

QString SharePrediction::sourceText(ShareSource source)
{
    switch (source) {
    case ShareSource::TypedAmount:
        return QStringLiteral("montant saisi");
    case ShareSource::Estimate:
        return QStringLiteral("estimation");
    case ShareSource::BaseAndRate:
        return QStringLiteral("base et taux");
    case ShareSource::Contract:
        return QStringLiteral("contrat de la mutuelle");
    case ShareSource::SameDoctor:
        return QStringLiteral("même médecin, même coût");
    case ShareSource::SameSpeciality:
        return QStringLiteral("même spécialité, même coût");
    case ShareSource::CostOnly:
        break;
    }
    return QStringLiteral("estimé sur le coût");
}
