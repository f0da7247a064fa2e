#pragma once

#include "register/PaymentProposal.h"
#include "register/ReimbursementApplier.h"

#include <QString>

#include <vector>

// What the person decides about a matched statement before anything is written: for each
// payment, which proposed combination (or none) and the share each of its entries gets. The
// shares of a kept payment are checked to add up to it; only then is the statement confirmable.
class ImportSession
{
public:
    static constexpr int None = -1; // the payment is left unwritten

    explicit ImportSession(MatchResult result);

    const MatchResult &result() const { return result_; }
    size_t paymentCount() const { return result_.payments.size(); }
    const PaymentProposal &payment(size_t i) const { return result_.payments.at(i); }

    // The combination kept for payment i, None when it is not written.
    int chosen(size_t i) const { return choices_.at(i).combination; }
    void choose(size_t i, int combination);
    // The shares kept for payment i, in the order of its combination's entries.
    const std::vector<qint64> &shares(size_t i) const { return choices_.at(i).shares; }
    const std::vector<ProposedShare> &entries(size_t i) const;
    // The person typed share k of payment i: the others take the difference, so that the
    // total stays the payment where they can.
    void setShare(size_t i, size_t k, qint64 cents);

    // Why the statement cannot be confirmed yet (French), empty when it can.
    QString problem() const;
    // The payments kept, as the apply writes them.
    std::vector<ConfirmedPayment> confirmed() const;
    qint64 writtenTotal() const;
    int writtenEntries() const;

    // "12,34 €".
    static QString money(qint64 cents);

private:
    struct Choice {
        int combination = None;
        std::vector<qint64> shares;
    };
    MatchResult result_;
    std::vector<Choice> choices_;
};
