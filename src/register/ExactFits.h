#pragma once

#include "SharePrediction.h"

#include <QDate>

#include <vector>

// Every combination of owed entries, one candidate share each, whose shares make a payment to
// the cent: a few entries at most, the search bounded so that a statement is matched in a
// moment whatever the register. Whether the list is whole matters: a payment is sure only
// when one combination fits, which a search cut short cannot tell.
class ExactFits
{
public:
    struct Item {
        const SharePrediction *prediction = nullptr;
        QDate date;        // the care's, or for the mutuelle the C.P.A.M.'s payment
        bool usual = true; // within the payer's usual delay before the payment
    };
    struct Fit {
        std::vector<int> members; // indexes into the items, in their order
        std::vector<int> picks;   // the candidate of each member
        int unusual = 0;          // members outside the usual delay
        int rankSum = 0;          // how far from the likeliest candidates
        bool learned = true;      // every candidate picked was read, not taken by default
        QDate newest, oldest;

        std::vector<qint64> shares(const std::vector<Item> &items) const;
        // Likelier first: within the usual delay, fewer entries, likelier candidates, older
        // cares (payers pay in order), cares close together.
        static bool likelier(const Fit &a, const Fit &b);
    };

    ExactFits(qint64 payment, std::vector<Item> items, int maxEntries, int maxFits, long budget);

    // The fits, likeliest first.
    std::vector<Fit> run();
    // False when the search stopped before trying everything.
    bool complete() const { return complete_; }
    const std::vector<Item> &items() const { return items_; }

private:
    void search(size_t start, int left, qint64 sum);
    void found(int last, int pick);

    qint64 payment_;
    std::vector<Item> items_;
    int maxEntries_, maxFits_;
    long budget_, tries_ = 0;
    bool complete_ = true;
    // Each candidate amount, with the items (index, candidate) that may pay it.
    std::vector<std::pair<qint64, std::pair<int, int>>> byAmount_;
    std::vector<std::pair<int, int>> chosen_;
    std::vector<Fit> fits_;
};
