#pragma once

#include "AwaitedPayer.h"

#include "platform/store/Bookmark.h"

#include <QDate>
#include <QString>

// What the follow-up and the year summary need of one care entry, amounts in cents (an empty
// amount is 0), and the rules that split its cost between the payers and the family.
struct CareFacts {
    Bookmark row;
    QDate date;
    QString beneficiary, doctor, speciality;
    qint64 cost = 0, cpam = 0, mutual = 0, estimate = 0, base = 0;
    bool partial = false;      // "Mutuelle oui/non" is "Vrai"
    bool cpamPaid = false;     // "Date CPAM" filled in
    bool mutuellePaid = false; // "Date mutuelle" filled in
    bool cpamRefused = false;  // "CPAM oui/non" is "Vrai": the national insurance pays nothing
    QDate cpamDate, mutuelleDate;

    // The entry's share of "Remboursements attendus": the estimate less both reimbursements
    // for a partial reimbursement, else the gap. The totals add up the same rule.
    static qint64 awaited(qint64 cost, qint64 cpam, qint64 mutual, bool partial, qint64 estimate)
    {
        return (partial ? estimate : cost) - (cpam + mutual);
    }
    qint64 awaited() const;
    AwaitedPayer payer() const;
    // What the family bears: the part of a partial entry's cost above its estimate, else 0.
    // cost = cpam + mutual + awaited + this, whoever the awaited amount is expected from.
    qint64 familyShare() const;
    // Whole days from the care date to `today` (negative for a date to come).
    int ageInDays(const QDate &today) const;
};
