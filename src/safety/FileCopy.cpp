#include "FileCopy.h"

#include "platform/PlatformError.h"
#include "platform/PlatformMessages.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace
{

constexpr qint64 chunkSize = 256 * 1024;

[[noreturn]] void failRead(const QString &path, const QString &reason)
{
    throw PlatformError(PlatformMessages::cannotReadFile(path, reason));
}

[[noreturn]] void failWrite(const QString &path, bool existed, const QString &reason)
{
    const QString full =
        existed ? reason + QLatin1Char(' ') + PlatformMessages::oldFileKept() : reason;
    throw PlatformError(PlatformMessages::cannotWriteFile(path, full));
}

// Decided from what is on disk rather than from access(), which grants everything to root.
QString openFailureReason(const QString &path)
{
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir())
        return PlatformMessages::folderMissing(folder.filePath());
    if (target.isDir())
        return PlatformMessages::pathIsFolder();
    return PlatformMessages::writeAccessDenied();
}

} // namespace

void FileCopy::copy(const QString &source, const QString &destination)
{
    const QFileInfo from(source);
    if (!from.exists())
        failRead(source, PlatformMessages::fileMissing());
    if (from.isDir())
        failRead(source, PlatformMessages::pathIsFolder());
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        failRead(source, PlatformMessages::readAccessDenied());

    const bool existed = QFileInfo::exists(destination);
    if (QFileInfo(destination).isDir())
        failWrite(destination, false, PlatformMessages::pathIsFolder());
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly))
        failWrite(destination, existed, openFailureReason(destination));
    if (!existed && !out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        out.cancelWriting();
        failWrite(destination, existed, PlatformMessages::writeAccessDenied());
    }
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(chunkSize);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError) {
            out.cancelWriting();
            failRead(source, PlatformMessages::readFailed());
        }
        if (out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            failWrite(destination, existed, PlatformMessages::writeFailed());
        }
    }
    if (in.error() != QFileDevice::NoError) {
        out.cancelWriting();
        failRead(source, PlatformMessages::readFailed());
    }
    if (!out.commit()) {
        failWrite(destination, existed,
                  out.error() == QFileDevice::RenameError ? PlatformMessages::replaceFailed()
                                                          : PlatformMessages::writeFailed());
    }
}
