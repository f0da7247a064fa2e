#pragma once

#include "platform/core/PlatformError.h"
#include "platform/store/Table.h"
#include "support/FileSizeLimit.h"

#include <QFile>
#include <QStringList>

#include <functional>
#include <sqlite3.h>

// The field lists of the unique indexes of the SQL table in a file, each as "a;b;c".
inline QStringList uniqueIndexes(const QString &path, const QString &table)
{
    QStringList result;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        return {QStringLiteral("<cannot open>")};
    }
    const QByteArray sql = QStringLiteral("SELECT group_concat(ii.name, ';') FROM "
                                          "pragma_index_list('%1') il, pragma_index_info(il.name) "
                                          "ii WHERE il.[unique] = 1 GROUP BY il.name")
                               .arg(table)
                               .toUtf8();
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
    while (st && sqlite3_step(st) == SQLITE_ROW)
        result.append(
            QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0))));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return result;
}

// Every stored field of every row, in index order, as text.
inline QList<QStringList> rowsOf(const TableDefinition &def, const QString &folder)
{
    Table table(def);
    table.setDatabaseName(folder);
    table.open();
    QList<QStringList> rows;
    for (table.first(); !table.eof(); table.next()) {
        QStringList row;
        for (int i = 0; i < def.fieldCount(); ++i) {
            if (!def.field(i).calculated)
                row.append(table.field(i).asString());
        }
        rows.append(row);
    }
    return rows;
}

inline QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const PlatformError &e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}
