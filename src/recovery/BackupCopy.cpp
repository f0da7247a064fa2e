#include "BackupCopy.h"

#include "BackupSources.h"
#include "platform/core/FileCopy.h"

#include "platform/core/FileNames.h"
#include "platform/core/PlatformError.h"
#include "platform/core/PlatformMessages.h"
#include "platform/core/PrivateProfile.h"
#include "platform/store/BatchMove.h"
#include "platform/store/Table.h"
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

// "TALO.DB" gives "Talo": the name the primary index is given in the target folder.
QString indexBaseName(const Table &table)
{
    const QString base = QFileInfo(table.definition().fileName()).completeBaseName();
    return base.left(1).toUpper() + base.mid(1).toLower();
}

// A listed name must stay a bare file name: a path would read outside the program directory
// or write outside the target folder.
bool isBareName(const QString &name)
{
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           name != QLatin1String(".") && name != QLatin1String("..");
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
                                    BackupSources &sources, const QString &proofsFrom)
{
    if (folderShown.isEmpty())
        throw PlatformError(noFolderChosen());
    const QString target = targetFolder(folderShown);
    if (sameFolder(target, programDir))
        return Outcome::RefusedProgramDirectory;
    if (!QFileInfo(target).isDir())
        throw PlatformError(PlatformMessages::folderMissing(target));

    sources.writeSideFiles();
    sources.resetRegisterView();
    copyTables(target, sources);
    copyListedFiles(programDir, target);
    copyProofs(programDir, target, proofsFrom);
    return Outcome::Copied;
}

void BackupCopy::copyTables(const QString &target, BackupSources &sources)
{
    const QList<BackupSources::TableCopy> copies = sources.tableCopies();
    for (const BackupSources::TableCopy &copy : copies) {
        copy.destination->setDatabaseName(target);
        BatchMove(*copy.source, *copy.destination).execute();
        copy.destination->addIndex(target + indexBaseName(*copy.destination), copy.keyFields,
                                   Table::IndexKind::Primary);
    }
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
