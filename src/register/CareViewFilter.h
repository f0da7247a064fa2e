#pragma once

#include "CareFilterRule.h"

#include <QString>

#include <memory>

class RegisterSelectors;
class Table;

// The register's view rule as the filter of a table over TALO.DB: the selectors' texts read at
// each test, the rule rebuilt only when they change. Every table showing the register's view
// (the main window's, the care list's) filters through one of these.
class CareViewFilter
{
public:
    explicit CareViewFilter(RegisterSelectors &selectors) : selectors_(selectors) {}

    // Tells `table` which fields the rule reads (the beneficiary, and of the care date only its
    // year), so that it runs once per combination of them.
    static void declareFields(Table &table);
    // The rule for the row under test of `table`.
    bool accepts(Table &table);

private:
    RegisterSelectors &selectors_;
    std::unique_ptr<CareFilterRule> rule_;
    QString beneficiary_, year_;
};
