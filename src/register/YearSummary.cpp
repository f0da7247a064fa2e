#include "YearSummary.h"

#include "YearTotals.h"

#include "platform/core/Formats.h"
#include "platform/core/TextCollation.h"
#include "tables/CpamRules.h"

#include <QHash>

#include <algorithm>
#include <numeric>

namespace
{

// The rows in French order of their names.
QList<YearSummary::Row> rowsOf(const QHash<QString, YearSummary::Row> &rows)
{
    QList<YearSummary::Row> list;
    list.reserve(rows.size());
    for (auto it = rows.begin(); it != rows.end(); ++it) {
        list.append(it.value());
        list.back().name = it.key();
    }
    std::sort(list.begin(), list.end(), [](const YearSummary::Row &a, const YearSummary::Row &b) {
        return TextCollation::compare(a.name, b.name) < 0;
    });
    return list;
}

} // namespace

void YearSummary::Row::add(const CareFacts &entry, qint64 withheld)
{
    ++count;
    cost += entry.cost;
    cpam += entry.cpam;
    mutual += entry.mutual;
    const qint64 awaited = entry.unpaid() - withheld;
    switch (entry.payer()) {
    case AwaitedPayer::Cpam:
        awaitedCpam += awaited;
        break;
    case AwaitedPayer::Mutuelle:
        awaitedMutuelle += awaited;
        break;
    case AwaitedPayer::ToCheck:
        toCheck += awaited;
        break;
    }
    // What is left once both payers have paid stays in "à vérifier", not in the family's share,
    // which holds the part of a partial entry above its estimate and what was withheld.
    family += entry.cost - entry.cpam - entry.mutual - awaited;
    if (CpamRules::withholdingOf(entry.act) == CpamRules::Withholding::Participation)
        participations += withheld;
    else
        franchises += withheld;
}

QString YearSummary::Withheld::personAndYear() const
{
    return QStringLiteral("%1 (%2)").arg(name, year == 0 ? QStringLiteral("sans date")
                                                         : QString::number(year));
}

QString YearSummary::Withheld::ofCap(qint64 cents)
{
    return QStringLiteral("%1 sur %2")
        .arg(Formats::money(cents), Formats::money(CpamRules::YearlyCap));
}

void YearSummary::Row::add(const Row &other)
{
    count += other.count;
    cost += other.cost;
    cpam += other.cpam;
    mutual += other.mutual;
    awaitedCpam += other.awaitedCpam;
    awaitedMutuelle += other.awaitedMutuelle;
    toCheck += other.toCheck;
    family += other.family;
    participations += other.participations;
    franchises += other.franchises;
}

YearSummary::YearSummary(const YearTotals &totals, int year) : year_(year)
{
    const QList<int> &allYears = totals.years();
    if (year == AllYears) {
        for (auto it = allYears.rbegin(); it != allYears.rend(); ++it) {
            const std::array<qint64, 12> months = totals.months(*it);
            periods_ << std::accumulate(months.begin(), months.end(), qint64(0));
            periodLabels_ << QString::number(*it);
        }
    } else {
        for (qint64 cost : totals.months(year))
            periods_ << cost;
        // Month numbers: twelve names do not hold under the bars of a small chart.
        for (int month = 1; month <= 12; ++month)
            periodLabels_ << QStringLiteral("%1").arg(month, 2, 10, QLatin1Char('0'));
    }
    QHash<QString, Row> beneficiaries, specialities;
    for (const YearTotals::Group &g : totals.byBeneficiary()) {
        if (year != AllYears && g.year != year)
            continue;
        total_.add(g.row);
        beneficiaries[g.name].add(g.row);
        // The caps count per calendar year: a group is one person's year.
        if (g.row.participations != 0 || g.row.franchises != 0)
            withheld_.append({g.name, g.year, g.row.participations, g.row.franchises});
    }
    std::sort(withheld_.begin(), withheld_.end(), [](const Withheld &a, const Withheld &b) {
        const int byName = TextCollation::compare(a.name, b.name);
        return byName != 0 ? byName < 0 : a.year < b.year;
    });
    for (const YearTotals::Group &g : totals.bySpeciality()) {
        if (year != AllYears && g.year != year)
            continue;
        const QString speciality = g.name.trimmed();
        specialities[speciality.isEmpty() ? unspecifiedSpeciality() : speciality].add(g.row);
    }
    total_.name = QStringLiteral("Total");
    beneficiaries_ = rowsOf(beneficiaries);
    specialities_ = rowsOf(specialities);
}

YearSummary::YearSummary(const std::vector<CareFacts> &entries, int year)
    : YearSummary(YearTotals(entries), year)
{
}

QList<int> YearSummary::years(const std::vector<CareFacts> &entries)
{
    return YearTotals(entries).years();
}
