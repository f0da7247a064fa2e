#include "CareViewFilter.h"

#include "RegisterSelectors.h"
#include "tables/CareEntryTable.h"

#include "platform/store/Table.h"

void CareViewFilter::declareFields(Table &table)
{
    table.setFilterFields({CareFields::DateSoins, CareFields::Beneficiaire},
                          Table::FilterDates::ByYear);
}

bool CareViewFilter::accepts(Table &table)
{
    const QString beneficiary = selectors_.beneficiaryText();
    const QString year = selectors_.yearText();
    if (!rule_ || beneficiary != beneficiary_ || year != year_) {
        rule_ = std::make_unique<CareFilterRule>(beneficiary, year);
        beneficiary_ = beneficiary;
        year_ = year;
    }
    return rule_->accepts(table.fieldByName(CareFields::Beneficiaire).asString(),
                          table.fieldByName(CareFields::DateSoins).asDate());
}
