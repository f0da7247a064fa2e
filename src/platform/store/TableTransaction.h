#pragma once

#include "Bookmark.h"

class SqliteDatabase;
class Table;

// Several posts on one table, and any other writes to its file, as one: nothing reaches the
// file before commit(), and a transaction that ends without it (an error, a refused post)
// leaves the file and the rows in memory of every component open on it exactly as they were,
// the table's cursor back on the row it was on (the others' on theirs, while it is there). Posts
// run the table's rules and events as usual; the file's own connection (database()) takes the other
// writes.
class TableTransaction
{
public:
    // The table is open and in browse mode; throws DatabaseError when the file is busy.
    explicit TableTransaction(Table &table);
    ~TableTransaction();
    TableTransaction(const TableTransaction &) = delete;
    TableTransaction &operator=(const TableTransaction &) = delete;

    SqliteDatabase &database();
    // Makes every write durable; throws DatabaseError (and rolls everything back) on failure.
    void commit();

private:
    void rollBack() noexcept;

    Table &table_;
    Bookmark start_; // the current row when the transaction began, for a rollback
    bool open_ = false;
};
