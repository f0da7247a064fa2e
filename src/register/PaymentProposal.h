#pragma once

#include "AwaitedPayer.h"
#include "CareFacts.h"
#include "LedgerKey.h"
#include "SharePrediction.h"
#include "StatementLine.h"

#include <QDateTime>
#include <QString>

#include <vector>

// How a combination of entries fits a payment: their expected shares add up to it, or other
// likely amounts of theirs do, or it only falls within their predicted range; or the person
// picked them.
enum class FitKind { Expected, Alternative, Range, ByHand };

// Sure: the one combination of owed entries whose candidate shares make the payment to the cent,
// written unless the person says otherwise. ToChoose: several do; the person picks one, nothing
// is written until then. ToCheck: none does, only a share outside the candidates would make
// it; offered, never written unasked.
enum class Confidence { Sure, ToChoose, ToCheck };

// One entry of a proposal: the entry, the payer's predicted share, and the share to write.
struct ProposedShare {
    CareFacts entry;
    SharePrediction prediction;
    qint64 share = 0;

    // What the payer's arithmetic predicts for this entry here: the candidate the share is (an
    // exact fit picks one, three boxes rather than the two likeliest), else the likeliest.
    qint64 predicted() const { return prediction.find(share) ? share : prediction.expected; }
};

// Entries that together may be what a payment paid; their shares add up to the payment.
struct ProposedCombination {
    std::vector<ProposedShare> shares;
    FitKind fit = FitKind::Range;
    Confidence confidence = Confidence::ToCheck;

    qint64 predictedTotal() const;
    qint64 sharesTotal() const;
    // "sûr", "à choisir", "à vérifier".
    static QString confidenceText(Confidence confidence);
};

// One payment of a statement from a payer, with what it may have paid, best first. None when
// nothing fits: the person may then pick entries by hand.
struct PaymentProposal {
    StatementLine line;
    LedgerKey key;
    AwaitedPayer payer = AwaitedPayer::Cpam;
    bool alreadyApplied = false; // an earlier import applied this line: nothing to propose
    QDateTime appliedAt;
    std::vector<ProposedCombination> combinations;

    bool matched() const { return !combinations.empty(); }
    // Whether the first combination is kept without the person choosing it.
    bool preselected() const
    {
        return matched() && combinations.front().confidence == Confidence::Sure;
    }
};

// A statement as the matching sees it: the payments of the payers, the other credits (which
// the person may mark as the mutuelle's), and how many debits were left aside.
struct MatchResult {
    std::vector<PaymentProposal> payments;
    std::vector<StatementLine> otherCredits;
    int debits = 0;
};
