#include "StoredTotals.h"

#include "tables/CareEntryTable.h"
#include "tables/TotalsSchema.h"

#include "platform/store/DatabaseError.h"
#include "platform/store/FileFormat.h"
#include "platform/store/ForeignObjects.h"
#include "platform/store/SqliteStatement.h"
#include "platform/store/TableDefinition.h"

#include <QHash>
#include <QScopeGuard>
#include <QStringList>
#include <sqlite3.h>

StoredTotals::StoredTotals(const QString &path, const TotalsFill::Progress &progress)
    : db_(path, SqliteDatabase::Mode::OpenExisting)
{
    // Nothing is written to a file holding a trigger of someone else's: it would run inside
    // the rebuild.
    // A newer program's file is only read: its sums may not be ours to rebuild.
    FileFormat::refuseNewer(db_, CareEntryTable::definition());
    ForeignObjects::refuse(db_, CareEntryTable::definition());
    db_.useWriteAheadLog();
    if (!upToDate())
        rebuild(progress);
}

bool StoredTotals::agreeWith(const TotalsCells &fromRows, const TotalsFill::Progress &progress)
{
    if (agrees(fromRows))
        return false;
    rebuild(progress);
    if (!agrees(fromRows))
        throw DatabaseError(QStringLiteral("Les sommes de TALO_TOTAUX ne correspondent pas aux "
                                           "lignes de la table."));
    return true;
}

bool StoredTotals::agrees(const TotalsCells &fromRows)
{
    SqliteStatement st(db_.handle(), TotalsSchema::cellsQuery());
    qint64 matched = 0;
    while (st.step()) {
        const TotalsCell stored{st.int64(2), st.int64(3), st.int64(4),
                                st.int64(5), st.int64(6), st.int64(7)};
        if (stored.isEmpty())
            continue;
        const auto found = fromRows.constFind({st.text(0), int(st.int64(1))});
        if (found == fromRows.constEnd() || *found != stored)
            return false;
        ++matched;
    }
    // Every cell of the rows found among the stored ones.
    return matched == fromRows.size();
}

QList<std::pair<QString, QString>> StoredTotals::objectsNamedLikeOurs()
{
    QStringList names;
    for (const SchemaObject &o : TotalsSchema::objects())
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
    for (const SchemaObject &o : TotalsSchema::objects()) {
        if (present.value(o.name) != std::pair(o.type, o.sql))
            return false;
    }
    return true;
}

void StoredTotals::rebuild(const TotalsFill::Progress &progress)
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
    // The sums table, filled, then its triggers: the fill writes nothing they watch.
    const std::vector<SchemaObject> &objects = TotalsSchema::objects();
    db_.exec(objects.front().sql);
    TotalsFill::run(db_.handle(), progress);
    for (auto o = objects.begin() + 1; o != objects.end(); ++o)
        db_.exec(o->sql);
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
        sums.withheld += st.int64(7);
    }
    sums.gap = sums.cost - (sums.cpam + sums.mutual);
    return sums;
}
