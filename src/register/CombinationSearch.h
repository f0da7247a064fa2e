#pragma once

#include "MatchOptions.h"
#include "PaymentProposal.h"
#include "SharePrediction.h"

#include <QDate>

#include <array>
#include <vector>

// The bounded search for the entries one payment settles: every combination of up to
// maxEntries candidates whose predicted shares can make the payment, fewest entries first,
// pruned by what the remaining candidates can add, and stopped after searchBudget tries.
class CombinationSearch
{
public:
    struct Candidate {
        const SharePrediction *prediction = nullptr;
        QDate date;
        // Cared for within the payer's usual delay before the payment.
        bool usual = true;
    };
    struct Fit {
        std::vector<int> members; // indexes into the candidates
        int size = 0;
        std::vector<qint64> shares;
        FitKind kind = FitKind::Range;
        qint64 distance = 0; // from the payment to the expected shares' sum
        int unusual = 0;     // entries cared for outside the payer's usual delay
        QDate newest, oldest;
    };

    // Candidates likeliest first (usual delay, then oldest care): single entries are taken
    // from all of them, combinations from the first combinationPool.
    CombinationSearch(qint64 payment, std::vector<Candidate> candidates,
                      const MatchOptions &options);

    // The best fits first (at most maxCombinations): exact before approximate, then fewer
    // entries, then cares paid after the usual delay, then closer to the expected sum, then
    // older cares.
    std::vector<Fit> run();
    bool budgetSpent() const { return tries_ > options_.searchBudget; }
    // True when another exact fit of as few entries as the best was seen besides it.
    bool ambiguous() const { return exactOfBestSize_ > 1; }

    static bool better(const Fit &a, const Fit &b);

private:
    static constexpr int MaxDepth = 8;
    void prepareBounds(int size);
    bool search(int start, int depth, int size, qint64 low, qint64 high, qint64 expected);
    void evaluate(int size, qint64 expected);
    bool exactValues(std::vector<qint64> &shares) const;
    bool wouldKeep(const Fit &fit) const;
    void keep(Fit fit);

    qint64 payment_;
    std::vector<Candidate> candidates_;
    size_t searched_ = 0; // candidates looked at for the current size
    MatchOptions options_;
    // For each start position and count r: the largest sum of r highs, the smallest of r lows.
    std::vector<std::array<qint64, MaxDepth + 1>> mostHigh_, leastLow_;
    std::vector<int> chosen_;
    std::vector<Fit> best_;
    long tries_ = 0;
    int exactOfBestSize_ = 0;
    int bestExactSize_ = 0;
};
