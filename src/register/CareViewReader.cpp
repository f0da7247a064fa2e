#include "CareViewReader.h"

#include "tables/CareEntryTable.h"

#include "platform/store/Table.h"

using namespace CareFields;

CareViewReader::CareViewReader(Table &table)
    : table_(table), date_(table.fieldByName(DateSoins)),
      beneficiary_(table.fieldByName(Beneficiaire)), doctor_(table.fieldByName(Medecin)),
      speciality_(table.fieldByName(Specialite)), cost_(table.fieldByName(Cout)),
      cpam_(table.fieldByName(MontantCPAM)), mutual_(table.fieldByName(MontantMutuelle)),
      estimate_(table.fieldByName(Estimation)), partial_(table.fieldByName(MutuelleOuiNon)),
      dateCpam_(table.fieldByName(DateCPAM)), dateMutuelle_(table.fieldByName(DateMutuelle)),
      base_(table.fieldByName(Base)), refused_(table.fieldByName(CPAMOuiNon))
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
    facts.cpamDate = dateCpam_.asDate();
    facts.mutuelleDate = dateMutuelle_.asDate();
    return facts;
}

std::vector<CareFacts> CareViewReader::walk()
{
    std::vector<CareFacts> entries;
    entries.reserve(size_t(table_.recordCount()));
    const Bookmark mark = table_.bookmark();
    table_.disableControls();
    try {
        for (table_.first(); !table_.eof(); table_.next())
            entries.push_back(current());
    } catch (...) {
        table_.gotoBookmark(mark);
        table_.enableControls();
        throw;
    }
    table_.gotoBookmark(mark);
    table_.enableControls();
    return entries;
}

std::vector<CareFacts> CareViewReader::readView(Table &table)
{
    return CareViewReader(table).walk();
}

std::vector<CareFacts> CareViewReader::readAll(Table &table)
{
    if (!table.isFiltered())
        return readView(table);
    // The filter is lifted under disabled controls, so the grid never shows the wider view.
    table.disableControls();
    const Bookmark mark = table.bookmark();
    std::vector<CareFacts> entries;
    try {
        table.setFiltered(false);
        entries = readView(table);
    } catch (...) {
        table.setFiltered(true);
        table.gotoBookmark(mark);
        table.enableControls();
        throw;
    }
    table.setFiltered(true);
    table.gotoBookmark(mark);
    table.enableControls();
    return entries;
}
