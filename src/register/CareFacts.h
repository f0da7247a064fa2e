#pragma once

#include "AwaitedPayer.h"

#include "platform/store/Bookmark.h"
#include "tables/CareAct.h"

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
    // Told from the speciality (CareActs::of); read only for an entry whose C.P.A.M. share is
    // written.
    CareAct act = CareAct::Consultation;

    // What the C.P.A.M. withheld by law from its written share (CpamRules::withheldIn, within
    // the gap): the family's cost, not awaited. 0 until its date is filled, when it refused
    // the care, and for a partial reimbursement, whose estimate says what is expected.
    qint64 withheld() const;
    // The estimate less both reimbursements for a partial reimbursement, else the gap.
    qint64 unpaid() const { return (partial ? estimate : cost) - (cpam + mutual); }
    // The entry's share of "Remboursements attendus": what is unpaid less what is withheld.
    // The totals add up the same rule.
    qint64 awaited() const { return unpaid() - withheld(); }
    AwaitedPayer payer() const;
    // What the family bears: the part of a partial entry's cost above its estimate, or what
    // the C.P.A.M. withheld, else 0. cost = cpam + mutual + awaited + this, whoever the awaited
    // amount is expected from.
    qint64 familyShare() const;
    // True when withheld() needs the kind of act: readers tell it only then.
    bool needsAct() const { return cpamPaid && !cpamRefused && !partial; }
    // Whole days from the care date to `today` (negative for a date to come).
    int ageInDays(const QDate &today) const;
};
