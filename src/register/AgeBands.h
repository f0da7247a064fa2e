#pragma once

#include <QString>

// The age bands of awaited reimbursements, in days since the care: 0–15, 16–30, 31–60, 61 days
// to 2 years and over 2 years. A care dated in the future counts as 0 days old.
namespace AgeBands
{
inline constexpr int count = 5;
// The band of an age in days, 0 for the youngest.
int of(int days);
// "0 à 15 jours", "16 à 30 jours", "31 à 60 jours", "61 jours à 2 ans", "Plus de 2 ans".
QString label(int band);
// Past this age, in days, an awaited reimbursement is worth a reminder.
inline constexpr int lateAfter = 30;
// The usual limit, in days (2 years), to claim a reimbursement from the C.P.A.M. or the
// mutual insurer: past it, a reminder rarely gets anything back.
inline constexpr int claimLimit = 730;
// Late but still within the claim limit: what a person can still act on.
bool actionable(int days);
// The age as a person says it: "à venir", "1 jour", "45 jours" up to 60 days, then whole
// months ("2 mois" … "23 mois"), then whole years from 2 years ("2 ans", "31 ans").
QString text(int days);
} // namespace AgeBands
