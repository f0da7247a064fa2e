#include "SqliteDatabase.h"

#include "DatabaseError.h"
#include "SqliteStatement.h"
#include "platform/core/ParadoxSignature.h"
#include "platform/core/PlatformMessages.h"

#include <QFileInfo>
#include <QStorageInfo>
#include <QStringList>
#include <QUrl>
#include <sqlite3.h>

SqliteDatabase::SqliteDatabase(const QString &path, Mode mode) : path_(path)
{
    const QFileInfo info(path);
    const bool existing = mode != Mode::Create;
    if (existing && !info.isFile())
        throw DatabaseError(PlatformMessages::tableFileMissing(path));
    // SQLite takes an empty file for an empty database and would write one into it.
    if (existing && info.size() == 0)
        throw DatabaseError(PlatformMessages::cannotOpenTable(path, emptyFileReason()));
    // SQLite would call it damaged; it is only waiting for its conversion.
    if (existing && ParadoxSignature::matches(path))
        throw DatabaseError(
            PlatformMessages::cannotOpenTable(path, PlatformMessages::paradoxTableNotConverted()));
    QByteArray name = path.toUtf8();
    int flags = SQLITE_OPEN_NOMUTEX;
    if (mode == Mode::ReadOnly) {
        flags |= SQLITE_OPEN_READONLY;
        // Immutable: no lock, no shared memory, nothing created beside the file. Only when no
        // change waits in a log, which such a connection would not see.
        const QFileInfo log(path + QStringLiteral("-wal"));
        if (!log.exists() || log.size() == 0) {
            flags |= SQLITE_OPEN_URI;
            name = QUrl::fromLocalFile(info.absoluteFilePath()).toEncoded() + "?immutable=1";
        }
    } else if (mode == Mode::Reader) {
        flags |= SQLITE_OPEN_READONLY;
    } else {
        flags |= SQLITE_OPEN_READWRITE | (mode == Mode::Create ? SQLITE_OPEN_CREATE : 0);
    }
    int rc = sqlite3_open_v2(name.constData(), &db_, flags, nullptr);
    if (rc == SQLITE_OK && mode == Mode::OpenExisting && sqlite3_db_readonly(db_, "main") == 1)
        rc = SQLITE_READONLY;
    if (rc != SQLITE_OK) {
        const QString why = rc == SQLITE_READONLY ? reason(nullptr, rc) : reason(db_, rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw DatabaseError(PlatformMessages::cannotOpenTable(path, why), rc);
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 5000);
    try {
        // Reading the schema proves the file is a database at all.
        exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (const DatabaseError &e) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw DatabaseError(PlatformMessages::cannotOpenTable(path, e.message()), e.sqliteCode());
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
        throw DatabaseError(PlatformMessages::cannotOpenTable(path_, e.message()), e.sqliteCode());
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
        throw DatabaseError(reason(db_, rc), rc);
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

bool SqliteDatabase::isWriteFailure(int code)
{
    switch (code & 0xff) {
    case SQLITE_READONLY:
    case SQLITE_FULL:
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        return true;
    default:
        return false;
    }
}

QString SqliteDatabase::writeFailureReason(const QString &path, int code)
{
    const QStorageInfo volume(QFileInfo(path).absolutePath());
    if ((code & 0xff) == SQLITE_IOERR && volume.isValid() && volume.bytesAvailable() < 64 * 1024)
        return reason(nullptr, SQLITE_FULL);
    return reason(nullptr, code);
}

SqliteDatabase::~SqliteDatabase()
{
    sqlite3_close_v2(db_);
}

void SqliteDatabase::exec(const QString &sql)
{
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const int code = sqlite3_extended_errcode(db_);
        throw DatabaseError(reason(db_, code), code);
    }
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
