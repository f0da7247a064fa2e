#include "YearSummary.h"

#include "YearTotals.h"

#include "platform/core/TextCollation.h"

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

void YearSummary::Row::add(const CareFacts &entry)
{
    ++count;
    cost += entry.cost;
    cpam += entry.cpam;
    mutual += entry.mutual;
    const qint64 awaited = entry.awaited();
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
    // What is left once both payers have paid stays in "à vérifier", not in the family's share.
    family += entry.familyShare();
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
    }
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
