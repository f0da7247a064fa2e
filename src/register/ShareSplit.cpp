#include "ShareSplit.h"

#include <algorithm>
#include <numeric>

std::vector<qint64> ShareSplit::spread(qint64 payment, const std::vector<qint64> &start,
                                       const std::vector<qint64> &weights)
{
    std::vector<qint64> shares = start;
    if (shares.empty())
        return shares;
    const qint64 difference = payment - std::accumulate(start.begin(), start.end(), qint64(0));
    qint64 total = 0;
    for (qint64 w : weights)
        total += std::max<qint64>(w, 0);
    std::vector<qint64> weight(shares.size(), 1);
    if (total > 0) {
        for (size_t i = 0; i < shares.size(); ++i)
            weight[i] = std::max<qint64>(weights[i], 0);
    } else {
        total = qint64(shares.size());
    }
    // Whole cents by the weights, then the cents left one by one to the largest remainders.
    const qint64 magnitude = std::abs(difference), sign = difference < 0 ? -1 : 1;
    std::vector<std::pair<qint64, size_t>> remainders;
    qint64 given = 0;
    for (size_t i = 0; i < shares.size(); ++i) {
        const __int128 exact = __int128(magnitude) * weight[i];
        const qint64 whole = qint64(exact / total);
        shares[i] += sign * whole;
        given += whole;
        remainders.push_back({qint64(exact % total), i});
    }
    std::stable_sort(remainders.begin(), remainders.end(),
                     [](const auto &a, const auto &b) { return a.first > b.first; });
    for (size_t k = 0; given < magnitude; ++k, ++given)
        shares[remainders[k % remainders.size()].second] += sign;
    return shares;
}

std::vector<qint64> ShareSplit::spread(qint64 payment,
                                       const std::vector<SharePrediction> &predictions)
{
    std::vector<qint64> start, room;
    qint64 expected = 0;
    for (const SharePrediction &p : predictions) {
        start.push_back(p.expected);
        expected += p.expected;
    }
    const bool up = payment >= expected;
    qint64 totalRoom = 0;
    for (const SharePrediction &p : predictions) {
        room.push_back(up ? p.high - p.expected : p.expected - p.low);
        totalRoom += room.back();
    }
    const qint64 needed = std::abs(payment - expected);
    if (totalRoom >= needed)
        return spread(payment, start, room);
    // Beyond the ranges (within the tolerance): every range used up, the rest by the amounts.
    std::vector<qint64> edge;
    for (const SharePrediction &p : predictions)
        edge.push_back(up ? p.high : p.low);
    return spread(payment, edge, edge);
}

std::vector<qint64> ShareSplit::rebalance(qint64 payment, std::vector<qint64> shares, size_t fixed)
{
    if (fixed >= shares.size() || shares.size() == 1)
        return shares;
    std::vector<qint64> others, weights;
    for (size_t i = 0; i < shares.size(); ++i) {
        if (i != fixed) {
            others.push_back(shares[i]);
            weights.push_back(shares[i]);
        }
    }
    others = spread(payment - shares[fixed], others, weights);
    for (size_t i = 0, k = 0; i < shares.size(); ++i) {
        if (i != fixed)
            shares[i] = others[k++];
    }
    return shares;
}
