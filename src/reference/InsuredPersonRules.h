#pragma once

#include <QString>

class Table;

// The rule every saved insured person follows: the dependant flag AyantDr holds exactly "Vrai"
// or "Faux", anything else (a new row whose box was never ticked) being saved as "Faux".
namespace InsuredPersonRules
{

QString normalisedDependantFlag(const QString &flag);
// The insured persons' table's before-post handler.
void beforePost(Table &table);

} // namespace InsuredPersonRules
