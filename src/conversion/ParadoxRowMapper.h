#pragma once

#include "ParadoxReader.h"

#include "platform/store/Record.h"
#include "platform/store/TableDefinition.h"

#include <QStringList>

#include <variant>

// How the rows of a Paradox table become records of one of the program's tables: fields
// matched by name, each value checked against the field it goes to, so that a record is only
// ever made whole.
class ParadoxRowMapper
{
public:
    ParadoxRowMapper(const TableDefinition &definition, const std::vector<ParadoxField> &fields);

    // The Paradox fields whose values are not carried over, each with why.
    const QStringList &fieldsNotCarried() const { return notCarried_; }

    // The record made from a row, or the French reason it cannot be made.
    std::variant<Record, QString> convert(const ParadoxRow &row) const;
    // The row's number in its table's own sequence field, if it has one: rows keep that order.
    qlonglong sequence(const ParadoxRow &row) const;
    // A few of the row's values, for telling the user which row was left out.
    QString describe(const ParadoxRow &row) const;

private:
    const TableDefinition &def_;
    std::vector<ParadoxField> fields_;
    std::vector<int> target_; // per Paradox field: the definition's field, or -1
    int sequenceField_ = -1;  // the Paradox field that feeds the definition's row identity
    QStringList notCarried_;
};
