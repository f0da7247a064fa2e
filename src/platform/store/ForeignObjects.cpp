#include "ForeignObjects.h"

#include "DatabaseError.h"
#include "SqliteDatabase.h"
#include "SqliteStatement.h"
#include "TableDefinition.h"
#include "platform/core/PlatformMessages.h"

#include <QStringList>
#include <algorithm>

namespace
{

// What runs code is compared statement for statement; a table or an index only by name.
bool runsCode(const QString &type)
{
    return type == QLatin1String("trigger") || type == QLatin1String("view");
}

bool isOwn(const SchemaObject &found, const std::vector<SchemaObject> &own)
{
    return std::any_of(own.begin(), own.end(), [&](const SchemaObject &o) {
        return o.type == found.type && o.name.compare(found.name, Qt::CaseInsensitive) == 0 &&
               (!runsCode(o.type) || o.sql == found.sql);
    });
}

// Counters, statistics and the indexes of key constraints, which SQLite makes itself; a
// trigger or a view is never its own, whatever its name.
bool isSqlitesOwn(const SchemaObject &o, bool withoutStatement)
{
    const QString name = o.name.toLower();
    if (o.type == QLatin1String("table"))
        return name == QLatin1String("sqlite_sequence") ||
               name.startsWith(QLatin1String("sqlite_stat"));
    if (o.type == QLatin1String("index"))
        return withoutStatement && name.startsWith(QLatin1String("sqlite_autoindex_"));
    return false;
}

QString described(const SchemaObject &o)
{
    QString kind;
    if (o.type == QLatin1String("trigger"))
        kind = QStringLiteral("le déclencheur");
    else if (o.type == QLatin1String("view"))
        kind = QStringLiteral("la vue");
    else if (o.type == QLatin1String("index"))
        kind = QStringLiteral("l'index");
    else
        kind = QStringLiteral("la table");
    return QStringLiteral("%1 « %2 »").arg(kind, o.name);
}

QString dropStatement(const SchemaObject &o)
{
    return QStringLiteral("DROP %1 %2;").arg(o.type.toUpper(), TableDefinition::quoted(o.name));
}

} // namespace

std::vector<SchemaObject> ForeignObjects::in(SqliteDatabase &db, const TableDefinition &definition)
{
    const std::vector<SchemaObject> own = definition.ownObjects();
    std::vector<SchemaObject> foreign;
    SqliteStatement st(db.handle(),
                       QStringLiteral("SELECT type, name, sql FROM sqlite_master ORDER BY rowid"));
    while (st.step()) {
        SchemaObject found{st.text(0), st.text(1), st.text(2)};
        if (!isOwn(found, own) && !isSqlitesOwn(found, st.isNull(2)))
            foreign.push_back(std::move(found));
    }
    return foreign;
}

void ForeignObjects::refuse(SqliteDatabase &db, const TableDefinition &definition)
{
    const std::vector<SchemaObject> foreign = in(db, definition);
    if (!foreign.empty())
        throw DatabaseError(PlatformMessages::cannotOpenTable(db.path(), reason(foreign)));
}

QString ForeignObjects::reason(const std::vector<SchemaObject> &foreign)
{
    constexpr size_t named = 5;
    QStringList names, drops;
    for (size_t i = 0; i < foreign.size() && i < named; ++i) {
        names.append(described(foreign[i]));
        drops.append(dropStatement(foreign[i]));
    }
    QString list = names.join(QStringLiteral(", "));
    if (foreign.size() > named)
        list += QStringLiteral(" et %1 autre(s)").arg(foreign.size() - named);
    return QStringLiteral(
               "Le fichier contient des objets SQL que le programme n'y a pas mis : %1. Ils "
               "pourraient modifier ou effacer des saisies à votre insu : le fichier est refusé "
               "et laissé tel quel.\nPour le réparer, remettez à sa place la table d'une copie "
               "de sauvegarde, ou supprimez ces objets avec sqlite3 (%2).")
        .arg(list, drops.join(QLatin1Char(' ')));
}
