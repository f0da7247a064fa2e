#pragma once

#include "FileFormat.h"
#include "Record.h"
#include "RowReader.h"
#include "SqliteDatabase.h"
#include "TableDefinition.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class DatabaseError;
class RowStore;

// The rows of one table file on disk: loading them all in index order, and writing one row at
// a time, each write committed and durable before it returns, the log emptied after it.
class TableStorage
{
public:
    // Opens an existing file and checks that it holds the table with every stored field, its
    // statement as of the file's format version, and no SQL object but the definition's own
    // (ForeignObjects); a file of an older format is then brought up to date (FileFormat,
    // which stops at `stop` in tests). A file that can be read but not written now (read-only
    // file or folder, full disk, a newer format, an upgrade that failed) is opened for reading
    // only: every write is then refused, and readOnlyReason() says why.
    TableStorage(const TableDefinition &definition, const QString &path,
                 const FileFormat::StopPoint &stop = {});

    bool isReadOnly() const { return !readOnlyReason_.isEmpty(); }
    const QString &readOnlyReason() const { return readOnlyReason_; }

    // Every row of the file into the empty store, in the file's order.
    void loadAll(RowStore &into);
    // The first and the last rows in the order of `dateField` (at least `rows` of each, every
    // row of their first and last dates), read into the empty store, with the number of rows in
    // the file, all as of one moment. Nothing (and an empty store) when the file holds too few
    // rows for that to be worth it, or when the rows of one date would be too many.
    struct EndRows {
        qint64 count = 0;
        quint32 headRows = 0; // the store's first slots; the tail's follow
    };
    std::optional<EndRows> readEnds(RowStore &into, int dateField, int rows);
    // Reads rows as loadAll() does, for a connection of its own.
    RowReader reader() const;
    const QString &sqlTable() const { return table_; }
    const TableDefinition &definition() const { return def_; }
    const QString &path() const { return db_->path(); }
    // Writes a new row; returns its identity.
    qint64 insert(const Record &record);
    // Writes many new rows in one transaction, durable on return: all of them or none.
    void insertAll(const std::vector<Record> &records);
    // Rewrites the row with the record's identity.
    void update(const Record &record);
    void remove(qint64 rowId);
    // True once another connection has committed to the file since the last call.
    bool changedElsewhere();
    // The file's connection, for writes made together with the rows' (TableTransaction).
    SqliteDatabase &database() { return *db_; }

    // A consistent copy of the whole file (structure, index and every row) at `destination`,
    // built aside in the destination's folder and renamed over it only once complete. The copy
    // needs no companion file, and those of an older table there (its log) are removed first.
    // `beforeRename` runs once the copy is complete aside (a test stops there).
    void copyTo(const QString &destination, const std::function<void()> &beforeRename = {});
    // The same from the file at `source`, through a read connection of the copy's own, so
    // that it may run on any thread. `step` hears the pages copied of the file's pages after
    // each step and may throw to stop the copy, which then leaves nothing behind.
    using CopyStep = std::function<void(qint64 pagesCopied, qint64 pageCount)>;
    static void copyFile(const QString &source, const QString &destination,
                         const CopyStep &step = {}, const std::function<void()> &beforeRename = {});

    // A new, empty table file (owner-only permissions); an existing file is left alone and
    // false returned.
    static bool createFile(const QString &path, const TableDefinition &definition);
    // Adds a unique index on the fields to a closed table file (kept if already there).
    static void addIndex(const QString &path, const TableDefinition &definition,
                         const QString &indexName, const QStringList &fields);

private:
    // The table and its stored fields are there; unless the file is newer than the program,
    // the table's statement is its version's and nothing foreign is there.
    void checkStructure(bool newer);
    void openNewer(const QString &path);
    void openAfterFailedUpgrade(const QString &path, const DatabaseError &failure);
    void requireWritable() const;
    void bindRecord(class SqliteStatement &st, const Record &record);
    QString insertStatement() const;

    const TableDefinition &def_;
    std::unique_ptr<SqliteDatabase> db_;
    QString readOnlyReason_;
    QString table_;           // the SQL table's name as found in the file
    std::vector<int> stored_; // indexes of the stored fields, in column order
    qint64 version_ = 0;
};
