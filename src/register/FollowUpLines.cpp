#include "FollowUpLines.h"

#include "SpecialityActs.h"
#include "tables/CareEntryTable.h"

#include "platform/store/Table.h"

#include <algorithm>
#include <limits>

using namespace CareFields;

namespace
{

constexpr qint64 NoDay = std::numeric_limits<qint64>::min();

bool fits(qint64 value)
{
    return value >= std::numeric_limits<qint32>::min() &&
           value <= std::numeric_limits<qint32>::max();
}

} // namespace

FollowUpLines::FollowUpLines(const std::vector<CareFacts> &entries)
{
    for (const CareFacts &e : entries) {
        const qint64 awaited = e.awaited();
        if (awaited != 0)
            add(e.row.rowId, e.date, e.beneficiary, e.doctor, e.cost, e.cpam, e.mutual, awaited,
                e.payer());
    }
    finish();
}

FollowUpLines FollowUpLines::readView(Table &table)
{
    FollowUpLines lines;
    // Pages never written are never resident: the room for every row costs nothing until used.
    lines.lines_.reserve(size_t(table.recordCount()));
    Field &date = table.fieldByName(DateSoins), &beneficiary = table.fieldByName(Beneficiaire),
          &doctor = table.fieldByName(Medecin), &cost = table.fieldByName(Cout),
          &cpam = table.fieldByName(MontantCPAM), &mutual = table.fieldByName(MontantMutuelle),
          &estimate = table.fieldByName(Estimation), &partial = table.fieldByName(MutuelleOuiNon),
          &dateCpam = table.fieldByName(DateCPAM), &dateMutuelle = table.fieldByName(DateMutuelle),
          &number = table.fieldByName(Numero), &speciality = table.fieldByName(Specialite),
          &base = table.fieldByName(Base), &refused = table.fieldByName(CPAMOuiNon);
    SpecialityActs acts;
    table.forEachRowInView([&] {
        CareFacts facts; // amounts and payments only: the texts are read for the lines kept
        facts.cost = cost.asCents();
        facts.cpam = cpam.asCents();
        facts.mutual = mutual.asCents();
        facts.estimate = estimate.asCents();
        facts.partial = partial.holds(Vrai);
        // Nothing unpaid, nothing withheld from it.
        if (facts.unpaid() == 0)
            return;
        facts.date = date.asDate();
        facts.cpamPaid = !dateCpam.isNull();
        facts.cpamRefused = refused.holds(Vrai);
        if (facts.needsAct()) {
            facts.base = base.asCents();
            facts.act = acts.of(speciality.asString());
        }
        const qint64 awaited = facts.awaited();
        if (awaited == 0)
            return;
        facts.mutuellePaid = !dateMutuelle.isNull();
        lines.add(number.value().toLongLong(), facts.date, beneficiary.asString(),
                  doctor.asString(), facts.cost, facts.cpam, facts.mutual, awaited, facts.payer());
    });
    lines.finish();
    return lines;
}

void FollowUpLines::add(qint64 rowId, const QDate &date, const QString &beneficiary,
                        const QString &doctor, qint64 cost, qint64 cpam, qint64 mutual,
                        qint64 awaited, AwaitedPayer payer)
{
    const qint64 day = date.isValid() ? date.toJulianDay() : NoDay;
    Packed line{rowId,         0,    0, 0, 0, 0, texts_.intern(beneficiary), texts_.intern(doctor),
                quint8(payer), false};
    if (fits(cost) && fits(cpam) && fits(mutual) && fits(awaited) && fits(day)) {
        line.cost = qint32(cost);
        line.cpam = qint32(cpam);
        line.mutual = qint32(mutual);
        line.awaited = qint32(awaited);
        line.day = qint32(day);
    } else {
        line.wide = true;
        line.cost = qint32(wide_.size());
        wide_.push_back({cost, cpam, mutual, awaited, day});
    }
    lines_.push_back(line);
}

void FollowUpLines::finish()
{
    // Few lines out of many rows: the room reserved for every row goes back.
    if (lines_.size() < lines_.capacity() / 2)
        lines_.shrink_to_fit();
    // The register's order is by date already; stable keeps its order among equal dates.
    const auto older = [this](const Packed &a, const Packed &b) { return day(a) < day(b); };
    if (!std::is_sorted(lines_.begin(), lines_.end(), older))
        std::stable_sort(lines_.begin(), lines_.end(), older);
}

FollowUpLines::Wide FollowUpLines::values(const Packed &line) const
{
    if (line.wide)
        return wide_[quint32(line.cost)];
    return {line.cost, line.cpam, line.mutual, line.awaited, line.day};
}

FollowUpLines::Line FollowUpLines::at(size_t i) const
{
    const Packed &packed = lines_[i];
    const Wide v = values(packed);
    return {Bookmark{packed.rowId},
            v.day == NoDay ? QDate() : QDate::fromJulianDay(v.day),
            texts_.text(packed.beneficiary),
            texts_.text(packed.doctor),
            v.cost,
            v.cpam,
            v.mutual,
            v.awaited,
            AwaitedPayer(packed.payer)};
}

qint64 FollowUpLines::awaited(size_t i) const
{
    return values(lines_[i]).awaited;
}

QDate FollowUpLines::date(size_t i) const
{
    const qint64 d = day(lines_[i]);
    return d == NoDay ? QDate() : QDate::fromJulianDay(d);
}
