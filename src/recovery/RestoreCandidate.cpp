#include "RestoreCandidate.h"

#include "BackupCopy.h"
#include "PasswordStore.h"
#include "platform/core/FileCopy.h"

#include "platform/core/FileNames.h"
#include "platform/core/PlatformError.h"
#include "platform/core/PrivateProfile.h"
#include "platform/store/SqliteDatabase.h"
#include "platform/store/SqliteStatement.h"
#include "platform/store/TableStorage.h"
#include "proofs/ProofError.h"
#include "proofs/ProofInventory.h"
#include "proofs/ProofStore.h"
#include "tables/CareEntryTable.h"
#include "tables/DoctorTable.h"
#include "tables/InsuredTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{

const QString restorePrefix = QStringLiteral("Restauration");

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// There, as an entry of its own: a link counts whatever it points to.
bool present(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString notSoundTable(const QString &name, const QString &reason)
{
    return QStringLiteral("Le fichier %1 de cette copie n'est pas une table de Talo 3.0 en bon "
                          "état :\n%2")
        .arg(name, reason);
}

// Opens one staged table, checking its fields, and hands it to `read` before closing it. The
// storage alone, without a table component: nothing shared with the windows, so that this
// may run on a worker.
template <typename Read>
void readTable(const TableDefinition &definition, const QString &folder, Read read)
{
    try {
        TableStorage storage(definition, QDir(folder).filePath(definition.fileName()));
        read(storage);
    } catch (const PlatformError &e) {
        throw PlatformError(notSoundTable(definition.fileName(), e.message()));
    }
}

int rowCount(TableStorage &storage)
{
    SqliteStatement count(
        storage.database().handle(),
        QStringLiteral("SELECT count(*) FROM %1").arg(TableDefinition::quoted(storage.sqlTable())));
    return count.step() ? int(count.int64(0)) : 0;
}

// Thrown through a file copy to stop it; its temporary file goes with it.
struct Stopped {
};

} // namespace

RestoreCandidate::RestoreCandidate(const QString &programDir, const QString &backupFolder)
    : programDir_(programDir), backupFolder_(backupFolder),
      staging_(
          QDir(programDir).filePath(QLatin1Char('.') + restorePrefix + QStringLiteral("-XXXXXX")))
{
}

QStringList RestoreCandidate::tableFileNames()
{
    return {CareEntryTable::definition().fileName(), DoctorTable::definition().fileName(),
            InsuredTable::definition().fileName()};
}

std::unique_ptr<RestoreCandidate> RestoreCandidate::prepare(const QString &programDir,
                                                            const QString &backupFolder,
                                                            const Progress &progress)
{
    if (!QFileInfo(backupFolder).isDir())
        throw PlatformError(
            QStringLiteral("Le dossier %1 n'existe pas.").arg(native(backupFolder)));
    if (BackupCopy::sameFolder(backupFolder, programDir))
        throw PlatformError(QStringLiteral("Ce dossier est celui de Talo 3.0 : choisissez le "
                                           "dossier d'une copie de sauvegarde."));
    // Working folders of a run that ended while its dialog was open.
    const QDir dir(programDir);
    for (const QString &stale : dir.entryList(
             {QLatin1Char('.') + restorePrefix + QStringLiteral("-*")}, QDir::Dirs | QDir::Hidden))
        QDir(dir.filePath(stale)).removeRecursively();
    std::unique_ptr<RestoreCandidate> candidate(new RestoreCandidate(programDir, backupFolder));
    if (!candidate->staging_.isValid())
        throw PlatformError(
            QStringLiteral("Impossible de créer un dossier de travail dans %1 :\n%2")
                .arg(native(programDir), candidate->staging_.errorString()));

    QStringList names = tableFileNames();
    const QString ini = FileNames::resolve(programDir, QStringLiteral("talo.ini"));
    for (int key = 1; key <= BackupCopy::listedFileCount; ++key) {
        const QString name =
            PrivateProfile::readString(ini, QStringLiteral("ListeFichiers"), QString::number(key));
        if (!name.isEmpty() && !name.contains(QLatin1Char('/')) && !names.contains(name))
            names.append(name);
    }
    candidate->progress_ = progress;
    // Each file copied, then read back as much again for the checks.
    for (const QString &name : names)
        candidate->total_ += 2 * QFileInfo(FileNames::resolve(backupFolder, name)).size();
    try {
        for (const QString &name : names)
            candidate->copyIn(name);
        for (const QString &name : tableFileNames())
            candidate->settleTable(name);
    } catch (const Stopped &) {
        return nullptr;
    }
    candidate->inspect();
    if (candidate->stopped_ || !candidate->tell(candidate->total_))
        return nullptr;
    candidate->stageProofs();
    candidate->keepPassword();
    return candidate;
}

void RestoreCandidate::copyIn(const QString &name)
{
    const QString source = FileNames::resolve(backupFolder_, name);
    if (!present(source))
        throw PlatformError(
            QStringLiteral("Le dossier %1 ne contient pas le fichier %2 : ce "
                           "n'est pas une copie de sauvegarde complète de Talo 3.0.")
                .arg(native(backupFolder_), name));
    copyChecked(source, QDir(staging_.path()).filePath(name), name);
    names_.append(name);
    copied_ += QFileInfo(source).size();
}

void RestoreCandidate::copyChecked(const QString &source, const QString &destination,
                                   const QString &name)
{
    try {
        FileCopy::copyRegularFile(source, destination, [this](qint64 bytes) {
            if (!tell(copied_ + bytes))
                throw Stopped();
        });
    } catch (const PlatformError &e) {
        throw PlatformError(QStringLiteral("Le fichier %1 de cette copie ne peut pas être "
                                           "repris :\n%2")
                                .arg(name, e.message()));
    }
}

void RestoreCandidate::settleTable(const QString &name)
{
    // A copy made by hand may hold committed rows in its log still, or a transaction cut short
    // in its rollback journal: both are read with the table, never the shared-memory index,
    // which SQLite rebuilds.
    const QString staged = QDir(staging_.path()).filePath(name);
    for (const char *suffix : {"-wal", "-journal"}) {
        const QString companion = FileNames::resolve(backupFolder_, name + QLatin1String(suffix));
        if (present(companion))
            copyChecked(companion, staged + QLatin1String(suffix), name + QLatin1String(suffix));
    }
    // SQLite applies them at open; back in rollback-journal mode the file holds everything on
    // its own.
    try {
        SqliteDatabase db(staged, SqliteDatabase::Mode::OpenExisting);
        db.useRollbackJournal();
    } catch (const PlatformError &e) {
        throw PlatformError(notSoundTable(name, e.message()));
    }
    for (const QString &suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")})
        if (present(staged + suffix))
            throw PlatformError(notSoundTable(
                name, QStringLiteral("son journal n'a pas pu être intégré à la table.")));
}

bool RestoreCandidate::tell(qint64 done)
{
    if (progress_ && !progress_(std::min(done, total_), total_))
        stopped_ = true;
    return !stopped_;
}

void RestoreCandidate::stageProofs()
{
    const QString staged = QDir(staging_.path()).filePath(ProofStore::folderName());
    if (!QDir().mkdir(staged,
                      QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
        throw PlatformError(
            QStringLiteral("Impossible de créer le dossier %1.").arg(native(staged)));
    const QString taloDb = QDir(staging_.path()).filePath(CareEntryTable::definition().fileName());
    const QString source = FileNames::resolve(backupFolder_, ProofStore::folderName());
    try {
        QSet<QString> taken;
        for (const ProofLink &link : ProofStore::linksIn(taloDb)) {
            if (taken.contains(link.storedName) || !ProofInventory::isStoredName(link.storedName))
                continue; // a name not ours is refused by the check below
            const QString from = QDir(source).filePath(link.storedName);
            if (!present(from))
                continue; // said missing by the check below, with the proof's name
            copyChecked(from, QDir(staged).filePath(link.storedName),
                        ProofStore::folderName() + QLatin1Char('/') + link.storedName);
            taken.insert(link.storedName);
        }
        summary_.proofs = ProofInventory::verify(taloDb, staged);
    } catch (const ProofError &e) {
        throw PlatformError(
            QStringLiteral("Cette copie ne peut pas être restaurée : ses pièces jointes ne sont "
                           "pas complètes.\n%1")
                .arg(e.message()));
    }
    names_.append(ProofStore::folderName());
}

void RestoreCandidate::keepPassword()
{
    // The password in force stays in force: a restore must not lock the family out with a
    // password they forgot, nor bring back one removed since.
    for (const QString &name : names_)
        if (name.compare(QLatin1String("talo.ini"), Qt::CaseInsensitive) == 0)
            PasswordStore::carryOver(PasswordStore::iniPath(programDir_),
                                     QDir(staging_.path()).filePath(name));
}

void RestoreCandidate::inspect()
{
    const QString folder = staging_.path();
    const TableDefinition &care = CareEntryTable::definition();
    readTable(care, folder, [this, &care](TableStorage &storage) {
        summary_.entries = rowCount(storage);
        // Dates are stored as ISO text: the first that reads as a date, from the end, is the
        // newest; a damaged value is passed over.
        SqliteStatement dates(
            storage.database().handle(),
            QStringLiteral("SELECT DISTINCT %1 FROM %2 WHERE %1 IS NOT NULL ORDER BY %1 DESC")
                .arg(TableDefinition::quoted(care.field(care.indexOf(CareFields::DateSoins)).name),
                     TableDefinition::quoted(storage.sqlTable())));
        while (dates.step()) {
            const QDate day = QDate::fromString(dates.text(0), Qt::ISODate);
            if (day.isValid()) {
                summary_.newestEntry = day;
                break;
            }
        }
    });
    readTable(DoctorTable::definition(), folder,
              [this](TableStorage &storage) { summary_.doctors = rowCount(storage); });
    readTable(InsuredTable::definition(), folder,
              [this](TableStorage &storage) { summary_.insured = rowCount(storage); });
    // The checks opened the copies with their log: none of it may travel with them.
    for (const QString &name : tableFileNames())
        for (const char *suffix : {"-wal", "-shm", "-journal"})
            QFile::remove(QDir(folder).filePath(name + QLatin1String(suffix)));
}

QString RestoreCandidate::summaryText() const
{
    const QString newest =
        summary_.newestEntry.isValid()
            ? QStringLiteral(" (le plus récent du %1)")
                  .arg(summary_.newestEntry.toString(QStringLiteral("dd/MM/yyyy")))
            : QString();
    const QString proofs = summary_.proofs == 0 ? QStringLiteral("aucune pièce jointe")
                           : summary_.proofs == 1
                               ? QStringLiteral("1 pièce jointe")
                               : QStringLiteral("%1 pièces jointes").arg(summary_.proofs);
    return QStringLiteral("Cette copie contient %1 soin(s)%2, %3 médecin(s) et %4 assuré(s). "
                          "Elle contient %5.")
        .arg(summary_.entries)
        .arg(newest)
        .arg(summary_.doctors)
        .arg(summary_.insured)
        .arg(proofs);
}
