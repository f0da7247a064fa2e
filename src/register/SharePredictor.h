#pragma once

#include "AwaitedPayer.h"
#include "CareFacts.h"
#include "PaymentHistory.h"
#include "SharePrediction.h"

#include <optional>

// The payers' arithmetic for a care entry still owed, as a few exact candidate shares. The
// C.P.A.M.: its rate of the base less what the law withholds (none for an exempt person, none
// past the person's yearly cap). The mutuelle: its contract's share of the base beyond the
// C.P.A.M.'s full share, never what the C.P.A.M. withheld; only once that share is known.
class SharePredictor
{
public:
    explicit SharePredictor(const PaymentHistory &history) : history_(history) {}

    // True while the entry waits for that payer: its payment date is empty (and, for the
    // C.P.A.M., the act is not marked as not reimbursed).
    static bool owes(const CareFacts &entry, AwaitedPayer payer);

    // `pendingBefore`: what the person's earlier cares still owed are expected to have
    // withheld in the same year and kind of withholding.
    std::optional<SharePrediction> predictCpam(const CareFacts &entry,
                                               qint64 pendingBefore = 0) const;
    // The C.P.A.M.'s share of an entry as the mutuelle's contract sees it.
    struct CpamShare {
        qint64 paid = 0, full = 0;
    };
    // Nothing while the C.P.A.M.'s share is not known (`cpam` empty), unless it pays nothing.
    std::optional<SharePrediction> predictMutuelle(const CareFacts &entry,
                                                   std::optional<CpamShare> cpam) const;
    // The C.P.A.M.'s share as written on the entry, if it is.
    std::optional<CpamShare> writtenCpam(const CareFacts &entry) const;
    // For an entry picked by hand: the mutuelle's over the C.P.A.M.'s written or expected share.
    std::optional<SharePrediction> predict(const CareFacts &entry, AwaitedPayer payer) const;

private:
    const PaymentHistory &history_;
};
