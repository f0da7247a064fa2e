#pragma once

#include <QString>

struct sqlite3;

// One SQLite connection to a table file. Opening writes nothing: an existing file is first
// proved to be a database (an empty file is refused, never turned into one); the caller then
// chooses how changes are logged. Errors throw DatabaseError.
class SqliteDatabase
{
public:
    // OpenExisting: for writing; a file the system keeps from being written is refused at once
    // (SQLite would otherwise open it for reading without a word and leave a log beside it).
    // ReadOnly: for reading only, creating nothing beside the file, even in a read-only folder
    // or on a full disk. Reader: for reading beside the process's own connection to a file in
    // write-ahead-log mode, seeing its log and what others commit meanwhile. Create: a new file.
    enum class Mode { OpenExisting, ReadOnly, Reader, Create };

    SqliteDatabase(const QString &path, Mode mode);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase &) = delete;
    SqliteDatabase &operator=(const SqliteDatabase &) = delete;

    // For the program's own tables: write-ahead log, and a crash leaves the file as of the last
    // commit. A commit is not synchronised by itself: every write is followed by checkpoint(),
    // which makes it durable.
    void useWriteAheadLog();
    // Moves everything from the log into the file and empties the log, so that the file stands
    // on its own between posts; the log, then the file, are synchronised on the way. A
    // checkpoint that cannot complete now (a reader in the way, a full disk) leaves the change
    // in the log, synchronised there, to be moved later; throws DatabaseError when even that
    // fails.
    void checkpoint();
    // For a file that leaves the program (a backup copy): no companion file is ever needed
    // to read it, and none can be mixed with it.
    void useRollbackJournal();

    void exec(const QString &sql);
    // A counter that changes when another connection commits to the file.
    qint64 dataVersion();
    bool hasTable(const QString &name);
    qint64 lastInsertRowId() const;
    int changes() const;
    // The French reason for the connection's last error.
    static QString reason(sqlite3 *db, int code);
    QStringList columns(const QString &table);
    static QString emptyFileReason();
    // True for the result codes of a file that can be read but not written now: read-only
    // file or folder, full disk, failed write.
    static bool isWriteFailure(int code);
    // The French reason for a write failure of a file, a full disk named as such (SQLite
    // reports it as an input/output error when the shared-memory file cannot grow).
    static QString writeFailureReason(const QString &path, int code);

    sqlite3 *handle() const { return db_; }
    const QString &path() const { return path_; }

private:
    sqlite3 *db_ = nullptr;
    QString path_;
};
