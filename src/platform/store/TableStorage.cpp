#include "TableStorage.h"

#include "DatabaseError.h"
#include "ForeignObjects.h"
#include "RowStore.h"
#include "SqliteStatement.h"
#include "platform/core/AtomicFileWriter.h"
#include "platform/core/FileErrors.h"
#include "platform/core/FileNames.h"
#include "platform/core/Formats.h"
#include "platform/core/PlatformMessages.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryFile>
#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace
{

QString columnList(const TableDefinition &def, const std::vector<int> &fields)
{
    QStringList names;
    for (int i : fields)
        names.append(TableDefinition::quoted(def.field(i).name));
    return names.join(QStringLiteral(", "));
}

} // namespace

TableStorage::TableStorage(const TableDefinition &definition, const QString &path,
                           const FileFormat::StopPoint &stop)
    : def_(definition)
{
    const QStringList companions{path + QStringLiteral("-wal"), path + QStringLiteral("-shm")};
    QStringList absent;
    for (const QString &companion : companions) {
        if (!QFileInfo::exists(companion))
            absent.append(companion);
    }
    try {
        db_ = std::make_unique<SqliteDatabase>(path, SqliteDatabase::Mode::OpenExisting);
        if (FileFormat::isNewer(*db_, def_)) {
            openNewer(path);
            version_ = db_->dataVersion();
            return;
        }
        checkStructure(false);
        // Only a file proved to hold the table, and nothing else, is ever written to. A log
        // left by a crash is moved into the file at once.
        db_->useWriteAheadLog();
        db_->checkpoint();
    } catch (const DatabaseError &e) {
        if (!SqliteDatabase::isWriteFailure(e.sqliteCode()))
            throw;
        db_.reset();
        // A full disk lets SQLite create its log and shared-memory index but not fill them:
        // what it left of them (an empty log, an index shorter than its first 32 KiB block)
        // holds nothing and is taken away.
        for (const QString &companion : absent) {
            if (QFileInfo(companion).size() <
                (companion.endsWith(QLatin1String("-shm")) ? 32768 : 1))
                QFile::remove(companion);
        }
        try {
            db_ = std::make_unique<SqliteDatabase>(path, SqliteDatabase::Mode::ReadOnly);
        } catch (const DatabaseError &) {
            // Not even readable: the first failure is the one to tell.
            throw e;
        }
        checkStructure(FileFormat::isNewer(*db_, def_));
        readOnlyReason_ = SqliteDatabase::writeFailureReason(path, e.sqliteCode());
    }
    if (!isReadOnly()) {
        try {
            FileFormat::upgrade(*this, stop);
        } catch (const DatabaseError &e) {
            openAfterFailedUpgrade(path, e);
        }
    }
    version_ = db_->dataVersion();
}

void TableStorage::openNewer(const QString &path)
{
    const int found = FileFormat::versionOf(*db_);
    // Nothing of this program may run its writes, or its rebuilds, over what it does not know.
    db_.reset();
    db_ = std::make_unique<SqliteDatabase>(path, SqliteDatabase::Mode::ReadOnly);
    checkStructure(true);
    readOnlyReason_ = FileFormat::newerReason(found, def_.formatVersion());
}

void TableStorage::openAfterFailedUpgrade(const QString &path, const DatabaseError &failure)
{
    db_.reset();
    try {
        db_ = std::make_unique<SqliteDatabase>(path, SqliteDatabase::Mode::ReadOnly);
        checkStructure(false);
    } catch (const DatabaseError &) {
        // Its older columns cannot be read as today's: the upgrade's failure is the one to tell.
        throw failure;
    }
    readOnlyReason_ = QStringLiteral("Le fichier n'a pas pu être mis au format de cette version "
                                     "du programme ; il est resté tel quel.\n%1")
                          .arg(failure.message());
}

void TableStorage::checkStructure(bool newer)
{
    const QString wanted = def_.sqlName();
    if (!db_->hasTable(wanted))
        throw DatabaseError(PlatformMessages::cannotOpenTable(
            db_->path(), QStringLiteral("La table %1 est absente du fichier.").arg(wanted)));
    table_ = wanted;
    const QStringList columns = db_->columns(table_);
    stored_.clear();
    for (int i = 0; i < def_.fieldCount(); ++i) {
        const FieldDef &f = def_.field(i);
        if (f.calculated)
            continue;
        if (!columns.contains(f.name, Qt::CaseInsensitive))
            throw DatabaseError(PlatformMessages::cannotOpenTable(
                db_->path(), PlatformMessages::fieldNotFound(f.name)));
        stored_.push_back(i);
    }
    if (newer)
        return;
    FileFormat::checkTable(*db_, def_, table_);
    ForeignObjects::refuse(*db_, def_);
}

void TableStorage::requireWritable() const
{
    if (isReadOnly())
        throw DatabaseError(PlatformMessages::tableReadOnly(db_->path(), readOnlyReason_));
}

void TableStorage::loadAll(RowStore &into)
{
    // A plain scan sorted in memory: reading through the index would cost a look-up per row.
    SqliteStatement st(db_->handle(), reader().select(TableDefinition::quoted(table_)));
    reader().read(st, into);
    version_ = db_->dataVersion();
}

std::optional<TableStorage::EndRows> TableStorage::readEnds(RowStore &into, int dateField, int rows)
{
    // One read transaction: the count and both ends agree with one another.
    db_->exec(QStringLiteral("BEGIN"));
    const auto end = qScopeGuard([this] {
        try {
            db_->exec(QStringLiteral("COMMIT"));
        } catch (const DatabaseError &) {
            // Safe to ignore: the transaction only read, and ends with the connection anyway.
        }
    });
    const QString table = TableDefinition::quoted(table_);
    const QString column = TableDefinition::quoted(def_.field(dateField).name);
    EndRows ends;
    {
        SqliteStatement count(db_->handle(), QStringLiteral("SELECT count(*) FROM %1").arg(table));
        count.step();
        ends.count = count.int64(0);
    }
    if (ends.count < 8 * qint64(rows))
        return std::nullopt;
    // The date `rows` rows from either end (through the index on the date, when there is one):
    // every row up to it, and every row from the other one on.
    const auto dateAt = [&](const char *direction) {
        SqliteStatement st(db_->handle(),
                           QStringLiteral("SELECT %1 FROM %2 WHERE %1 IS NOT NULL ORDER BY %1 %3 "
                                          "LIMIT 1 OFFSET %4")
                               .arg(column, table, QLatin1String(direction))
                               .arg(rows - 1));
        return st.step() ? st.text(0) : QString();
    };
    const QString headEnd = dateAt("ASC"), tailStart = dateAt("DESC");
    if (headEnd.isEmpty() || tailStart.isEmpty() || headEnd >= tailStart)
        return std::nullopt;
    // Many rows on one date (or without one) would make the ends as long as the file.
    const qint64 most = std::max<qint64>(4 * qint64(rows), ends.count / 8);
    const RowReader read = reader();
    const auto readSome = [&](const QString &where, const QString &date) {
        SqliteStatement st(
            db_->handle(),
            read.select(table,
                        QStringLiteral("WHERE %1 LIMIT %2").arg(where.arg(column)).arg(most + 1)));
        st.bindText(1, date);
        const quint32 before = into.slotCount();
        read.read(st, into);
        return into.slotCount() - before <= quint32(most);
    };
    if (!readSome(QStringLiteral("%1 IS NULL OR %1 <= ?1"), headEnd)) {
        into.clear();
        return std::nullopt;
    }
    ends.headRows = into.slotCount();
    if (!readSome(QStringLiteral("%1 >= ?1"), tailStart)) {
        into.clear();
        return std::nullopt;
    }
    version_ = db_->dataVersion();
    return ends;
}

RowReader TableStorage::reader() const
{
    return RowReader(def_, stored_);
}

void TableStorage::bindRecord(SqliteStatement &st, const Record &record)
{
    int parameter = 1;
    for (int field : stored_) {
        const FieldDef &f = def_.field(field);
        if (f.kind == FieldKind::AutoIncrement)
            continue;
        if (!record.has(field)) {
            st.bindNull(parameter++);
            continue;
        }
        switch (f.kind) {
        case FieldKind::String:
        case FieldKind::Memo:
            st.bindText(parameter++, record.text(def_.textSlot(field)));
            break;
        case FieldKind::Date:
            st.bindText(parameter++,
                        QDate::fromJulianDay(record.number(field)).toString(Qt::ISODate));
            break;
        case FieldKind::Money:
            st.bindDouble(parameter++, Formats::fromCents(record.number(field)));
            break;
        case FieldKind::Float:
            st.bindDouble(parameter++, std::bit_cast<double>(record.number(field)));
            break;
        case FieldKind::AutoIncrement:
            break;
        }
    }
}

QString TableStorage::insertStatement() const
{
    std::vector<int> columns;
    QStringList marks;
    for (int field : stored_) {
        if (def_.field(field).kind != FieldKind::AutoIncrement) {
            columns.push_back(field);
            marks.append(QStringLiteral("?"));
        }
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(TableDefinition::quoted(table_), columnList(def_, columns),
             marks.join(QLatin1Char(',')));
}

qint64 TableStorage::insert(const Record &record)
{
    requireWritable();
    SqliteStatement st(db_->handle(), insertStatement());
    bindRecord(st, record);
    st.step();
    const qint64 rowId = db_->lastInsertRowId();
    db_->checkpoint();
    return rowId;
}

void TableStorage::insertAll(const std::vector<Record> &records)
{
    requireWritable();
    db_->exec(QStringLiteral("BEGIN"));
    try {
        SqliteStatement st(db_->handle(), insertStatement());
        for (const Record &record : records) {
            bindRecord(st, record);
            st.step();
            st.reset();
        }
        db_->exec(QStringLiteral("COMMIT"));
    } catch (const DatabaseError &) {
        sqlite3_exec(db_->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    db_->checkpoint();
}

void TableStorage::update(const Record &record)
{
    requireWritable();
    QStringList assignments;
    for (int field : stored_) {
        if (def_.field(field).kind != FieldKind::AutoIncrement)
            assignments.append(TableDefinition::quoted(def_.field(field).name) +
                               QStringLiteral("=?"));
    }
    const int rowIdField = def_.rowIdIndex();
    SqliteStatement st(db_->handle(),
                       QStringLiteral("UPDATE %1 SET %2 WHERE %3=?%4")
                           .arg(TableDefinition::quoted(table_), assignments.join(QLatin1Char(',')),
                                TableDefinition::quoted(def_.field(rowIdField).name))
                           .arg(assignments.size() + 1));
    bindRecord(st, record);
    st.bindInt(int(assignments.size()) + 1, record.rowId);
    st.step();
    if (db_->changes() == 0)
        throw DatabaseError(PlatformMessages::recordVanished());
    db_->checkpoint();
}

void TableStorage::remove(qint64 rowId)
{
    requireWritable();
    const int rowIdField = def_.rowIdIndex();
    SqliteStatement st(db_->handle(),
                       QStringLiteral("DELETE FROM %1 WHERE %2=?1")
                           .arg(TableDefinition::quoted(table_),
                                TableDefinition::quoted(def_.field(rowIdField).name)));
    st.bindInt(1, rowId);
    st.step();
    db_->checkpoint();
}

bool TableStorage::changedElsewhere()
{
    const qint64 now = db_->dataVersion();
    const bool changed = now != version_;
    version_ = now;
    return changed;
}

bool TableStorage::createFile(const QString &path, const TableDefinition &definition)
{
    if (QFileInfo::exists(path))
        return false;
    // Built aside and renamed into place, so that a failure never leaves a half-made table.
    const QString temporary = path + QStringLiteral(".creation");
    QFile::remove(temporary);
    try {
        SqliteDatabase db(temporary, SqliteDatabase::Mode::Create);
        db.useWriteAheadLog();
        QFile::setPermissions(temporary, QFile::ReadOwner | QFile::WriteOwner);
        db.exec(QStringLiteral("BEGIN"));
        for (const QString &sql : definition.createStatements())
            db.exec(sql);
        if (definition.formatVersion() > 0)
            db.exec(QStringLiteral("PRAGMA user_version = %1").arg(definition.formatVersion()));
        db.exec(QStringLiteral("COMMIT"));
    } catch (const DatabaseError &e) {
        QFile::remove(temporary);
        throw DatabaseError(PlatformMessages::diskWriteFailed(path, e.message()));
    }
    if (!QFile::rename(temporary, path)) {
        QFile::remove(temporary);
        throw DatabaseError(PlatformMessages::diskWriteFailed(
            path, QStringLiteral("Le fichier ne peut pas être mis en place.")));
    }
    return true;
}

void TableStorage::addIndex(const QString &path, const TableDefinition &definition,
                            const QString &indexName, const QStringList &fields)
{
    // Called on copies in a backup folder: the file stays self-contained.
    SqliteDatabase db(path, SqliteDatabase::Mode::OpenExisting);
    db.useRollbackJournal();
    QStringList key;
    for (const QString &name : fields) {
        const int index = definition.indexOf(name.trimmed());
        if (index < 0)
            throw DatabaseError(PlatformMessages::fieldNotFound(name));
        key.append(TableDefinition::quoted(definition.field(index).name));
    }
    // An index on the same fields already there (a copy keeps its source's) is enough.
    SqliteStatement existing(
        db.handle(), QStringLiteral("SELECT group_concat(ii.name, ';') FROM sqlite_master m, "
                                    "pragma_index_info(m.name) ii WHERE m.type='index' AND "
                                    "m.tbl_name=?1 COLLATE NOCASE GROUP BY m.name"));
    existing.bindText(1, definition.sqlName());
    QStringList bare;
    for (const QString &k : fields)
        bare.append(definition.field(definition.indexOf(k.trimmed())).name);
    while (existing.step()) {
        if (existing.text(0) == bare.join(QLatin1Char(';')))
            return;
    }
    db.exec(QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                .arg(TableDefinition::quoted(indexName),
                     TableDefinition::quoted(definition.sqlName()),
                     key.join(QStringLiteral(", "))));
}

namespace
{

// Checked: a copy whose bytes never reached the disk must not replace an older one.
bool syncPath(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return synced;
}

// Pages copied per step: between steps the work may report and be stopped.
constexpr int PagesPerStep = 256;

// The whole file into an empty one, left in rollback-journal mode: it needs no companion
// file and none will be read with it. The source is read through the connection given,
// inside one read transaction, so the copy is one moment of the file whatever is written
// meanwhile. An empty reason means success; `step` may throw to stop the copy.
QString copyDatabase(sqlite3 *source, const QString &temporary, const TableStorage::CopyStep &step)
{
    sqlite3 *out = nullptr;
    sqlite3_backup *backup = nullptr;
    const auto release = qScopeGuard([&] {
        if (backup)
            sqlite3_backup_finish(backup);
        sqlite3_exec(source, "ROLLBACK", nullptr, nullptr, nullptr);
        if (out)
            sqlite3_close(out);
    });
    int rc = sqlite3_exec(source, "BEGIN; SELECT count(*) FROM sqlite_master", nullptr, nullptr,
                          nullptr);
    if (rc != SQLITE_OK)
        return SqliteDatabase::reason(source, rc);
    rc = sqlite3_open_v2(QFile::encodeName(temporary).constData(), &out, SQLITE_OPEN_READWRITE,
                         nullptr);
    if (rc == SQLITE_OK) {
        backup = sqlite3_backup_init(out, "main", source, "main");
        if (backup) {
            do {
                rc = sqlite3_backup_step(backup, PagesPerStep);
                if (step && (rc == SQLITE_OK || rc == SQLITE_DONE)) {
                    const int pages = sqlite3_backup_pagecount(backup);
                    step(pages - sqlite3_backup_remaining(backup), pages);
                }
            } while (rc == SQLITE_OK);
            const int finished = sqlite3_backup_finish(backup);
            backup = nullptr;
            rc = rc == SQLITE_DONE ? finished : rc;
        } else {
            rc = sqlite3_errcode(out);
        }
    }
    // The copy took the source's write-ahead-log mode with its first page.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(out, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    const QString failure = rc == SQLITE_OK ? QString() : SqliteDatabase::reason(out, rc);
    const int closed = sqlite3_close(out);
    out = nullptr;
    if (closed != SQLITE_OK && failure.isEmpty())
        return SqliteDatabase::reason(nullptr, SQLITE_IOERR);
    return failure;
}

// Companions of an older table of that name would be read with the new one.
QString removeStaleCompanions(const QString &destination)
{
    for (const char *suffix : {"-wal", "-shm", "-journal"}) {
        const QString companion = destination + QLatin1String(suffix);
        if (QFileInfo::exists(companion) && !QFile::remove(companion))
            return FileErrors::staleCompanionNotRemoved(companion);
    }
    return QString();
}

} // namespace

void TableStorage::copyTo(const QString &destination, const std::function<void()> &beforeRename)
{
    copyFile(path(), destination, {}, beforeRename);
}

void TableStorage::copyFile(const QString &source, const QString &destination, const CopyStep &step,
                            const std::function<void()> &beforeRename)
{
    const QFileInfo target(destination);
    AtomicFileWriter::removeLeftovers(destination);
    QTemporaryFile file(FileNames::temporaryTemplate(destination));
    if (!file.open())
        throw DatabaseError(PlatformMessages::copyFailed(
            destination, FileErrors::openForWritingReason(destination)));
    file.close();
    const QString temporary = file.fileName();
    // However the copy ends short, stopped included, nothing of it is left behind.
    auto dropJournal =
        qScopeGuard([&temporary] { QFile::remove(temporary + QStringLiteral("-journal")); });

    QString failure;
    {
        // A connection of the copy's own: the one the components share stays on their thread.
        SqliteDatabase reader(source, SqliteDatabase::Mode::Reader);
        failure = copyDatabase(reader.handle(), temporary, step);
    }
    if (failure.isEmpty() && !syncPath(temporary))
        failure = PlatformMessages::writeFailed();
    if (failure.isEmpty())
        failure = removeStaleCompanions(destination);
    if (failure.isEmpty() && beforeRename)
        beforeRename();
    if (failure.isEmpty()) {
        if (std::rename(QFile::encodeName(temporary).constData(),
                        QFile::encodeName(destination).constData()) != 0)
            failure = PlatformMessages::replaceFailed();
        else
            syncPath(target.absolutePath());
    }
    if (!failure.isEmpty())
        throw DatabaseError(PlatformMessages::copyFailed(destination, failure));
    dropJournal.dismiss();
    file.setAutoRemove(false);
}
