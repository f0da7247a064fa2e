#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

// Where a predicted share comes from, strongest clue first.
enum class ShareSource {
    TypedAmount,    // the payer's amount is already typed on the entry, without its date
    Estimate,       // a partial reimbursement's estimate, less what the C.P.A.M. paid
    BaseAndRate,    // the entry's "Base" at the payer's usual rate, less what it withholds
    SameDoctor,     // what this payer paid before for the same doctor and cost
    RestOfCost,     // the mutuelle: the cost less what the C.P.A.M. paid
    SameSpeciality, // what this payer paid before for the same speciality and cost
    CostOnly,       // a guess from the cost alone
};

// What one payer is expected to pay for one care entry: the likeliest amount, the few exact
// amounts it may well be (the participation withheld or not...), and the range they span.
struct SharePrediction {
    qint64 expected = 0;
    qint64 low = 0, high = 0;
    std::vector<qint64> values; // exact amounts, `expected` first
    ShareSource source = ShareSource::CostOnly;
    // Read from the entry or from the family's history, not guessed: an exact fit is sure.
    bool firm = false;

    // "montant saisi", "même médecin, même coût"...
    static QString sourceText(ShareSource source);
};
