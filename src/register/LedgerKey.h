#pragma once

#include "AwaitedPayer.h"
#include "StatementLine.h"

#include <QString>

#include <optional>
#include <vector>

class PayerRecognition;

// What identifies a statement line across imports, whatever a bank's export words or cuts its
// label: its payer, date and amount and its rank among the equal lines of the file (two
// transfers of 19,00 € the same day are two payments), and the bank's own identifier where the
// file gives one. Without the payer, the rank is among every equal line of the file.
struct LedgerKey {
    QString bankId;
    std::optional<AwaitedPayer> payer;
    QDate date;
    qint64 cents = 0;
    QString label; // LabelWords::comparable, kept for the person, not compared
    int occurrence = 1;

    // "LIGNE:<date>|<cents>|<label>|<rank>", as the ledger's "Ligne" column has always held.
    QString lineText() const;

    // The keys of a statement's lines, in the same order, ranked among equal date and amount.
    static std::vector<LedgerKey> of(const std::vector<StatementLine> &lines);
    // The same, each line's payer told by `payers` and ranked among that payer's lines.
    static std::vector<LedgerKey> of(const std::vector<StatementLine> &lines,
                                     const PayerRecognition &payers);
};
