#include "BackupCopy.h"

#include "BackupSources.h"
#include "PreviousBackup.h"

#include "platform/core/FileCopy.h"

#include "platform/core/FileNames.h"
#include "platform/core/PlatformError.h"
#include "platform/core/PlatformMessages.h"
#include "platform/core/PrivateProfile.h"
#include "platform/store/Table.h"
#include "platform/store/TableStorage.h"
#include "proofs/ProofError.h"
#include "proofs/ProofInventory.h"
#include "proofs/ProofStore.h"
#include "tables/CareEntryTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

#include <sys/stat.h>

namespace
{

const QString listSection = QStringLiteral("ListeFichiers");

// Stops a table copy between two of its steps.
struct Stopped {
};

// The file copied, then its primary index made sure of (a copy keeps its source's).
void copyTable(const BackupCopy::Plan::TableFile &table, const TableStorage::CopyStep &step = {})
{
    TableStorage::copyFile(table.source, table.destination, step);
    TableStorage::addIndex(table.destination, *table.definition,
                           table.definition->primaryIndexName(),
                           table.keyFields.split(QLatin1Char(';'), Qt::SkipEmptyParts));
}

// A listed name must stay a bare file name: a path would read outside the program directory
// or write outside the target folder.
bool isBareName(const QString &name)
{
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           name != QLatin1String(".") && name != QLatin1String("..");
}

qint64 sizeOf(const QString &path)
{
    return QFileInfo(path).size() + QFileInfo(path + QStringLiteral("-wal")).size();
}

// The listed names that a backup will copy (the others stop it at their turn).
QStringList listedNames(const QString &programDir)
{
    QStringList names;
    const QString ini = FileNames::resolve(programDir, QStringLiteral("talo.ini"));
    for (int key = 1; key <= BackupCopy::listedFileCount; ++key) {
        const QString name = PrivateProfile::readString(ini, listSection, QString::number(key));
        if (!name.isEmpty() && isBareName(name))
            names.append(name);
    }
    return names;
}

// The backup as the window shows it: see run().
BackupCopy::Outcome copyShown(const BackupCopy::Plan &plan,
                              const BackupCopy::CopyProgress &progress)
{
    const QStringList listed = listedNames(plan.programDir);
    QStringList names;
    qint64 total = 0;
    for (const BackupCopy::Plan::TableFile &table : plan.tables) {
        names.append(table.definition->fileName());
        total += sizeOf(table.source);
    }
    for (const QString &name : listed) {
        names.append(name);
        total += sizeOf(FileNames::resolve(plan.programDir, name));
    }
    PreviousBackup previous(plan.target, names);
    if (!previous.isKept())
        progress.withdrawCancel();
    qint64 done = 0;
    const auto tell = [&](qint64 bytes) {
        if (!progress.report(std::min(bytes, total), total) && previous.isKept())
            throw Stopped();
    };
    try {
        for (const BackupCopy::Plan::TableFile &table : plan.tables) {
            const qint64 size = sizeOf(table.source);
            copyTable(table, [&](qint64 pages, qint64 pageCount) {
                tell(done + (pageCount > 0 ? size * pages / pageCount : 0));
            });
            done += size;
            tell(done);
        }
    } catch (const Stopped &) {
        previous.putBack();
        return BackupCopy::Outcome::Cancelled;
    }
    // The side files are small: they are copied to the end.
    progress.withdrawCancel();
    BackupCopy::copyListedFiles(plan.programDir, plan.target);
    BackupCopy::copyProofs(plan.programDir, plan.target, plan.proofsFrom);
    progress.report(total, total);
    return BackupCopy::Outcome::Copied;
}

} // namespace

QString BackupCopy::targetFolder(const QString &folderShown)
{
    if (folderShown.endsWith(QLatin1Char('/')))
        return folderShown;
    return folderShown + QLatin1Char('/');
}

bool BackupCopy::sameFolder(const QString &a, const QString &b)
{
    struct stat sa {
    };
    struct stat sb {
    };
    if (::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
        ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
        sa.st_ino == sb.st_ino)
        return true;
    // Letter case makes a different folder here; a medium that ignores case is caught above.
    return FileNames::canonicalDirectory(a) == FileNames::canonicalDirectory(b);
}

BackupCopy::Outcome BackupCopy::run(const QString &programDir, const QString &folderShown,
                                    BackupSources &sources, const CopyProgress *progress,
                                    const QString &proofsFrom)
{
    const std::optional<Plan> plan = prepare(programDir, folderShown, sources, proofsFrom);
    if (!plan)
        return Outcome::RefusedProgramDirectory;
    return copy(*plan, progress);
}

std::optional<BackupCopy::Plan> BackupCopy::prepare(const QString &programDir,
                                                    const QString &folderShown,
                                                    BackupSources &sources,
                                                    const QString &proofsFrom)
{
    if (folderShown.isEmpty())
        throw PlatformError(noFolderChosen());
    const QString target = targetFolder(folderShown);
    if (sameFolder(target, programDir))
        return std::nullopt;
    if (!QFileInfo(target).isDir())
        throw PlatformError(PlatformMessages::folderMissing(target));

    sources.writeSideFiles();
    sources.resetRegisterView();
    Plan plan{programDir, target, proofsFrom, {}};
    for (const BackupSources::TableCopy &copy : sources.tableCopies()) {
        // Open, so that the file is there and checked; the copy reads it by its path.
        if (!copy.source->isActive())
            copy.source->open();
        copy.destination->close();
        copy.destination->setDatabaseName(target);
        plan.tables.append({copy.source->filePath(), copy.destination->filePath(),
                            &copy.destination->definition(), copy.keyFields});
    }
    return plan;
}

BackupCopy::Outcome BackupCopy::copy(const Plan &plan, const CopyProgress *progress)
{
    if (progress)
        return copyShown(plan, *progress);
    PreviousBackup::removeLeftovers(plan.target);
    copyTables(plan);
    copyListedFiles(plan.programDir, plan.target);
    copyProofs(plan.programDir, plan.target, plan.proofsFrom);
    return Outcome::Copied;
}

void BackupCopy::copyTables(const Plan &plan)
{
    for (const Plan::TableFile &table : plan.tables)
        copyTable(table);
}

void BackupCopy::copyListedFiles(const QString &programDir, const QString &target)
{
    const QString ini = FileNames::resolve(programDir, QStringLiteral("talo.ini"));
    if (!QFileInfo::exists(ini))
        throw PlatformError(PlatformMessages::cannotReadFile(ini, PlatformMessages::fileMissing()));
    for (int key = 1; key <= listedFileCount; ++key) {
        const QString name = PrivateProfile::readString(ini, listSection, QString::number(key));
        if (name.isEmpty())
            throw PlatformError(listedFileEmpty(ini, key));
        if (!isBareName(name))
            throw PlatformError(listedFileNotBare(ini, key, name));
        FileCopy::copy(FileNames::resolve(programDir, name), FileNames::resolve(target, name));
    }
}

int BackupCopy::copyProofs(const QString &programDir, const QString &target,
                           const QString &proofsFrom)
{
    const QDir from(QDir(programDir).filePath(ProofStore::folderName()));
    const QDir to(QDir(target).filePath(ProofStore::folderName()));
    const QString earlier =
        proofsFrom.isEmpty() ? QString() : QDir(proofsFrom).filePath(ProofStore::folderName());
    QSet<QString> hashed;
    try {
        if (from.exists()) {
            if (!to.exists() &&
                !QDir().mkdir(to.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ExeOwner))
                throw PlatformError(QStringLiteral("Impossible de créer le dossier %1.")
                                        .arg(QDir::toNativeSeparators(to.path())));
            for (const QString &name : from.entryList(QDir::Files)) {
                if (!ProofInventory::isStoredName(name))
                    continue;
                const QString source = from.filePath(name);
                const QString destination = to.filePath(name);
                const QFileInfo there(destination);
                const bool whole = there.isFile() && !there.isSymLink() &&
                                   there.size() == QFileInfo(source).size();
                if (whole && ProofInventory::sha256Of(destination).toHex() == name.left(64)) {
                    hashed.insert(name);
                    continue;
                }
                const QString shared = earlier.isEmpty() ? QString() : QDir(earlier).filePath(name);
                if (!whole && !shared.isEmpty() && QFileInfo(shared).isFile() &&
                    QFileInfo(shared).size() == QFileInfo(source).size() &&
                    ::link(QFile::encodeName(shared).constData(),
                           QFile::encodeName(destination).constData()) == 0) {
                    // Checked when that copy was made; the bytes are the same on disk.
                    hashed.insert(name);
                    continue;
                }
                FileCopy::copyRegularFile(source, destination);
            }
        }
        return ProofInventory::verify(
            QDir(target).filePath(CareEntryTable::definition().fileName()), to.path(), hashed);
    } catch (const ProofError &e) {
        throw PlatformError(proofsNotSound(e.message()));
    }
}

QString BackupCopy::proofsNotSound(const QString &reason)
{
    return QStringLiteral("Les pièces jointes de la copie ne sont pas en bon état :\n%1\nLa "
                          "copie de sauvegarde n'est pas complète.")
        .arg(reason);
}

QString BackupCopy::programDirectoryWarning()
{
    return QStringLiteral("Impossible de créer une copie de sauvegarde dans le dossier "
                          "d'installation de Talo 3.0. Choisissez ou créez un autre dossier.");
}

QString BackupCopy::noFolderChosen()
{
    return QStringLiteral("Aucun dossier de sauvegarde n'est choisi.");
}

QString BackupCopy::listedFileEmpty(const QString &iniPath, int key)
{
    return QStringLiteral("La clé %1 de la section [ListeFichiers] de %2 ne donne aucun nom de "
                          "fichier à copier : la copie s'arrête là.")
        .arg(key)
        .arg(iniPath);
}

QString BackupCopy::listedFileNotBare(const QString &iniPath, int key, const QString &name)
{
    return QStringLiteral("La clé %1 de la section [ListeFichiers] de %2 donne « %3 », qui "
                          "n'est pas un simple nom de fichier du dossier du programme : la "
                          "copie s'arrête là.")
        .arg(key)
        .arg(iniPath, name);
}
