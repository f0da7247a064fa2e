#pragma once

#include "AwaitedPayer.h"
#include "CareFacts.h"
#include "PaymentHistory.h"
#include "SharePrediction.h"

#include <optional>

// Predicts what a payer will pay for a care entry it still owes: from the entry itself where
// it tells (an amount typed, the estimate, the "Base" at the usual rate), else from what the
// payer paid before for the same doctor or speciality and cost, else from the cost alone.
class SharePredictor
{
public:
    // What the national insurance withholds per act when nothing says otherwise (the
    // participation forfaitaire); the mutuelle does not cover it either.
    static constexpr qint64 WithheldPerAct = 200;
    static constexpr int DoctorRate = 70, OtherActsRate = 60;

    explicit SharePredictor(const PaymentHistory &history) : history_(history) {}

    // True while the entry waits for that payer: its payment date is empty (and, for the
    // C.P.A.M., the act is not marked as not reimbursed).
    static bool owes(const CareFacts &entry, AwaitedPayer payer);
    // Nothing when the payer does not owe the entry or is not expected to pay anything.
    std::optional<SharePrediction> predict(const CareFacts &entry, AwaitedPayer payer) const;

private:
    std::optional<SharePrediction> predictCpam(const CareFacts &entry) const;
    std::optional<SharePrediction> predictMutuelle(const CareFacts &entry) const;

    const PaymentHistory &history_;
};
