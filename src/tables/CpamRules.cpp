#include "CpamRules.h"

#include <algorithm>
#include <array>

namespace
{

constexpr std::array<int, 7> rates{70, 60, 65, 30, 15, 100, 80};

const QDate participationFrom(2005, 1, 1), participationDoubled(2024, 5, 15);
const QDate franchiseFrom(2008, 1, 1), franchiseDoubled(2024, 3, 31);

} // namespace

std::span<const int> CpamRules::usualRates()
{
    return rates;
}

CpamRules::Withholding CpamRules::withholdingOf(CareAct act)
{
    return act == CareAct::Consultation ? Withholding::Participation : Withholding::Franchise;
}

qint64 CpamRules::unit(CareAct act, const QDate &care)
{
    if (!care.isValid())
        return 0;
    switch (act) {
    case CareAct::Consultation:
        return care < participationFrom ? 0 : care < participationDoubled ? 100 : 200;
    case CareAct::Paramedical:
    case CareAct::Medicine:
        return care < franchiseFrom ? 0 : care < franchiseDoubled ? 50 : 100;
    case CareAct::Transport:
        return care < franchiseFrom ? 0 : care < franchiseDoubled ? 200 : 400;
    case CareAct::Unwithheld:
        break;
    }
    return 0;
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
    if (u <= 0 || w.paid <= 0 || base <= 0 || w.room <= 0)
        return 0;
    const qint64 most = mostPerEntry(w.act, w.care);
    qint64 found = 0;
    for (int rate : rates) {
        const qint64 withheld = atRate(base, rate) - w.paid;
        if (withheld > 0 && withheld % u == 0 && withheld <= most &&
            (found == 0 || withheld < found))
            found = withheld;
    }
    return std::min(found, w.room);
}
