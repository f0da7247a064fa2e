#pragma once

#include "FieldKind.h"
#include "RowRef.h"

#include <QStringList>

class TableDefinition;

// The order of an index over records: field by field, an empty value before any other, texts
// in French collation (TextCollation).
class RecordOrder
{
public:
    RecordOrder() = default;
    RecordOrder(const TableDefinition &definition, const QStringList &fieldNames);

    int compare(const RowRef &a, const RowRef &b) const;
    bool less(const RowRef &a, const RowRef &b) const { return compare(a, b) < 0; }
    const QStringList &fieldNames() const { return names_; }
    // The key's fields, in order, and their kinds.
    const std::vector<int> &fields() const { return indexes_; }
    const std::vector<FieldKind> &kinds() const { return kinds_; }

private:
    QStringList names_;
    std::vector<int> indexes_;
    std::vector<FieldKind> kinds_;
    std::vector<int> slots_;
};
