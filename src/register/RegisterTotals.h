#pragma once

#include <QStringList>

// The sums over the entries in view, in cents: costs, both payers' reimbursements, the gaps,
// the reimbursements still awaited and what the C.P.A.M. withheld by law (part of the gaps,
// not awaited); and how the window shows them. Sums of a register that
// is not open (its file missing or unreadable) are unknown and show no amount at all.
struct RegisterTotals {
    bool known = false;
    qint64 cost = 0;
    qint64 cpam = 0;
    qint64 mutual = 0;
    qint64 gap = 0;
    qint64 awaited = 0;
    qint64 withheld = 0;

    // The four status bar panels: "Total coût : 1 234,50 €", ...; captions alone when unknown.
    QStringList statusTexts() const;
    // The caption of the awaited amount; empty when unknown.
    QString awaitedText() const;
    // The panels' texts before the first computation.
    static QStringList initialStatusTexts();

    bool operator==(const RegisterTotals &) const = default;
};
