#include "YearSummary.h"

#include "platform/core/TextCollation.h"

#include <QHash>

#include <algorithm>

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

YearSummary::YearSummary(const std::vector<CareFacts> &entries, int year) : year_(year)
{
    QHash<QString, Row> beneficiaries, specialities;
    const QList<int> allYears = years(entries);
    if (year == AllYears) {
        periods_.fill(0, allYears.size());
        for (auto it = allYears.rbegin(); it != allYears.rend(); ++it)
            periodLabels_ << QString::number(*it);
    } else {
        periods_.fill(0, 12);
        // Month numbers: twelve names do not hold under the bars of a small chart.
        for (int month = 1; month <= 12; ++month)
            periodLabels_ << QStringLiteral("%1").arg(month, 2, 10, QLatin1Char('0'));
    }
    for (const CareFacts &entry : entries) {
        if (year != AllYears && entry.date.year() != year)
            continue;
        total_.add(entry);
        beneficiaries[entry.beneficiary].add(entry);
        const QString speciality = entry.speciality.trimmed();
        specialities[speciality.isEmpty() ? unspecifiedSpeciality() : speciality].add(entry);
        if (!entry.date.isValid())
            continue;
        const qsizetype period = year == AllYears
                                     ? allYears.size() - 1 - allYears.indexOf(entry.date.year())
                                     : entry.date.month() - 1;
        periods_[period] += entry.cost;
    }
    total_.name = QStringLiteral("Total");
    beneficiaries_ = rowsOf(beneficiaries);
    specialities_ = rowsOf(specialities);
}

QList<int> YearSummary::years(const std::vector<CareFacts> &entries)
{
    QList<int> list;
    int last = -1;
    for (const CareFacts &entry : entries) {
        const int y = entry.date.isValid() ? entry.date.year() : -1;
        if (y < 0 || y == last)
            continue;
        last = y;
        if (!list.contains(y))
            list.append(y);
    }
    std::sort(list.begin(), list.end(), std::greater<int>());
    return list;
}
