#pragma once

#include "TableDefinition.h"

#include <atomic>
#include <vector>

class RowStore;
class SqliteStatement;

// Turns the rows a SELECT of the stored fields gives into packed rows. Holds nothing but the
// definition and the column order, so that a second thread may read with a copy of its own.
class RowReader
{
public:
    // `stored`: the fields the statement's columns hold, in column order.
    RowReader(const TableDefinition &definition, std::vector<int> stored);

    // "SELECT <the stored fields> FROM <table> <rest>".
    QString select(const QString &table, const QString &rest = QString()) const;
    // Adds every row the statement gives to the store; false when `stop` was set first (the
    // rows read so far are then in the store).
    bool read(SqliteStatement &statement, RowStore &into,
              const std::atomic<bool> *stop = nullptr) const;

private:
    const TableDefinition &def_;
    std::vector<int> stored_;
};
