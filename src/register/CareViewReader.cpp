#include "CareViewReader.h"

#include "tables/CareEntryTable.h"

#include "platform/store/BookmarkReturn.h"
#include "platform/store/ControlsDisabled.h"
#include "platform/store/Table.h"

#include <QScopeGuard>

using namespace CareFields;

CareViewReader::CareViewReader(Table &table)
    : table_(table), date_(table.fieldByName(DateSoins)),
      beneficiary_(table.fieldByName(Beneficiaire)), doctor_(table.fieldByName(Medecin)),
      speciality_(table.fieldByName(Specialite)), cost_(table.fieldByName(Cout)),
      cpam_(table.fieldByName(MontantCPAM)), mutual_(table.fieldByName(MontantMutuelle)),
      estimate_(table.fieldByName(Estimation)), partial_(table.fieldByName(MutuelleOuiNon)),
      dateCpam_(table.fieldByName(DateCPAM)), dateMutuelle_(table.fieldByName(DateMutuelle)),
      base_(table.fieldByName(Base)), refused_(table.fieldByName(CPAMOuiNon)),
      number_(table.fieldByName(Numero))
{
}

CareFacts CareViewReader::current() const
{
    CareFacts facts;
    facts.row = table_.bookmark();
    facts.date = date_.asDate();
    facts.beneficiary = beneficiary_.asString();
    facts.doctor = doctor_.asString();
    facts.speciality = speciality_.asString();
    facts.cost = cost_.asCents();
    facts.cpam = cpam_.asCents();
    facts.mutual = mutual_.asCents();
    facts.estimate = estimate_.asCents();
    facts.partial = partial_.holds(Vrai);
    facts.cpamPaid = !dateCpam_.isNull();
    facts.mutuellePaid = !dateMutuelle_.isNull();
    facts.base = base_.asCents();
    facts.cpamRefused = refused_.holds(Vrai);
    facts.act = CareActs::of(facts.speciality);
    facts.cpamDate = dateCpam_.asDate();
    facts.mutuelleDate = dateMutuelle_.asDate();
    return facts;
}

std::vector<CareFacts> CareViewReader::walk()
{
    std::vector<CareFacts> entries;
    entries.reserve(size_t(table_.recordCount()));
    const ControlsDisabled still(table_);
    BookmarkReturn back(table_);
    for (table_.first(); !table_.eof(); table_.next())
        entries.push_back(current());
    back.restore();
    return entries;
}

std::vector<CareFacts> CareViewReader::readView(Table &table)
{
    return CareViewReader(table).walk();
}

std::vector<CareFacts> CareViewReader::readRows(Table &table, const std::set<qint64> &rows)
{
    CareViewReader reader(table);
    std::vector<CareFacts> entries;
    table.forEachRowInView([&] {
        const qint64 id = reader.number_.value().toLongLong();
        if (!rows.count(id))
            return;
        entries.push_back(reader.current());
        entries.back().row = Bookmark{id};
    });
    return entries;
}

std::vector<CareFacts> CareViewReader::readAll(Table &table)
{
    if (!table.isFiltered())
        return readView(table);
    // The filter is lifted under disabled controls, so the grid never shows the wider view.
    const ControlsDisabled still(table);
    BookmarkReturn back(table);
    auto refilter = qScopeGuard([&table] {
        try {
            table.setFiltered(true);
        } catch (...) {
            // An error is already on its way out; it is the one to report.
        }
    });
    table.setFiltered(false);
    std::vector<CareFacts> entries = readView(table);
    refilter.dismiss();
    table.setFiltered(true);
    back.restore();
    return entries;
}
