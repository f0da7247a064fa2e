#pragma once

#include "CareFacts.h"
#include "MatchOptions.h"
#include "PaymentHistory.h"
#include "PaymentProposal.h"
#include "SharePredictor.h"

#include <QSet>

#include <array>
#include <vector>

class PayerRecognition;
class StatementLedger;

// Fits a statement's payments to the register: for each payment of a payer, the entries that
// payer still owes whose predicted shares make the payment, best first. Within one statement
// an entry is proposed to one payment of a payer only: payments whose fit is surest choose
// first, then the others in date order among what is left.
class PaymentMatcher
{
public:
    // Every entry of the register (the history is read from those already paid).
    explicit PaymentMatcher(std::vector<CareFacts> entries, MatchOptions options = {});

    MatchResult match(const std::vector<StatementLine> &lines, const PayerRecognition &payers,
                      const StatementLedger &ledger) const;

    // The proposals for one line taken as that payer's (a credit the person marked), leaving
    // out the entries in `taken` (row ids).
    PaymentProposal propose(const StatementLine &line, const LedgerKey &key, AwaitedPayer payer,
                            const QSet<qint64> &taken = {}) const;
    // The entries the person may pick by hand for a payment: owed by its payer and cared for
    // before it, newest first, with their predicted shares.
    std::vector<ProposedShare> pickable(const PaymentProposal &payment) const;
    // A combination of entries picked by hand (row ids), the payment spread over them.
    ProposedCombination byHand(const PaymentProposal &payment, const QList<qint64> &rows) const;

private:
    struct Owed {
        size_t entry = 0;
        SharePrediction prediction;
    };
    const std::vector<Owed> &owedTo(AwaitedPayer payer) const;
    void search(PaymentProposal &proposal, const QSet<qint64> &taken) const;

    std::vector<CareFacts> entries_;
    MatchOptions options_;
    PaymentHistory history_;
    SharePredictor predictor_;
    std::array<std::vector<Owed>, 2> owed_; // per payer, oldest care first
};
