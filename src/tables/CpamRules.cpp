#include "CpamRules.h"

#include <algorithm>
#include <array>

namespace
{

constexpr std::array<int, 7> rates{70, 60, 65, 30, 15, 100, 80};

using Step = CpamRules::UnitStep;
// The participation from 2005, doubled on 15 May 2024; the franchises from 2008, doubled on
// 31 March 2024.
const Step participation[] = {{QDate(2005, 1, 1), 100}, {QDate(2024, 5, 15), 200}};
const Step perBoxOrAct[] = {{QDate(2008, 1, 1), 50}, {QDate(2024, 3, 31), 100}};
const Step perTransport[] = {{QDate(2008, 1, 1), 200}, {QDate(2024, 3, 31), 400}};

} // namespace

std::span<const int> CpamRules::usualRates()
{
    return rates;
}

CpamRules::Withholding CpamRules::withholdingOf(CareAct act)
{
    return act == CareAct::Consultation ? Withholding::Participation : Withholding::Franchise;
}

std::span<const CpamRules::UnitStep> CpamRules::unitSteps(CareAct act)
{
    switch (act) {
    case CareAct::Consultation:
        return participation;
    case CareAct::Paramedical:
    case CareAct::Medicine:
        return perBoxOrAct;
    case CareAct::Transport:
        return perTransport;
    case CareAct::Unwithheld:
        break;
    }
    return {};
}

qint64 CpamRules::unit(CareAct act, const QDate &care)
{
    qint64 cents = 0;
    if (care.isValid()) {
        for (const UnitStep &step : unitSteps(act)) {
            if (care >= step.from)
                cents = step.cents;
        }
    }
    return cents;
}

int CpamRules::unitsPerDay(CareAct act)
{
    switch (act) {
    case CareAct::Consultation:
    case CareAct::Paramedical:
        return 4;
    case CareAct::Transport:
        return 2;
    case CareAct::Medicine:
    case CareAct::Unwithheld:
        break;
    }
    return 0;
}

qint64 CpamRules::mostPerEntry(CareAct act, const QDate &care)
{
    if (act == CareAct::Unwithheld)
        return 0;
    const int perDay = unitsPerDay(act);
    return perDay ? unit(act, care) * perDay : YearlyCap;
}

qint64 CpamRules::withheldIn(const WrittenShare &w)
{
    const qint64 u = unit(w.act, w.care);
    const qint64 base = w.base > 0 ? w.base : w.cost;
    if (u <= 0 || w.paid <= 0 || base <= 0 || base > LargestBase || w.room <= 0)
        return 0;
    const qint64 most = mostPerEntry(w.act, w.care);
    qint64 found = 0;
    for (int rate : rates) {
        const qint64 withheld = atRate(base, rate) - w.paid;
        // A share that is a usual rate to the cent had nothing withheld (a child, an exempt
        // care): another rate's multiple of the unit must not be read into it.
        if (withheld == 0)
            return 0;
        if (withheld > 0 && withheld % u == 0 && withheld <= most &&
            (found == 0 || withheld < found))
            found = withheld;
    }
    return std::min(found, w.room);
}
