#include "StoredTotals.h"

#include "TotalsSchema.h"

#include "platform/store/DatabaseError.h"
#include "platform/store/SqliteStatement.h"
#include "platform/store/TableDefinition.h"

#include <QHash>
#include <QScopeGuard>
#include <QStringList>
#include <sqlite3.h>

StoredTotals::StoredTotals(const QString &path) : db_(path, SqliteDatabase::Mode::OpenExisting)
{
    db_.useWriteAheadLog();
    if (!upToDate())
        rebuild();
}

void StoredTotals::recount(qint64 storedRows)
{
    bool counted = false;
    {
        SqliteStatement count(db_.handle(),
                              QStringLiteral("SELECT coalesce(sum(Nombre), 0) FROM %1")
                                  .arg(TableDefinition::quoted(TotalsSchema::SumsTable)));
        counted = count.step() && count.int64(0) == storedRows;
    }
    if (!counted)
        rebuild();
}

QList<std::pair<QString, QString>> StoredTotals::objectsNamedLikeOurs()
{
    QStringList names;
    for (const TotalsSchema::SchemaObject &o : TotalsSchema::objects())
        names.append(QStringLiteral("'%1'").arg(o.name.toUpper()));
    // SQL names ignore case: "talo_totaux" would stand in the way of ours.
    SqliteStatement st(db_.handle(),
                       QStringLiteral("SELECT type, name FROM sqlite_master WHERE upper(name) IN "
                                      "(%1)")
                           .arg(names.join(QLatin1Char(','))));
    QList<std::pair<QString, QString>> found;
    while (st.step())
        found.append({st.text(0), st.text(1)});
    return found;
}

bool StoredTotals::upToDate()
{
    QHash<QString, std::pair<QString, QString>> present; // name -> type, sql
    {
        SqliteStatement st(db_.handle(),
                           QStringLiteral("SELECT name, type, sql FROM sqlite_master"));
        while (st.step())
            present.insert(st.text(0), {st.text(1), st.text(2)});
    }
    for (const TotalsSchema::SchemaObject &o : TotalsSchema::objects()) {
        if (present.value(o.name) != std::pair(o.type, o.sql))
            return false;
    }
    return true;
}

void StoredTotals::rebuild()
{
    db_.exec(QStringLiteral("BEGIN IMMEDIATE"));
    // A failure anywhere leaves nothing of the rebuild in the file.
    const auto rollBack = qScopeGuard([this] {
        if (!sqlite3_get_autocommit(db_.handle()))
            sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    });
    for (const auto &[type, name] : objectsNamedLikeOurs())
        db_.exec(QStringLiteral("DROP %1 IF EXISTS %2")
                     .arg(type.toUpper(), TableDefinition::quoted(name)));
    for (const TotalsSchema::SchemaObject &o : TotalsSchema::objects())
        db_.exec(o.sql);
    db_.exec(TotalsSchema::fillStatement());
    db_.exec(QStringLiteral("COMMIT"));
    db_.checkpoint();
}

RegisterTotals StoredTotals::sumsOf(const CellFilter &inView)
{
    RegisterTotals sums;
    sums.known = true;
    SqliteStatement st(db_.handle(), TotalsSchema::cellsQuery());
    while (st.step()) {
        if (!inView(st.text(0), int(st.int64(1))))
            continue;
        sums.cost += st.int64(3);
        sums.cpam += st.int64(4);
        sums.mutual += st.int64(5);
        sums.awaited += st.int64(6);
    }
    sums.gap = sums.cost - (sums.cpam + sums.mutual);
    return sums;
}
