#include "SharePredictor.h"

#include <algorithm>

namespace
{

qint64 atRate(qint64 base, int percent)
{
    return (base * percent + 50) / 100;
}

// A prediction over these amounts, the first expected; nothing when none is above zero.
std::optional<SharePrediction> over(std::vector<qint64> values, ShareSource source, bool firm)
{
    std::vector<qint64> kept;
    for (qint64 v : values) {
        if (v > 0 && std::find(kept.begin(), kept.end(), v) == kept.end())
            kept.push_back(v);
    }
    if (kept.empty())
        return std::nullopt;
    // A long history of varied amounts: the few commonest stand for it.
    if (kept.size() > 4)
        kept.resize(4);
    SharePrediction p;
    p.values = kept;
    p.expected = kept.front();
    p.low = *std::min_element(kept.begin(), kept.end());
    p.high = *std::max_element(kept.begin(), kept.end());
    p.source = source;
    p.firm = firm;
    return p;
}

} // namespace

bool SharePredictor::owes(const CareFacts &entry, AwaitedPayer payer)
{
    if (entry.cost <= 0)
        return false;
    switch (payer) {
    case AwaitedPayer::Cpam:
        return !entry.cpamPaid && !entry.cpamRefused;
    case AwaitedPayer::Mutuelle:
        return !entry.mutuellePaid;
    case AwaitedPayer::ToCheck:
        break;
    }
    return false;
}

std::optional<SharePrediction> SharePredictor::predict(const CareFacts &entry,
                                                       AwaitedPayer payer) const
{
    if (!owes(entry, payer))
        return std::nullopt;
    return payer == AwaitedPayer::Cpam ? predictCpam(entry) : predictMutuelle(entry);
}

std::optional<SharePrediction> SharePredictor::predictCpam(const CareFacts &e) const
{
    if (e.cpam > 0)
        return over({e.cpam}, ShareSource::TypedAmount, true);
    if (e.base > 0) {
        if (const auto rate = history_.cpamRate(e)) {
            const qint64 full = atRate(e.base, rate->percent);
            // The withholding seen before first, the other usual case next.
            return over({full - rate->withheld, rate->withheld ? full : full - WithheldPerAct},
                        ShareSource::BaseAndRate, true);
        }
        const qint64 doctor = atRate(e.base, DoctorRate), other = atRate(e.base, OtherActsRate);
        if (auto p = over({doctor - WithheldPerAct, doctor, other - WithheldPerAct, other},
                          ShareSource::BaseAndRate, false))
            return p;
    }
    if (auto p = over(history_.sameDoctor(AwaitedPayer::Cpam, e), ShareSource::SameDoctor, true))
        return p;
    if (auto p = over(history_.sameSpeciality(AwaitedPayer::Cpam, e), ShareSource::SameSpeciality,
                      false))
        return p;
    // Without a base the cost stands for it; a doctor charging more than the base makes the
    // share smaller, which the range allows.
    auto p = over({atRate(e.cost, DoctorRate) - WithheldPerAct, atRate(e.cost, DoctorRate),
                   atRate(e.cost, OtherActsRate) - WithheldPerAct, atRate(e.cost, OtherActsRate)},
                  ShareSource::CostOnly, false);
    if (p)
        p->low = std::min(p->low, atRate(e.cost, OtherActsRate / 2));
    return p;
}

std::optional<SharePrediction> SharePredictor::predictMutuelle(const CareFacts &e) const
{
    if (e.mutual > 0)
        return over({e.mutual}, ShareSource::TypedAmount, true);
    // What the C.P.A.M. paid, or, while it has not, what it is expected to pay.
    qint64 cpam = e.cpam;
    bool cpamKnown = e.cpamPaid || e.cpam > 0 || e.cpamRefused;
    if (!cpamKnown) {
        const auto predicted = predictCpam(e);
        cpam = predicted ? predicted->expected : 0;
        cpamKnown = predicted && predicted->firm;
    }
    if (e.partial) {
        // A partial reimbursement without an estimate expects nothing more from anyone.
        if (e.estimate <= 0)
            return std::nullopt;
        return over({e.estimate - cpam}, ShareSource::Estimate, cpamKnown);
    }
    if (auto p =
            over(history_.sameDoctor(AwaitedPayer::Mutuelle, e), ShareSource::SameDoctor, true))
        return p;
    const qint64 rest = e.cost - cpam;
    // The participation the C.P.A.M. withheld is usually not covered either.
    const bool withheld = !e.cpamRefused && cpam > 0;
    if (auto p = over(withheld ? std::vector<qint64>{rest - WithheldPerAct, rest}
                               : std::vector<qint64>{rest},
                      ShareSource::RestOfCost, cpamKnown))
        return p;
    return over(history_.sameSpeciality(AwaitedPayer::Mutuelle, e), ShareSource::SameSpeciality,
                false);
}
