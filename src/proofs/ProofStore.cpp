#include "ProofStore.h"

#include "ProofError.h"
#include "ProofIntake.h"
#include "ProofInventory.h"
#include "ProofMessages.h"

#include "platform/store/FileFormat.h"
#include "platform/store/ForeignObjects.h"
#include "platform/store/SqliteDatabase.h"
#include "platform/store/SqliteStatement.h"
#include "tables/CareEntryTable.h"
#include "tables/ProofLinkSchema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <sqlite3.h>
#include <sys/stat.h>

namespace
{

constexpr int maxShownName = 200;

const QString selectLinks = QStringLiteral(
    "SELECT \"Id\", \"Numero\", \"Fichier\", \"Nom\", \"Ajoute\", \"Taille\", \"Empreinte\" "
    "FROM \"TALO_PIECES\" ");

ProofLink linkAt(const SqliteStatement &st)
{
    ProofLink link;
    link.id = st.int64(0);
    link.entryNumber = st.int64(1);
    link.storedName = st.text(2);
    link.shownName = st.text(3);
    link.added = QDateTime::fromString(st.text(4), Qt::ISODate);
    link.size = st.int64(5);
    link.sha256 = QByteArray::fromHex(st.text(6).toLatin1());
    return link;
}

// Writes inside one transaction, made durable by a checkpoint; rolled back on any failure.
template <typename Work> void inTransaction(SqliteDatabase &db, Work &&work)
{
    db.exec(QStringLiteral("BEGIN IMMEDIATE"));
    const auto rollBack = qScopeGuard([&db] {
        if (!sqlite3_get_autocommit(db.handle()))
            sqlite3_exec(db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    });
    work();
    db.exec(QStringLiteral("COMMIT"));
    db.checkpoint();
}

// A connection for writing, refused on a file of a newer format or holding objects the
// program did not put there.
std::unique_ptr<SqliteDatabase> openForWriting(const QString &path)
{
    auto db = std::make_unique<SqliteDatabase>(path, SqliteDatabase::Mode::OpenExisting);
    FileFormat::refuseNewer(*db, CareEntryTable::definition());
    ForeignObjects::refuse(*db, CareEntryTable::definition());
    db->useWriteAheadLog();
    return db;
}

void ensureSchema(SqliteDatabase &db)
{
    if (db.hasTable(ProofLinkSchema::Table))
        return;
    for (const SchemaObject &o : ProofLinkSchema::objects())
        db.exec(o.sql);
}

} // namespace

ProofStore::ProofStore(const QString &programDir, ProofCheck readable)
    : programDir_(programDir), readable_(std::move(readable))
{
}

QString ProofStore::folder() const
{
    return QDir(programDir_).filePath(folderName());
}

QString ProofStore::dbPath() const
{
    return QDir(programDir_).filePath(CareEntryTable::definition().fileName());
}

std::vector<ProofLink> ProofStore::proofsOf(qint64 entryNumber) const
{
    std::vector<ProofLink> links;
    SqliteDatabase db(dbPath(), SqliteDatabase::Mode::ReadOnly);
    if (!db.hasTable(ProofLinkSchema::Table))
        return links;
    SqliteStatement st(db.handle(), selectLinks + QStringLiteral("WHERE \"Numero\" = ?1 ORDER BY "
                                                                 "\"Id\""));
    st.bindInt(1, entryNumber);
    while (st.step())
        links.push_back(linkAt(st));
    return links;
}

std::vector<ProofLink> ProofStore::allLinks() const
{
    return linksIn(dbPath());
}

std::vector<ProofLink> ProofStore::linksIn(const QString &taloDbPath)
{
    std::vector<ProofLink> links;
    SqliteDatabase db(taloDbPath, SqliteDatabase::Mode::ReadOnly);
    if (!db.hasTable(ProofLinkSchema::Table))
        return links;
    SqliteStatement st(db.handle(), selectLinks + QStringLiteral("ORDER BY \"Numero\", \"Id\""));
    while (st.step())
        links.push_back(linkAt(st));
    return links;
}

QHash<qint64, int> ProofStore::countsByEntry() const
{
    QHash<qint64, int> counts;
    SqliteDatabase db(dbPath(), SqliteDatabase::Mode::ReadOnly);
    if (!db.hasTable(ProofLinkSchema::Table))
        return counts;
    SqliteStatement st(db.handle(), QStringLiteral("SELECT \"Numero\", count(*) FROM "
                                                   "\"TALO_PIECES\" GROUP BY \"Numero\""));
    while (st.step())
        counts.insert(st.int64(0), int(st.int64(1)));
    return counts;
}

void ProofStore::makeFolder() const
{
    const QString path = folder();
    if (!QFileInfo(path).isDir() && !QDir().mkpath(path))
        throw ProofError(ProofMessages::folderNotMade(path));
    // Health data: the owner alone, even in a folder made by someone else.
    ::chmod(QFile::encodeName(path).constData(), 0700);
}

std::vector<ProofLink> ProofStore::attach(qint64 entryNumber, const QStringList &files)
{
    std::vector<ProofLink> links;
    if (files.isEmpty())
        return links;
    makeFolder();
    // Every file in place before any link: a link never points at a file not there.
    std::vector<ProofIntake::Kept> kept;
    for (int i = 0; i < files.size(); ++i) {
        kept.push_back(ProofIntake::keep(folder(), files.at(i), readable_));
        if (afterFileStored_)
            afterFileStored_(i);
    }

    const QDateTime now = QDateTime::currentDateTime().toOffsetFromUtc(0);
    write([&](SqliteDatabase &db) {
        SqliteStatement entry(db.handle(), QStringLiteral("SELECT 1 FROM \"TALO\" WHERE "
                                                          "\"Numero\" = ?1"));
        entry.bindInt(1, entryNumber);
        if (!entry.step())
            throw ProofError(ProofMessages::entryMissing(entryNumber));
        ensureSchema(db);
        SqliteStatement insert(db.handle(),
                               QStringLiteral("INSERT INTO \"TALO_PIECES\" (\"Numero\", "
                                              "\"Fichier\", \"Nom\", \"Ajoute\", \"Taille\", "
                                              "\"Empreinte\") VALUES (?1, ?2, ?3, ?4, ?5, ?6)"));
        for (int i = 0; i < files.size(); ++i) {
            ProofLink link;
            link.entryNumber = entryNumber;
            link.storedName = kept[size_t(i)].storedName;
            link.shownName = QFileInfo(files.at(i)).fileName().left(maxShownName);
            link.added = now;
            link.size = kept[size_t(i)].size;
            link.sha256 = kept[size_t(i)].sha256;
            insert.reset();
            insert.bindInt(1, link.entryNumber);
            insert.bindText(2, link.storedName);
            insert.bindText(3, link.shownName);
            insert.bindText(4, link.added.toString(Qt::ISODate));
            insert.bindInt(5, link.size);
            insert.bindText(6, QString::fromLatin1(link.sha256.toHex()));
            insert.step();
            link.id = db.lastInsertRowId();
            links.push_back(link);
        }
    });
    return links;
}

void ProofStore::rename(qint64 linkId, const QString &shownName)
{
    const QString name = shownName.trimmed();
    if (name.isEmpty())
        throw ProofError(ProofMessages::nameEmpty());
    if (name.size() > maxShownName)
        throw ProofError(ProofMessages::nameTooLong(maxShownName));
    write([&](SqliteDatabase &db) {
        if (!db.hasTable(ProofLinkSchema::Table))
            throw ProofError(ProofMessages::linkMissing());
        SqliteStatement st(db.handle(), QStringLiteral("UPDATE \"TALO_PIECES\" SET \"Nom\" = ?1 "
                                                       "WHERE \"Id\" = ?2"));
        st.bindText(1, name);
        st.bindInt(2, linkId);
        st.step();
        if (db.changes() != 1)
            throw ProofError(ProofMessages::linkMissing());
    });
}

void ProofStore::remove(qint64 linkId)
{
    write([&](SqliteDatabase &db) {
        if (!db.hasTable(ProofLinkSchema::Table))
            throw ProofError(ProofMessages::linkMissing());
        SqliteStatement st(db.handle(),
                           QStringLiteral("DELETE FROM \"TALO_PIECES\" WHERE \"Id\" = ?1"));
        st.bindInt(1, linkId);
        st.step();
        if (db.changes() != 1)
            throw ProofError(ProofMessages::linkMissing());
    });
}

void ProofStore::write(const Work &work)
{
    if (writer_ && writer_(work))
        return;
    const auto db = openForWriting(dbPath());
    inTransaction(*db, [&] { work(*db); });
}

QString ProofStore::pathOf(const ProofLink &link) const
{
    // A name edited into the file by hand never leads out of the folder.
    if (!ProofInventory::isStoredName(link.storedName))
        return QString();
    return QDir(folder()).filePath(link.storedName);
}

int ProofStore::collectUnlinked(const std::function<bool(const QString &)> &isHeldElsewhere)
{
    const QDir dir(folder());
    if (!dir.exists())
        return 0;
    QSet<QString> linked;
    for (const ProofLink &link : allLinks())
        linked.insert(link.storedName);
    int removed = 0;
    const auto names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const bool leftover = name.startsWith(ProofIntake::temporaryPrefix());
        if (!leftover && (linked.contains(name) || !isHeldElsewhere(name)))
            continue;
        if (QFile::remove(dir.filePath(name)))
            ++removed;
    }
    return removed;
}

void ProofStore::setAfterFileStoredForTesting(std::function<void(int)> hook)
{
    afterFileStored_ = std::move(hook);
}
