#include "SqliteDatabase.h"

#include "DatabaseError.h"
#include "SqliteStatement.h"
#include "platform/core/ParadoxSignature.h"
#include "platform/core/PlatformMessages.h"

#include <QFileInfo>
#include <QStringList>
#include <sqlite3.h>

SqliteDatabase::SqliteDatabase(const QString &path, Mode mode) : path_(path)
{
    const QFileInfo info(path);
    if (mode == Mode::OpenExisting && !info.isFile())
        throw DatabaseError(PlatformMessages::tableFileMissing(path));
    // SQLite takes an empty file for an empty database and would write one into it.
    if (mode == Mode::OpenExisting && info.size() == 0)
        throw DatabaseError(PlatformMessages::cannotOpenTable(path, emptyFileReason()));
    // SQLite would call it damaged; it is only waiting for its conversion.
    if (mode == Mode::OpenExisting && ParadoxSignature::matches(path))
        throw DatabaseError(
            PlatformMessages::cannotOpenTable(path, PlatformMessages::paradoxTableNotConverted()));
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX |
                      (mode == Mode::Create ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString why = reason(db_, rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw DatabaseError(PlatformMessages::cannotOpenTable(path, why));
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 5000);
    try {
        // Reading the schema proves the file is a database at all.
        exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (const DatabaseError &e) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw DatabaseError(PlatformMessages::cannotOpenTable(path, e.message()));
    }
}

void SqliteDatabase::useWriteAheadLog()
{
    try {
        exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        // The checkpoint after each write synchronises the log before moving it: a sync at the
        // commit as well would be one more per post for nothing.
        exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    } catch (const DatabaseError &e) {
        throw DatabaseError(PlatformMessages::cannotOpenTable(path_, e.message()));
    }
}

void SqliteDatabase::checkpoint()
{
    // Inside a transaction: its commit is followed by a checkpoint of its own.
    if (!sqlite3_get_autocommit(db_))
        return;
    int logged = 0, moved = 0;
    if (sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_TRUNCATE, &logged, &moved) ==
            SQLITE_OK &&
        logged == moved)
        return;
    // Left in the log: synchronised there, as a commit in full mode would have done.
    sqlite3_file *log = nullptr;
    if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_JOURNAL_POINTER, &log) != SQLITE_OK ||
        !log || !log->pMethods)
        return; // no log open: nothing written since the file was last synchronised
    const int rc = log->pMethods->xSync(log, SQLITE_SYNC_FULL);
    if (rc != SQLITE_OK)
        throw DatabaseError(reason(db_, rc));
}

void SqliteDatabase::useRollbackJournal()
{
    exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    exec(QStringLiteral("PRAGMA synchronous=FULL"));
}

QString SqliteDatabase::emptyFileReason()
{
    return QStringLiteral("Le fichier est vide (0 octet) : ce n'est pas une table. Il est laissé "
                          "tel quel ; remettez à sa place la table d'une copie de sauvegarde.");
}

SqliteDatabase::~SqliteDatabase()
{
    sqlite3_close_v2(db_);
}

void SqliteDatabase::exec(const QString &sql)
{
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw DatabaseError(reason(db_, sqlite3_extended_errcode(db_)));
}

qint64 SqliteDatabase::lastInsertRowId() const
{
    return sqlite3_last_insert_rowid(db_);
}

int SqliteDatabase::changes() const
{
    return sqlite3_changes(db_);
}

QString SqliteDatabase::reason(sqlite3 *db, int code)
{
    const QString detail =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(code));
    switch (code & 0xff) {
    case SQLITE_FULL:
        return QStringLiteral("Le disque est plein.");
    case SQLITE_READONLY:
        return QStringLiteral("Le fichier est en lecture seule.");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("Accès refusé.");
    case SQLITE_IOERR:
        return QStringLiteral("Erreur d'écriture ou de lecture sur le disque (%1).").arg(detail);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("Le fichier est endommagé ou n'est pas une table.");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("Le fichier est verrouillé par un autre programme.");
    case SQLITE_CANTOPEN:
        return QStringLiteral("Le fichier ne peut pas être ouvert.");
    default:
        return QStringLiteral("Erreur de la base de données (%1).").arg(detail);
    }
}

qint64 SqliteDatabase::dataVersion()
{
    SqliteStatement st(db_, QStringLiteral("PRAGMA data_version"));
    return st.step() ? st.int64(0) : 0;
}

bool SqliteDatabase::hasTable(const QString &name)
{
    SqliteStatement st(db_, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND "
                                           "name=?1 COLLATE NOCASE"));
    st.bindText(1, name);
    return st.step();
}

QStringList SqliteDatabase::columns(const QString &table)
{
    SqliteStatement st(db_, QStringLiteral("SELECT name FROM pragma_table_info(?1)"));
    st.bindText(1, table);
    QStringList names;
    while (st.step())
        names.append(st.text(0));
    return names;
}
