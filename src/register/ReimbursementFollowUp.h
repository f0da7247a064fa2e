#pragma once

#include "AgeBands.h"
#include "AwaitedPayer.h"
#include "CareFacts.h"
#include "FollowUpLines.h"

#include <QDate>

#include <array>
#include <memory>
#include <optional>
#include <vector>

// The reimbursements still awaited in a register view: one line per entry whose awaited
// amount is not zero, the oldest care first, with the sums per payer overall and per age band.
// The lines of every payer add up to the register's "Remboursements attendus". The lines are
// shared by the follow-ups of every payer over the same view; one payer's follow-up keeps the
// numbers of its lines only.
class ReimbursementFollowUp
{
public:
    struct Line : FollowUpLines::Line {
        int ageInDays = 0;
        // Late, but not so old that a reminder would be in vain.
        bool late() const { return AgeBands::actionable(ageInDays); }
    };
    using PayerSums = std::array<qint64, 3>; // indexed by AwaitedPayer

    // `onlyPayer` keeps the lines of one payer; none keeps them all.
    ReimbursementFollowUp(std::shared_ptr<const FollowUpLines> lines, const QDate &today,
                          std::optional<AwaitedPayer> onlyPayer = std::nullopt);
    ReimbursementFollowUp(const std::vector<CareFacts> &entries, const QDate &today,
                          std::optional<AwaitedPayer> onlyPayer = std::nullopt);

    size_t size() const { return shown_ ? shown_->size() : lines_->size(); }
    bool empty() const { return size() == 0; }
    // The line at `i` (below size()), its texts and age worked out now.
    Line line(size_t i) const;
    qint64 rowId(size_t i) const { return lines_->rowId(at(i)); }
    AwaitedPayer payer(size_t i) const { return lines_->payer(at(i)); }
    bool late(size_t i) const;
    const std::shared_ptr<const FollowUpLines> &allLines() const { return lines_; }

    const PayerSums &totals() const { return totals_; }
    qint64 total() const;
    // Sums per payer of each age band, youngest band first.
    const std::array<PayerSums, AgeBands::count> &bands() const { return bands_; }
    static qint64 sum(const PayerSums &sums);

private:
    size_t at(size_t i) const { return shown_ ? (*shown_)[i] : i; }
    int ageInDays(const QDate &date) const;

    std::shared_ptr<const FollowUpLines> lines_;
    QDate today_;
    std::optional<std::vector<quint32>> shown_; // one payer's lines
    PayerSums totals_{};
    std::array<PayerSums, AgeBands::count> bands_{};
};
