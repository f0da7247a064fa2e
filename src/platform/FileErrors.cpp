#include "FileErrors.h"

#include "PlatformError.h"
#include "PlatformMessages.h"

#include <QFileInfo>

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
    return PlatformMessages::writeAccessDenied();
}
