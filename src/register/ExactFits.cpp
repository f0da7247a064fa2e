#include "ExactFits.h"

#include <algorithm>

std::vector<qint64> ExactFits::Fit::shares(const std::vector<Item> &items) const
{
    std::vector<qint64> out;
    for (size_t k = 0; k < members.size(); ++k)
        out.push_back(items[size_t(members[k])].prediction->candidates[size_t(picks[k])].amount);
    return out;
}

bool ExactFits::Fit::likelier(const Fit &a, const Fit &b)
{
    if (a.unusual != b.unusual)
        return a.unusual < b.unusual;
    if (a.members.size() != b.members.size())
        return a.members.size() < b.members.size();
    if (a.rankSum != b.rankSum)
        return a.rankSum < b.rankSum;
    if (a.oldest != b.oldest)
        return a.oldest < b.oldest;
    const qint64 spreadA = a.oldest.daysTo(a.newest), spreadB = b.oldest.daysTo(b.newest);
    if (spreadA != spreadB)
        return spreadA < spreadB;
    return a.members < b.members;
}

ExactFits::ExactFits(qint64 payment, std::vector<Item> items, int maxEntries, int maxFits,
                     long budget)
    : payment_(payment), items_(std::move(items)), maxEntries_(maxEntries), maxFits_(maxFits),
      budget_(budget)
{
    for (size_t i = 0; i < items_.size(); ++i) {
        const auto &candidates = items_[i].prediction->candidates;
        for (size_t c = 0; c < candidates.size(); ++c)
            byAmount_.push_back({candidates[c].amount, {int(i), int(c)}});
    }
    std::sort(byAmount_.begin(), byAmount_.end());
}

std::vector<ExactFits::Fit> ExactFits::run()
{
    if (payment_ > 0) {
        for (int size = 1; size <= maxEntries_ && complete_; ++size)
            search(0, size, 0);
    }
    std::sort(fits_.begin(), fits_.end(), Fit::likelier);
    return fits_;
}

void ExactFits::search(size_t start, int left, qint64 sum)
{
    if (left == 1) {
        // The last entry: its amount is known, looked up among the candidates.
        const qint64 need = payment_ - sum;
        auto at = std::lower_bound(byAmount_.begin(), byAmount_.end(),
                                   std::pair<qint64, std::pair<int, int>>{need, {-1, -1}});
        for (; at != byAmount_.end() && at->first == need; ++at) {
            if (size_t(at->second.first) >= start)
                found(at->second.first, at->second.second);
            if (!complete_)
                return;
        }
        return;
    }
    for (size_t i = start; i + size_t(left) <= items_.size(); ++i) {
        const auto &candidates = items_[i].prediction->candidates;
        for (size_t c = 0; c < candidates.size(); ++c) {
            if (++tries_ > budget_) {
                complete_ = false;
                return;
            }
            const qint64 next = sum + candidates[c].amount;
            if (next >= payment_)
                continue;
            chosen_.push_back({int(i), int(c)});
            search(i + 1, left - 1, next);
            chosen_.pop_back();
            if (!complete_)
                return;
        }
    }
}

void ExactFits::found(int last, int pick)
{
    if (int(fits_.size()) >= maxFits_) {
        complete_ = false;
        return;
    }
    Fit fit;
    for (const auto &[item, candidate] : chosen_) {
        fit.members.push_back(item);
        fit.picks.push_back(candidate);
    }
    fit.members.push_back(last);
    fit.picks.push_back(pick);
    fit.oldest = fit.newest = items_[size_t(last)].date;
    for (size_t k = 0; k < fit.members.size(); ++k) {
        const Item &item = items_[size_t(fit.members[k])];
        fit.unusual += item.usual ? 0 : 1;
        fit.rankSum += fit.picks[k];
        fit.learned = fit.learned && item.prediction->candidates[size_t(fit.picks[k])].learned;
        fit.oldest = std::min(fit.oldest, item.date);
        fit.newest = std::max(fit.newest, item.date);
    }
    fits_.push_back(std::move(fit));
}
