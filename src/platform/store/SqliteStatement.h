#pragma once

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// A prepared SQLite statement, finalised on destruction. Errors throw DatabaseError.
class SqliteStatement
{
public:
    SqliteStatement(sqlite3 *db, const QString &sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    void bindNull(int index);
    void bindText(int index, const QString &text);
    void bindInt(int index, qint64 value);
    void bindDouble(int index, double value);

    // Runs one step; true while a row is available.
    bool step();
    void reset();

    bool isNull(int column) const;
    QString text(int column) const;
    qint64 int64(int column) const;
    double real(int column) const;
    // The raw UTF-8 bytes of a text column (valid until the next step).
    const char *rawText(int column, int *length) const;

    sqlite3_stmt *handle() const { return stmt_; }

private:
    sqlite3 *db_;
    sqlite3_stmt *stmt_ = nullptr;
};
