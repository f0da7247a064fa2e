#pragma once

#include "register/PaymentProposal.h"
#include "register/ReimbursementApplier.h"

#include <QList>
#include <QMultiHash>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class PaymentMatcher;

// An entry the person may pick for a payment, and the other payment of that payer that keeps
// it now, if any (such an entry is shown, not offered).
struct PickableShare {
    ProposedShare share;
    std::optional<size_t> heldBy;
};

// What the person decides about a matched statement before anything is written: for each
// payment, which proposed combination (or none) and the share each of its entries gets. The
// shares of a kept payment are checked to add up to it; only then is the statement confirmable.
// Only a sure proposal is kept unasked. An entry kept by one payment is no longer offered by
// the other payments of that payer: when the person chooses, a payment the program chose that
// held the same entries lets them go, and a payment left with a single exact fit takes it.
// With the matcher that made the proposals, the person may also pick a payment's entries by
// hand, in place of the proposals or where none fits.
class ImportSession
{
public:
    static constexpr int None = -1;   // the payment is left unwritten
    static constexpr int ByHand = -2; // the entries the person picked

    explicit ImportSession(MatchResult result, std::shared_ptr<const PaymentMatcher> matcher = {});

    const MatchResult &result() const { return result_; }
    size_t paymentCount() const { return result_.payments.size(); }
    const PaymentProposal &payment(size_t i) const { return result_.payments.at(i); }

    // The combination kept for payment i, None when it is not written, ByHand.
    int chosen(size_t i) const { return choices_.at(i).combination; }
    // Whether the person made that choice (rather than the program).
    bool chosenByPerson(size_t i) const { return choices_.at(i).byPerson; }
    // The person's choice. ByHand takes back the entries picked last for that payment, if any.
    void choose(size_t i, int combination);
    // The combinations of payment i that no other payment of its payer holds an entry of,
    // likeliest first, with the one kept now whatever others hold.
    std::vector<int> open(size_t i) const;
    // The payment's state in words: "sûr", "à choisir : touche 1 à 2", "aucun soin attendu ne
    // correspond : laissé de côté", "déjà enregistré le ..."...
    QString state(size_t i) const;

    // Whether entries can be picked by hand for payment i (not for one already applied).
    bool canPick(size_t i) const;
    // The entries that may be picked for payment i: owed by its payer and cared for before it,
    // newest first, each with the other payment of that payer that keeps it, if any.
    std::vector<PickableShare> pickable(size_t i) const;
    // The entries picked for payment i (row ids) become its proposal, the payment spread over
    // them; nothing picked leaves the choice as it was.
    void pickByHand(size_t i, const QList<qint64> &rows);
    // The last entries picked for payment i, if any.
    const std::optional<ProposedCombination> &picked(size_t i) const { return picked_.at(i); }
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
        bool byPerson = false;
    };
    using RowIndex = QMultiHash<qint64, size_t>; // entry (row id) -> payment
    size_t slot(size_t i) const;
    void keep(size_t i, int combination, bool byPerson);
    void settle(QList<qint64> rows, size_t payer);
    bool heldElsewhere(size_t i, const std::vector<ProposedShare> &shares) const;
    QString twicePaid() const;

    MatchResult result_;
    std::shared_ptr<const PaymentMatcher> matcher_;
    std::vector<Choice> choices_;
    std::vector<std::optional<ProposedCombination>> picked_;
    RowIndex held_[2];    // per payer: the payments keeping each entry
    RowIndex offered_[2]; // per payer: the payments whose proposals hold each entry
};
