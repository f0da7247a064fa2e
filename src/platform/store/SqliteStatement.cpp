#include "SqliteStatement.h"

#include "DatabaseError.h"
#include "SqliteDatabase.h"

#include <sqlite3.h>

namespace
{
[[noreturn]] void fail(sqlite3 *db)
{
    const int code = sqlite3_extended_errcode(db);
    throw DatabaseError(SqliteDatabase::reason(db, code), code);
}
} // namespace

SqliteStatement::SqliteStatement(sqlite3 *db, const QString &sql) : db_(db)
{
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()), &stmt_, nullptr) != SQLITE_OK)
        fail(db_);
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(stmt_);
}

void SqliteStatement::bindNull(int index)
{
    if (sqlite3_bind_null(stmt_, index) != SQLITE_OK)
        fail(db_);
}

void SqliteStatement::bindText(int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    if (sqlite3_bind_text(stmt_, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT) !=
        SQLITE_OK)
        fail(db_);
}

void SqliteStatement::bindInt(int index, qint64 value)
{
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK)
        fail(db_);
}

void SqliteStatement::bindDouble(int index, double value)
{
    if (sqlite3_bind_double(stmt_, index, value) != SQLITE_OK)
        fail(db_);
}

bool SqliteStatement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    fail(db_);
}

void SqliteStatement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

bool SqliteStatement::isNull(int column) const
{
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

QString SqliteStatement::text(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(stmt_, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(stmt_, column));
}

qint64 SqliteStatement::int64(int column) const
{
    return sqlite3_column_int64(stmt_, column);
}

double SqliteStatement::real(int column) const
{
    return sqlite3_column_double(stmt_, column);
}

const char *SqliteStatement::rawText(int column, int *length) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(stmt_, column));
    *length = sqlite3_column_bytes(stmt_, column);
    return data;
}
