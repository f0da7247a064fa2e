#pragma once

#include "CareAct.h"

#include <QDate>
#include <QtGlobal>

#include <span>

// The national insurance's arithmetic as the law fixes it: its usual rates, and what it
// withholds from its share, by the date of the care: a participation per consultation or act
// (1 € from 2005, 2 € from 15 May 2024; at most 4 a day), a franchise per box of medicine or
// paramedical act (0,50 € from 2008, 1 € from 31 March 2024; paramedical acts at most 4 units
// a day) and per transport (2 €, then 4 €; at most 2 a day); nothing from a dentist's or a
// midwife's acts. Each person's participations and
// franchises stop once 50 € of each is withheld in a calendar year. Amounts are in cents.
namespace CpamRules
{

enum class Withholding { Participation, Franchise };

// 70, 60, 65, 30, 15, 100, 80: the commonest first.
std::span<const int> usualRates();
// The share at `percent` of `base`, rounded to the cent (halves up).
constexpr qint64 atRate(qint64 base, int percent)
{
    return (base * percent + 50) / 100;
}

Withholding withholdingOf(CareAct act);
// The unit withheld from a date on; a kind of act's steps go oldest first, and nothing is
// withheld before the first.
struct UnitStep {
    QDate from;
    qint64 cents;
};
std::span<const UnitStep> unitSteps(CareAct act);
// What one act, box or transport has withheld for a care of that date; 0 before the law.
qint64 unit(CareAct act, const QDate &care);
// How many units one care entry may have withheld in a day: 0 for medicine, whose boxes are
// bounded by the yearly cap only (and for acts without a withholding).
int unitsPerDay(CareAct act);
// The most a single entry may have withheld.
qint64 mostPerEntry(CareAct act, const QDate &care);
// Per person, calendar year and kind of withholding.
constexpr qint64 YearlyCap = 5000;
// Past this base (or cost) nothing is read as withheld: no care costs that much, and the
// arithmetic stays well inside 64 bits, in SQL as here.
constexpr qint64 LargestBase = Q_INT64_C(100000000000000);

// What a written C.P.A.M. share shows as withheld: the smallest whole number of units (none
// when the share is a usual rate to the cent) that,
// added to the share paid, makes one of the usual rates of the base (the cost when no base is
// typed), within what one entry may have withheld; 0 when none does, or when the care has no
// real date. Never more than `room`, what the entry still shows as awaited.
struct WrittenShare {
    QDate care;
    CareAct act = CareAct::Consultation;
    qint64 base = 0, cost = 0, paid = 0, room = 0;
};
qint64 withheldIn(const WrittenShare &written);

} // namespace CpamRules
