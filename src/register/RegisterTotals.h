#pragma once

#include <QStringList>

// The sums over the entries in view, in cents: costs, both payers' reimbursements, the gaps
// and the reimbursements still awaited; and how the window shows them.
struct RegisterTotals {
    qint64 cost = 0;
    qint64 cpam = 0;
    qint64 mutual = 0;
    qint64 gap = 0;
    qint64 awaited = 0;

    // The four status bar panels: "Total coût : 1 234,50 €", ...
    QStringList statusTexts() const;
    // The caption of the awaited amount.
    QString awaitedText() const;
    // The panels' texts before the first computation.
    static QStringList initialStatusTexts();

    bool operator==(const RegisterTotals &) const = default;
};
