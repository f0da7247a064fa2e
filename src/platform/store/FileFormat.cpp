#include "FileFormat.h"

#include "DatabaseError.h"
#include "SqliteDatabase.h"
#include "SqliteStatement.h"
#include "TableDefinition.h"
#include "TableStorage.h"
#include "platform/core/PlatformMessages.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <algorithm>
#include <sqlite3.h>

namespace
{

QString storedStatement(SqliteDatabase &db, const QString &table)
{
    SqliteStatement st(db.handle(), QStringLiteral("SELECT sql FROM sqlite_master WHERE "
                                                   "type = 'table' AND name = ?1 COLLATE NOCASE"));
    st.bindText(1, table);
    return st.step() ? st.text(0) : QString();
}

QString alteredReason(const QString &table, const QString &wanted)
{
    return QStringLiteral(
               "La définition de la table « %1 » (ses colonnes ou ses contraintes) n'est pas "
               "celle que le programme a créée. Elle pourrait remplacer ou effacer des saisies à "
               "votre insu : le fichier est refusé et laissé tel quel.\nPour le réparer, "
               "remettez à sa place la table d'une copie de sauvegarde, ou recréez-la avec "
               "sqlite3 selon sa définition d'origine (%2;) et copiez-y les lignes.")
        .arg(table, wanted);
}

void stopAt(const FileFormat::StopPoint &stop, FileFormat::Step step)
{
    if (stop)
        stop(step);
}

} // namespace

int FileFormat::versionOf(SqliteDatabase &db)
{
    SqliteStatement st(db.handle(), QStringLiteral("PRAGMA user_version"));
    st.step();
    return int(st.int64(0));
}

bool FileFormat::isNewer(SqliteDatabase &db, const TableDefinition &definition)
{
    return definition.formatVersion() >= 0 && versionOf(db) > definition.formatVersion();
}

QString FileFormat::newerReason(int found, int known)
{
    return QStringLiteral("Le fichier a été enregistré par une version plus récente du programme "
                          "(format %1 ; cette version connaît le format %2 au plus). Il est "
                          "ouvert en lecture seule, pour ne rien abîmer de ce que la version "
                          "récente y a mis : installez-la pour le modifier.")
        .arg(found)
        .arg(known);
}

void FileFormat::refuseNewer(SqliteDatabase &db, const TableDefinition &definition)
{
    if (isNewer(db, definition))
        throw DatabaseError(PlatformMessages::tableReadOnly(
            db.path(), newerReason(versionOf(db), definition.formatVersion())));
}

void FileFormat::checkTable(SqliteDatabase &db, const TableDefinition &definition,
                            const QString &table)
{
    const auto &history = definition.formatHistory();
    if (history.empty())
        return;
    const int found = versionOf(db);
    if (found < 0)
        throw DatabaseError(PlatformMessages::cannotOpenTable(
            db.path(), QStringLiteral("Le numéro de format du fichier (%1) n'a pas de sens : il "
                                      "a été modifié hors du programme.")
                           .arg(found)));
    const QString &wanted = history[size_t(std::min<int>(found, int(history.size()) - 1))].tableSql;
    if (storedStatement(db, table) != wanted)
        throw DatabaseError(
            PlatformMessages::cannotOpenTable(db.path(), alteredReason(table, wanted)));
}

QString FileFormat::asidePath(const QString &path, int version)
{
    const QFileInfo file(path);
    return file.dir().filePath(QStringLiteral("%1 (copie avant le format %2).%3")
                                   .arg(file.completeBaseName())
                                   .arg(version + 1)
                                   .arg(file.suffix()));
}

void FileFormat::upgrade(TableStorage &storage, const StopPoint &stop)
{
    SqliteDatabase &db = storage.database();
    const TableDefinition &definition = storage.definition();
    const int found = versionOf(db), wanted = definition.formatVersion();
    if (found >= wanted)
        return;
    // The copy is complete under its name or not there: built aside, renamed once synced.
    storage.copyTo(asidePath(db.path(), found), [&] { stopAt(stop, Step::CopyWritten); });
    stopAt(stop, Step::CopyInPlace);
    db.exec(QStringLiteral("BEGIN IMMEDIATE"));
    const auto rollBack = qScopeGuard([&db] {
        if (!sqlite3_get_autocommit(db.handle()))
            sqlite3_exec(db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    });
    for (int version = found + 1; version <= wanted; ++version) {
        for (const QString &sql : definition.formatHistory()[size_t(version)].fromPrevious)
            db.exec(sql);
    }
    db.exec(QStringLiteral("PRAGMA user_version = %1").arg(wanted));
    // The statements must have made the table the program writes today.
    checkTable(db, definition, storage.sqlTable());
    stopAt(stop, Step::Migrated);
    db.exec(QStringLiteral("COMMIT"));
    db.checkpoint();
    stopAt(stop, Step::Committed);
}
