#include "FileErrors.h"

#include "PlatformError.h"
#include "PlatformMessages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

void FileErrors::readFailed(const QString &path, const QString &reason)
{
    throw PlatformError(PlatformMessages::cannotReadFile(path, reason));
}

void FileErrors::writeFailed(const QString &path, bool existed, const QString &reason)
{
    const QString full =
        existed ? reason + QLatin1Char(' ') + PlatformMessages::oldFileKept() : reason;
    throw PlatformError(PlatformMessages::cannotWriteFile(path, full));
}

QString FileErrors::openForWritingReason(const QString &path)
{
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir())
        return PlatformMessages::folderMissing(folder.filePath());
    if (target.isDir())
        return PlatformMessages::pathIsFolder();
    // Judged with the effective rights; also sees a read-only mount and an immutable folder.
    if (::faccessat(AT_FDCWD, QFile::encodeName(folder.absoluteFilePath()).constData(), W_OK,
                    AT_EACCESS) != 0)
        return folderWriteProtected(QDir::toNativeSeparators(folder.absoluteFilePath()));
    return PlatformMessages::writeAccessDenied();
}

QString FileErrors::folderWriteProtected(const QString &folder)
{
    return QStringLiteral("Le dossier %1 est protégé en écriture : aucun fichier ne peut y être "
                          "créé ni remplacé.")
        .arg(folder);
}

QString FileErrors::staleCompanionNotRemoved(const QString &path)
{
    return QStringLiteral("Le fichier %1, laissé par une ancienne table, ne peut pas être "
                          "supprimé ; sans cela la nouvelle table serait mêlée à l'ancienne.")
        .arg(path);
}
