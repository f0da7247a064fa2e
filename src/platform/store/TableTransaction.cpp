#include "TableTransaction.h"

#include "DatabaseError.h"
#include "SqliteDatabase.h"
#include "Table.h"
#include "TableFile.h"
#include "TableStorage.h"
#include "platform/core/PlatformMessages.h"

#include <sqlite3.h>

TableTransaction::TableTransaction(Table &table) : table_(table)
{
    table_.requireActive();
    table_.checkBrowseMode();
    table_.needAllRows();
    start_ = table_.bookmark();
    // The write lock is taken now: another writer is seen before any row changes here.
    table_.file_->storage().database().exec(QStringLiteral("BEGIN IMMEDIATE"));
    open_ = true;
}

TableTransaction::~TableTransaction()
{
    if (open_)
        rollBack();
}

SqliteDatabase &TableTransaction::database()
{
    return table_.file_->storage().database();
}

void TableTransaction::commit()
{
    SqliteDatabase &db = database();
    try {
        db.exec(QStringLiteral("COMMIT"));
    } catch (const DatabaseError &e) {
        rollBack();
        throw DatabaseError(PlatformMessages::diskWriteFailed(table_.filePath(), e.message()));
    }
    open_ = false;
    // Committed: a checkpoint that fails leaves the writes synchronised in the log.
    db.checkpoint();
}

void TableTransaction::rollBack() noexcept
{
    open_ = false;
    table_.leaveEditState();
    sqlite3_exec(database().handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    // The rows posted in memory go, for every component sharing them: they are read again as
    // the file holds them.
    try {
        table_.file_->reload();
        table_.setCurrent(-1);
        if (!table_.gotoBookmark(start_))
            table_.first();
        table_.notifyDataSet();
        table_.notifyState();
    } catch (...) {
        // The file could not be read again: the table closes rather than show rows that are
        // not the file's.
        table_.close();
    }
}
