#pragma once

#include "AgeBands.h"
#include "AwaitedPayer.h"
#include "CareFacts.h"

#include <QDate>

#include <array>
#include <optional>
#include <vector>

// The reimbursements still awaited in a register view: one line per entry whose awaited
// amount is not zero, the oldest care first, with the sums per payer overall and per age band.
// The lines of every payer add up to the register's "Remboursements attendus".
class ReimbursementFollowUp
{
public:
    struct Line {
        CareFacts entry;
        qint64 awaited = 0;
        AwaitedPayer payer = AwaitedPayer::Cpam;
        int ageInDays = 0;
        // Late, but not so old that a reminder would be in vain.
        bool late() const { return AgeBands::actionable(ageInDays); }
    };
    using PayerSums = std::array<qint64, 3>; // indexed by AwaitedPayer

    // `onlyPayer` keeps the lines of one payer; none keeps them all.
    ReimbursementFollowUp(const std::vector<CareFacts> &entries, const QDate &today,
                          std::optional<AwaitedPayer> onlyPayer = std::nullopt);

    const std::vector<Line> &lines() const { return lines_; }
    const PayerSums &totals() const { return totals_; }
    qint64 total() const;
    // Sums per payer of each age band, youngest band first.
    const std::array<PayerSums, AgeBands::count> &bands() const { return bands_; }
    static qint64 sum(const PayerSums &sums);

private:
    std::vector<Line> lines_;
    PayerSums totals_{};
    std::array<PayerSums, AgeBands::count> bands_{};
};
