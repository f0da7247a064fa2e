#pragma once

#include "ShareCandidate.h"

#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

// Where a predicted share comes from, strongest clue first.
enum class ShareSource {
    TypedAmount,    // the payer's amount is already typed on the entry, without its date
    Estimate,       // a partial reimbursement's estimate, less what the C.P.A.M. paid
    BaseAndRate,    // the C.P.A.M.: its rate of the base, less what the law withholds
    Contract,       // the mutuelle: its contract's share of the base beyond the C.P.A.M.'s
    SameDoctor,     // what this payer paid before for the same doctor and cost
    SameSpeciality, // what this payer paid before for the same speciality and cost
    CostOnly,       // a guess from the cost alone
};

// What one payer is expected to pay for one care entry: the few exact amounts its arithmetic
// allows (likeliest first: the rate learned, the boxes the cost suggests...), not a range.
struct SharePrediction {
    std::vector<ShareCandidate> candidates; // likeliest first, amounts all different
    qint64 expected = 0;                    // the first candidate's amount
    qint64 low = 0, high = 0;               // the smallest and largest candidate
    ShareSource source = ShareSource::CostOnly;
    // Every candidate read from the entry or the family's history: an exact fit is sure.
    bool firm = false;

    // A prediction over these candidates (those above zero, each amount once); none when
    // nothing is left.
    static std::optional<SharePrediction> over(const std::vector<ShareCandidate> &candidates,
                                               ShareSource source);
    const ShareCandidate *find(qint64 amount) const;
    // "montant saisi", "taux et base"...
    static QString sourceText(ShareSource source);
};
