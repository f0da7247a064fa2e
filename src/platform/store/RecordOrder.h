#pragma once

#include "FieldKind.h"
#include "Record.h"

#include <QStringList>

class TableDefinition;

// The order of an index over records: field by field, an empty value before any other, texts
// in French collation (TextCollation).
class RecordOrder
{
public:
    RecordOrder() = default;
    RecordOrder(const TableDefinition &definition, const QStringList &fieldNames);

    int compare(const Record &a, const Record &b) const;
    bool less(const Record &a, const Record &b) const { return compare(a, b) < 0; }
    const QStringList &fieldNames() const { return names_; }

private:
    QStringList names_;
    std::vector<int> indexes_;
    std::vector<FieldKind> kinds_;
    std::vector<int> slots_;
};
