#include "RestoreCandidate.h"

#include "BackupCopy.h"
#include "FileCopy.h"

#include "platform/core/FileNames.h"
#include "platform/core/PlatformError.h"
#include "platform/core/PrivateProfile.h"
#include "platform/store/Table.h"
#include "tables/DoctorTable.h"
#include "tables/InsuredTable.h"
#include "tables/CareEntryTable.h"

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

// Opens one staged table, checking its fields, and hands it to `read` before closing it.
template <typename Read>
void readTable(const TableDefinition &definition, const QString &folder, Read read)
{
    Table table(definition);
    table.setDatabaseName(folder);
    try {
        table.open();
        read(table);
    } catch (const PlatformError &e) {
        throw PlatformError(QStringLiteral("Le fichier %1 de cette copie n'est pas une table "
                                           "de Talo 3.0 en bon état :\n%2")
                                .arg(definition.fileName(), e.message()));
    }
    table.close();
}

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
                                                            const QString &backupFolder)
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
    for (const QString &name : names)
        candidate->copyIn(name);
    candidate->inspect();
    return candidate;
}

void RestoreCandidate::copyIn(const QString &name)
{
    const QString source = FileNames::resolve(backupFolder_, name);
    if (!QFileInfo::exists(source))
        throw PlatformError(
            QStringLiteral("Le dossier %1 ne contient pas le fichier %2 : ce "
                           "n'est pas une copie de sauvegarde complète de Talo 3.0.")
                .arg(native(backupFolder_), name));
    FileCopy::copy(source, QDir(staging_.path()).filePath(name));
    names_.append(name);
}

void RestoreCandidate::inspect()
{
    const QString folder = staging_.path();
    readTable(CareEntryTable::definition(), folder, [this](Table &table) {
        summary_.entries = table.recordCount();
        const Field &date = table.fieldByName(CareFields::DateSoins);
        for (table.first(); !table.eof(); table.next()) {
            const QDate day = date.asDate();
            if (day.isValid() && (summary_.newestEntry.isNull() || day > summary_.newestEntry))
                summary_.newestEntry = day;
        }
    });
    readTable(DoctorTable::definition(), folder,
              [this](Table &table) { summary_.doctors = table.recordCount(); });
    readTable(InsuredTable::definition(), folder,
              [this](Table &table) { summary_.insured = table.recordCount(); });
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
    return QStringLiteral("Cette copie contient %1 soin(s)%2, %3 médecin(s) et %4 assuré(s).")
        .arg(summary_.entries)
        .arg(newest)
        .arg(summary_.doctors)
        .arg(summary_.insured);
}
