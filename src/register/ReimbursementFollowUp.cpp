#include "ReimbursementFollowUp.h"

ReimbursementFollowUp::ReimbursementFollowUp(std::shared_ptr<const FollowUpLines> lines,
                                             const QDate &today,
                                             std::optional<AwaitedPayer> onlyPayer)
    : lines_(std::move(lines)), today_(today)
{
    if (onlyPayer)
        shown_.emplace();
    for (size_t i = 0; i < lines_->size(); ++i) {
        const AwaitedPayer payer = lines_->payer(i);
        if (onlyPayer && payer != *onlyPayer)
            continue;
        if (shown_)
            shown_->push_back(quint32(i));
        const qint64 awaited = lines_->awaited(i);
        totals_[size_t(payer)] += awaited;
        bands_[size_t(AgeBands::of(ageInDays(lines_->date(i))))][size_t(payer)] += awaited;
    }
}

ReimbursementFollowUp::ReimbursementFollowUp(const std::vector<CareFacts> &entries,
                                             const QDate &today,
                                             std::optional<AwaitedPayer> onlyPayer)
    : ReimbursementFollowUp(std::make_shared<const FollowUpLines>(entries), today, onlyPayer)
{
}

int ReimbursementFollowUp::ageInDays(const QDate &date) const
{
    return date.isValid() ? int(date.daysTo(today_)) : 0;
}

ReimbursementFollowUp::Line ReimbursementFollowUp::line(size_t i) const
{
    Line l;
    static_cast<FollowUpLines::Line &>(l) = lines_->at(at(i));
    l.ageInDays = ageInDays(l.date);
    return l;
}

bool ReimbursementFollowUp::late(size_t i) const
{
    return AgeBands::actionable(ageInDays(lines_->date(at(i))));
}

qint64 ReimbursementFollowUp::total() const
{
    return sum(totals_);
}

qint64 ReimbursementFollowUp::sum(const PayerSums &sums)
{
    return sums[0] + sums[1] + sums[2];
}
