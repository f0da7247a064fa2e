#pragma once

#include "CareFacts.h"

#include <set>
#include <vector>

class Field;
class Table;

// Reads the care entries of a register table into CareFacts through the table's public
// cursor, and leaves the table as it found it: same current row, same filter, bound controls
// told once at the end. A modified record is posted by the walk, so callers post first.
class CareViewReader
{
public:
    // The entries in view, in the table's order.
    static std::vector<CareFacts> readView(Table &table);
    // Every entry of the table, whatever its filter.
    static std::vector<CareFacts> readAll(Table &table);
    // The entries in view among `rows` (row ids), in the table's order, read without moving the
    // cursor.
    static std::vector<CareFacts> readRows(Table &table, const std::set<qint64> &rows);

private:
    explicit CareViewReader(Table &table);
    CareFacts current() const;
    std::vector<CareFacts> walk();

    Table &table_;
    Field &date_, &beneficiary_, &doctor_, &speciality_, &cost_, &cpam_, &mutual_, &estimate_,
        &partial_, &dateCpam_, &dateMutuelle_, &base_, &refused_, &number_;
};
