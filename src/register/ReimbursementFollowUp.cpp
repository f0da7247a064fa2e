#include "ReimbursementFollowUp.h"

#include <algorithm>

ReimbursementFollowUp::ReimbursementFollowUp(const std::vector<CareFacts> &entries,
                                             const QDate &today,
                                             std::optional<AwaitedPayer> onlyPayer)
{
    for (const CareFacts &entry : entries) {
        const qint64 awaited = entry.awaited();
        if (awaited == 0)
            continue;
        const AwaitedPayer payer = entry.payer();
        if (onlyPayer && payer != *onlyPayer)
            continue;
        const int age = entry.ageInDays(today);
        lines_.push_back({entry, awaited, payer, age});
        totals_[size_t(payer)] += awaited;
        bands_[size_t(AgeBands::of(age))][size_t(payer)] += awaited;
    }
    // The register's order is by date already; stable keeps its order among equal dates.
    const auto older = [](const Line &a, const Line &b) { return a.entry.date < b.entry.date; };
    if (!std::is_sorted(lines_.begin(), lines_.end(), older))
        std::stable_sort(lines_.begin(), lines_.end(), older);
}

qint64 ReimbursementFollowUp::total() const
{
    return sum(totals_);
}

qint64 ReimbursementFollowUp::sum(const PayerSums &sums)
{
    return sums[0] + sums[1] + sums[2];
}
