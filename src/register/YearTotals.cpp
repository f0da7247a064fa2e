#include "YearTotals.h"

#include "SpecialityActs.h"
#include "tables/CareEntryTable.h"

#include "platform/store/RowStore.h"
#include "platform/store/Table.h"

#include <algorithm>

using namespace CareFields;

// Sums by year and text number: a pass over a million entries does no text work but for the
// first entry of each group.
class YearTotals::Gathering
{
public:
    // Equal numbers stand for equal texts.
    void add(const CareFacts &facts, quint32 beneficiaryNumber, const QString &beneficiary,
             quint32 specialityNumber, const QString &speciality)
    {
        const int year = facts.date.isValid() ? facts.date.year() : 0;
        const qint64 withheld = facts.withheld();
        into(beneficiaries_, year, beneficiaryNumber, beneficiary, facts, withheld);
        into(specialities_, year, specialityNumber, speciality, facts, withheld);
        if (year != 0)
            months_[year][size_t(facts.date.month() - 1)] += facts.cost;
    }

    YearTotals done() const
    {
        YearTotals totals;
        totals.beneficiaries_.assign(beneficiaries_.cbegin(), beneficiaries_.cend());
        totals.specialities_.assign(specialities_.cbegin(), specialities_.cend());
        totals.months_ = months_;
        totals.years_ = months_.keys();
        totals.years_.removeIf([](int y) { return y < 0; });
        std::sort(totals.years_.begin(), totals.years_.end(), std::greater<int>());
        return totals;
    }

private:
    static void into(QHash<quint64, Group> &groups, int year, quint32 number, const QString &name,
                     const CareFacts &facts, qint64 withheld)
    {
        Group &g = groups[(quint64(quint32(year)) << 32) | number];
        if (g.row.count == 0) {
            g.year = year;
            g.name = name;
        }
        g.row.add(facts, withheld);
    }

    QHash<quint64, Group> beneficiaries_, specialities_;
    QHash<int, std::array<qint64, 12>> months_;
};

YearTotals::YearTotals(const std::vector<CareFacts> &entries)
{
    Gathering gathering;
    QHash<QString, quint32> numbers;
    const auto number = [&numbers](const QString &text) {
        const auto found = numbers.constFind(text);
        if (found != numbers.cend())
            return *found;
        return *numbers.insert(text, quint32(numbers.size()));
    };
    for (const CareFacts &e : entries)
        gathering.add(e, number(e.beneficiary), e.beneficiary, number(e.speciality), e.speciality);
    *this = gathering.done();
}

YearTotals YearTotals::readAll(const Table &table)
{
    const TableDefinition &def = table.definition();
    const int date = def.indexOf(DateSoins), beneficiary = def.indexOf(Beneficiaire),
              speciality = def.indexOf(Specialite), cost = def.indexOf(Cout),
              cpam = def.indexOf(MontantCPAM), mutual = def.indexOf(MontantMutuelle),
              estimate = def.indexOf(Estimation), partial = def.indexOf(MutuelleOuiNon),
              dateCpam = def.indexOf(DateCPAM), dateMutuelle = def.indexOf(DateMutuelle),
              base = def.indexOf(Base), refused = def.indexOf(CPAMOuiNon);
    Gathering gathering;
    SpecialityActs acts;
    table.forEachStoredSlot([&](const RowStore &store, quint32 slot) {
        // The amounts are kept in cents and the dates as day numbers.
        const auto cents = [&](int f) { return store.has(slot, f) ? store.number(slot, f) : 0; };
        CareFacts facts;
        if (store.has(slot, date))
            facts.date = QDate::fromJulianDay(store.number(slot, date));
        facts.cost = cents(cost);
        facts.cpam = cents(cpam);
        facts.mutual = cents(mutual);
        facts.estimate = cents(estimate);
        facts.base = cents(base);
        facts.partial = store.has(slot, partial) && store.text(slot, partial) == Vrai;
        facts.cpamPaid = store.has(slot, dateCpam);
        facts.cpamRefused = store.has(slot, refused) && store.text(slot, refused) == Vrai;
        if (facts.needsAct())
            facts.act = acts.of(store, slot, speciality);
        facts.mutuellePaid = store.has(slot, dateMutuelle);
        gathering.add(facts, store.textId(slot, beneficiary), store.text(slot, beneficiary),
                      store.textId(slot, speciality), store.text(slot, speciality));
    });
    return gathering.done();
}
