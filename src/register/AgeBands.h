#pragma once

#include <QString>

// The age bands of awaited reimbursements, in days since the care: 0–15, 16–30, 31–60 and
// over 60. A care dated in the future counts as 0 days old.
namespace AgeBands
{
inline constexpr int count = 4;
// The band of an age in days, 0 for the youngest.
int of(int days);
// "0 à 15 jours", "16 à 30 jours", "31 à 60 jours", "Plus de 60 jours".
QString label(int band);
// Past this age, in days, a line stands out.
inline constexpr int lateAfter = 30;
} // namespace AgeBands
