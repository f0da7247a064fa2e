#include "SharePredictor.h"

#include <algorithm>

namespace
{

ShareCandidate typed(qint64 amount)
{
    return ShareCandidate{amount, amount, 0, true};
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

std::optional<SharePrediction> SharePredictor::predictCpam(const CareFacts &e,
                                                           qint64 pendingBefore) const
{
    if (!owes(e, AwaitedPayer::Cpam))
        return std::nullopt;
    if (e.cpam > 0)
        return SharePrediction::over({typed(e.cpam)}, ShareSource::TypedAmount);
    const CareAct act = CareActs::of(e.speciality);
    const qint64 unit = CpamRules::unit(act, e.date);
    const PaymentHistory::Exemption exemption = history_.exemption(e.beneficiary);
    // The withholdings this care may have had, likeliest first.
    struct Withheld {
        qint64 amount;
        bool learned;
    };
    std::vector<Withheld> withheld;
    if (unit <= 0 || exemption == PaymentHistory::Exemption::Exempt) {
        withheld.push_back({0, true});
    } else {
        const auto kind = CpamRules::withholdingOf(act);
        const qint64 written = history_.withheldIn(e.beneficiary, e.date.year(), kind);
        const qint64 left = std::max<qint64>(0, CpamRules::YearlyCap - written - pendingBefore);
        const qint64 leftWritten = std::max<qint64>(0, CpamRules::YearlyCap - written);
        const bool known = exemption == PaymentHistory::Exemption::Withheld;
        for (int units : history_.units(e)) {
            const qint64 full = units * unit;
            withheld.push_back({std::min(full, left), known});
            // Near the cap, the earlier cares still owed may not have been counted first.
            if (left < full)
                withheld.push_back({std::min(full, leftWritten), known});
        }
        if (!known)
            withheld.push_back({0, false});
    }
    std::vector<ShareCandidate> candidates;
    bool learned = false;
    for (const PaymentHistory::Tariff &t : history_.tariffs(e)) {
        const qint64 full = CpamRules::atRate(t.base, t.rate);
        learned = learned || t.learned;
        for (const Withheld &w : withheld)
            candidates.push_back({full - w.amount, full, w.amount, t.learned && w.learned});
    }
    if (!learned) {
        // A doctor whose shares the law does not explain: what was paid before for that cost.
        for (qint64 paid : history_.sameDoctor(AwaitedPayer::Cpam, e))
            candidates.push_back({paid, paid, 0, false});
    }
    auto p = SharePrediction::over(candidates, e.base > 0 || learned ? ShareSource::BaseAndRate
                                                                     : ShareSource::CostOnly);
    return p;
}

std::optional<SharePredictor::CpamShare> SharePredictor::writtenCpam(const CareFacts &e) const
{
    if (e.cpamRefused)
        return CpamShare{0, 0};
    if (!e.cpamPaid)
        return std::nullopt;
    return CpamShare{e.cpam, history_.writtenFull(e)};
}

std::optional<SharePrediction> SharePredictor::predictMutuelle(const CareFacts &e,
                                                               std::optional<CpamShare> cpam) const
{
    if (!owes(e, AwaitedPayer::Mutuelle))
        return std::nullopt;
    if (e.mutual > 0)
        return SharePrediction::over({typed(e.mutual)}, ShareSource::TypedAmount);
    if (!cpam)
        return std::nullopt;
    if (e.partial) {
        // A partial reimbursement without an estimate expects nothing more from anyone.
        if (e.estimate <= 0)
            return std::nullopt;
        return SharePrediction::over({typed(e.estimate - cpam->paid)}, ShareSource::Estimate);
    }
    std::vector<ShareCandidate> candidates;
    const std::vector<qint64> before = history_.sameDoctor(AwaitedPayer::Mutuelle, e);
    if (e.cpamRefused) {
        for (qint64 paid : before)
            candidates.push_back({paid, 0, 0, true});
        candidates.push_back({e.cost, 0, 0, false});
        return SharePrediction::over(candidates, before.empty() ? ShareSource::CostOnly
                                                                : ShareSource::SameDoctor);
    }
    const std::vector<PaymentHistory::Tariff> tariffs = history_.tariffs(e);
    const qint64 base = tariffs.empty() ? e.cost : tariffs.front().base;
    std::vector<int> contracts = history_.contracts(e);
    const bool learned = !contracts.empty();
    if (!learned)
        contracts = {100, 0}; // the rest of the base, or the whole cost
    for (int contract : contracts) {
        const qint64 covered =
            contract == 0 ? e.cost : std::min(e.cost, CpamRules::atRate(base, contract));
        candidates.push_back({covered - cpam->full, 0, 0, learned});
    }
    for (qint64 paid : before)
        candidates.push_back({paid, 0, 0, false});
    return SharePrediction::over(candidates, ShareSource::Contract);
}

std::optional<SharePrediction> SharePredictor::predict(const CareFacts &e, AwaitedPayer payer) const
{
    if (payer == AwaitedPayer::Cpam)
        return predictCpam(e);
    std::optional<CpamShare> cpam = writtenCpam(e);
    if (!cpam) {
        if (const auto expected = predictCpam(e))
            cpam = CpamShare{expected->expected, expected->candidates.front().full};
    }
    return predictMutuelle(e, cpam);
}
