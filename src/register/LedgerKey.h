#pragma once

#include "StatementLine.h"

#include <QString>

#include <vector>

// What identifies a statement line across imports: the bank's own identifier when the file
// carries one, and always its date, amount, label and rank among the identical lines of that
// day (two equal payments on one day are two payments).
struct LedgerKey {
    QString bankId;
    QDate date;
    qint64 cents = 0;
    QString label; // LabelWords::comparable
    int occurrence = 1;

    // "FITID:<id>" or "LIGNE:<date>|<cents>|<label>|<rank>": unique in the ledger.
    QString text() const;
    // The date, amount, label and rank alone.
    QString lineText() const;

    // The keys of a statement's lines, in the same order.
    static std::vector<LedgerKey> of(const std::vector<StatementLine> &lines);
};
