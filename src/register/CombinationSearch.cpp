#include "CombinationSearch.h"

#include "ShareSplit.h"

#include <algorithm>
#include <limits>

CombinationSearch::CombinationSearch(qint64 payment, std::vector<Candidate> candidates,
                                     const MatchOptions &options)
    : payment_(payment), candidates_(std::move(candidates)), options_(options)
{
    options_.maxEntries = std::clamp(options_.maxEntries, 1, MaxDepth);
}

bool CombinationSearch::better(const Fit &a, const Fit &b)
{
    if (a.kind != b.kind)
        return a.kind < b.kind;
    if (a.size != b.size)
        return a.size < b.size;
    if (a.unusual != b.unusual)
        return a.unusual < b.unusual;
    if (a.distance != b.distance)
        return a.distance < b.distance;
    if (a.newest != b.newest)
        return a.newest < b.newest;
    return a.oldest < b.oldest;
}

void CombinationSearch::prepareBounds(int size)
{
    searched_ = size == 1 ? candidates_.size()
                          : std::min(candidates_.size(), size_t(options_.combinationPool));
    const size_t n = searched_;
    constexpr qint64 none = std::numeric_limits<qint64>::max() / 4;
    mostHigh_.assign(n + 1, {});
    leastLow_.assign(n + 1, {});
    for (auto &row : leastLow_)
        row.fill(none);
    for (auto &row : mostHigh_)
        row.fill(-none);
    leastLow_[n][0] = mostHigh_[n][0] = 0;
    // The r largest highs and r smallest lows of the candidates from i on, kept sorted.
    std::vector<qint64> highs, lows;
    for (size_t i = n; i-- > 0;) {
        const SharePrediction &p = *candidates_[i].prediction;
        highs.insert(std::upper_bound(highs.begin(), highs.end(), p.high, std::greater<>()),
                     p.high);
        lows.insert(std::upper_bound(lows.begin(), lows.end(), p.low), p.low);
        if (int(highs.size()) > size) {
            highs.pop_back();
            lows.pop_back();
        }
        mostHigh_[i][0] = leastLow_[i][0] = 0;
        for (size_t r = 1; r <= highs.size(); ++r) {
            mostHigh_[i][r] = mostHigh_[i][r - 1] + highs[r - 1];
            leastLow_[i][r] = leastLow_[i][r - 1] + lows[r - 1];
        }
    }
}

std::vector<CombinationSearch::Fit> CombinationSearch::run()
{
    for (int size = 1; size <= options_.maxEntries; ++size) {
        prepareBounds(size);
        if (int(searched_) < size)
            break;
        chosen_.clear();
        if (!search(0, 0, size, 0, 0, 0))
            break; // out of tries
        // Exact fits of few entries beat any of more.
        if (!best_.empty() && best_.front().kind != FitKind::Range)
            break;
    }
    return best_;
}

bool CombinationSearch::search(int start, int depth, int size, qint64 low, qint64 high,
                               qint64 expected)
{
    if (depth == size) {
        evaluate(size, expected);
        return true;
    }
    const int left = size - depth - 1;
    const qint64 tolerance = options_.toleranceCents;
    for (int i = start; i + left < int(searched_); ++i) {
        if (++tries_ > options_.searchBudget)
            return false;
        const SharePrediction &p = *candidates_[size_t(i)].prediction;
        if (low + p.low + leastLow_[size_t(i) + 1][size_t(left)] > payment_ + tolerance)
            continue;
        if (high + p.high + mostHigh_[size_t(i) + 1][size_t(left)] < payment_ - tolerance)
            continue;
        chosen_.push_back(i);
        const bool goOn =
            search(i + 1, depth + 1, size, low + p.low, high + p.high, expected + p.expected);
        chosen_.pop_back();
        if (!goOn)
            return false;
    }
    return true;
}

bool CombinationSearch::exactValues(std::vector<qint64> &shares) const
{
    // Every choice of one likely amount per entry (a few each), the fewest departures from
    // the expected amounts first.
    const size_t n = chosen_.size();
    const qint64 slack = qint64(n) - 1;
    // What the entries from each one on can still add, to cut hopeless choices short.
    std::vector<qint64> least(n + 1, 0), most(n + 1, 0);
    for (size_t k = n; k-- > 0;) {
        const SharePrediction &p = *candidates_[size_t(chosen_[k])].prediction;
        least[k] = least[k + 1] + p.low;
        most[k] = most[k + 1] + p.high;
    }
    int bestChanges = std::numeric_limits<int>::max();
    std::vector<size_t> pick(n, 0), bestPick;
    const auto walk = [&](auto &self, size_t at, qint64 sum, int changes) -> void {
        if (changes >= bestChanges || sum + least[at] > payment_ + slack ||
            sum + most[at] < payment_ - slack)
            return;
        if (at == n) {
            if (std::abs(sum - payment_) <= slack) {
                bestChanges = changes;
                bestPick = pick;
            }
            return;
        }
        const auto &values = candidates_[size_t(chosen_[at])].prediction->candidates;
        for (size_t v = 0; v < values.size(); ++v) {
            pick[at] = v;
            self(self, at + 1, sum + values[v].amount, changes + (v != 0));
        }
    };
    walk(walk, 0, 0, 0);
    if (bestPick.empty())
        return false;
    shares.clear();
    for (size_t k = 0; k < n; ++k)
        shares.push_back(
            candidates_[size_t(chosen_[k])].prediction->candidates[bestPick[k]].amount);
    return true;
}

void CombinationSearch::evaluate(int size, qint64 expected)
{
    Fit fit;
    fit.size = size;
    fit.distance = std::abs(payment_ - expected);
    fit.oldest = fit.newest = candidates_[size_t(chosen_.front())].date;
    for (int i : chosen_) {
        const Candidate &c = candidates_[size_t(i)];
        fit.oldest = std::min(fit.oldest, c.date);
        fit.newest = std::max(fit.newest, c.date);
        fit.unusual += c.usual ? 0 : 1;
    }
    // A cent per entry beyond the first is the payer's rounding.
    if (fit.distance <= size - 1) {
        fit.kind = FitKind::Expected;
    } else {
        // Most leaves are approximate and beaten by what is kept: they cost no more than this.
        fit.kind = FitKind::Alternative;
        if (!wouldKeep(fit))
            return;
        if (!exactValues(fit.shares))
            fit.kind = FitKind::Range;
    }
    if (fit.kind != FitKind::Range) {
        if (bestExactSize_ == 0 || size < bestExactSize_) {
            bestExactSize_ = size;
            exactOfBestSize_ = 0;
        }
        if (size == bestExactSize_)
            ++exactOfBestSize_;
    }
    if (!wouldKeep(fit))
        return;
    fit.members = chosen_;
    if (fit.shares.empty()) {
        std::vector<SharePrediction> predictions;
        for (int i : chosen_)
            predictions.push_back(*candidates_[size_t(i)].prediction);
        fit.shares = ShareSplit::spread(payment_, predictions);
    } else {
        // Rounding cents go to the first entries, so that the shares make the payment.
        std::vector<qint64> weights(fit.shares.size(), 1);
        fit.shares = ShareSplit::spread(payment_, fit.shares, weights);
    }
    keep(std::move(fit));
}

bool CombinationSearch::wouldKeep(const Fit &fit) const
{
    return int(best_.size()) < options_.maxCombinations || better(fit, best_.back());
}

void CombinationSearch::keep(Fit fit)
{
    const auto at = std::upper_bound(best_.begin(), best_.end(), fit, better);
    if (at - best_.begin() >= options_.maxCombinations)
        return;
    best_.insert(at, std::move(fit));
    if (int(best_.size()) > options_.maxCombinations)
        best_.pop_back();
}
