#pragma once

#include <QString>

struct sqlite3;

// One SQLite connection to a table file, set up for durability: every committed change is on
// disk when the call returns (write-ahead log, synchronised at each commit), and a crash leaves
// the file as of the last commit. Errors throw DatabaseError.
class SqliteDatabase
{
public:
    enum class Mode { OpenExisting, Create };

    SqliteDatabase(const QString &path, Mode mode);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase &) = delete;
    SqliteDatabase &operator=(const SqliteDatabase &) = delete;

    void exec(const QString &sql);
    // A counter that changes when another connection commits to the file.
    qint64 dataVersion();
    bool hasTable(const QString &name);
    qint64 lastInsertRowId() const;
    int changes() const;
    // The French reason for the connection's last error.
    static QString reason(sqlite3 *db, int code);
    QStringList columns(const QString &table);

    sqlite3 *handle() const { return db_; }
    const QString &path() const { return path_; }

private:
    sqlite3 *db_ = nullptr;
    QString path_;
};
