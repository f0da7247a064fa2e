#pragma once

#include "AwaitedPayer.h"
#include "LedgerKey.h"
#include "StatementLine.h"

#include <QDateTime>

#include <functional>
#include <vector>

class CareRegister;
class Table;

// One payment as the person confirmed it: the entries it paid (row ids) and each one's share.
struct ConfirmedPayment {
    struct Share {
        qint64 row = 0;
        qint64 cents = 0;
    };
    StatementLine line;
    LedgerKey key;
    AwaitedPayer payer = AwaitedPayer::Cpam;
    std::vector<Share> shares;
    // The person said this label is the payer's: it is recognised from now on.
    bool rememberLabel = false;
};

// Writes confirmed payments into the register: on each entry, on that payer's page, the
// payment's date and the share, set on the table and posted as typing does (so the rate, the
// gap, the sums and the follow-up follow), and each line into the ledger; all of it in one
// transaction, so that a failure anywhere leaves the register and the ledger as they were.
class ReimbursementApplier
{
public:
    explicit ReimbursementApplier(CareRegister &rules);

    // A pending edit of the register is posted first, as a move would. Throws PlatformError
    // (its message says that nothing was written) on a refusal or a failure.
    void apply(const std::vector<ConfirmedPayment> &payments, const QDateTime &at);

    // Called after each write (each entry posted, each ledger line) with its number from 1;
    // a test stops the apply there by throwing.
    std::function<void(int step)> afterStep;

private:
    void check(const std::vector<ConfirmedPayment> &payments) const;
    void writeInView(const std::vector<ConfirmedPayment> &payments, const QDateTime &at);
    void write(const std::vector<ConfirmedPayment> &payments, const QDateTime &at);

    CareRegister &rules_;
    Table &table_;
};
