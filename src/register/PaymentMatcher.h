#pragma once

#include "CareFacts.h"
#include "ExactFits.h"
#include "MatchOptions.h"
#include "PaymentHistory.h"
#include "PaymentProposal.h"
#include "SharePredictor.h"

#include <QHash>
#include <QSet>

#include <array>
#include <vector>

class PayerRecognition;
class StatementLedger;

// Fits a statement's payments to the register with the payers' own arithmetic. A payment is
// "sûr" when exactly one combination of owed entries, one candidate share each, makes it to
// the cent, once the entries of the other sure payments are set aside; "à choisir" when
// several do (the person picks); "à vérifier" when only an approximate one does; none fits:
// left aside. The C.P.A.M.'s payments are settled first: the mutuelle's are fitted only to
// cares whose C.P.A.M. share is written, or paid earlier in the same statement.
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
    // An entry a payer owes, with its candidate shares and the day from which it may be paid
    // (the care for the C.P.A.M., the C.P.A.M.'s payment for the mutuelle).
    struct Owed {
        size_t entry = 0;
        SharePrediction prediction;
        QDate from;
        bool sure = true; // its C.P.A.M. share comes from a sure payment or the register
    };
    // One payment's exact fits over the owed entries it may pay.
    struct Fitted {
        std::vector<const Owed *> owed;
        std::vector<ExactFits::Fit> fits;
        std::vector<ExactFits::Item> items;
        bool complete = true;
        // Every entry it may pay is predicted from learned arithmetic: a unique fit can be
        // trusted only when no entry could be paying it in a way the candidates miss.
        bool allLearned = true;
    };
    Fitted fit(const PaymentProposal &payment, const std::vector<Owed> &pool,
               const QSet<qint64> &taken) const;
    void settle(MatchResult &result, const std::vector<size_t> &open,
                const std::vector<Owed> &pool) const;
    void approximate(PaymentProposal &proposal, const std::vector<Owed> &pool,
                     const QSet<qint64> &taken) const;
    ProposedCombination combination(const Fitted &fitted, const ExactFits::Fit &fit,
                                    Confidence confidence) const;
    std::vector<Owed> mutuellePool(const MatchResult &result,
                                   const std::vector<size_t> &cpamOpen) const;

    std::vector<CareFacts> entries_;
    MatchOptions options_;
    PaymentHistory history_;
    SharePredictor predictor_;
    std::vector<Owed> cpamOwed_;     // oldest care first
    std::vector<Owed> mutuelleOwed_; // entries whose C.P.A.M. share is written
};
