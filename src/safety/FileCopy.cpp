#include "FileCopy.h"

#include "platform/FileErrors.h"
#include "platform/PlatformError.h"
#include "platform/PlatformMessages.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace
{

constexpr qint64 chunkSize = 256 * 1024;

} // namespace

void FileCopy::copy(const QString &source, const QString &destination)
{
    const QFileInfo from(source);
    if (!from.exists())
        FileErrors::readFailed(source, PlatformMessages::fileMissing());
    if (from.isDir())
        FileErrors::readFailed(source, PlatformMessages::pathIsFolder());
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        FileErrors::readFailed(source, PlatformMessages::readAccessDenied());

    const bool existed = QFileInfo::exists(destination);
    if (QFileInfo(destination).isDir())
        FileErrors::writeFailed(destination, false, PlatformMessages::pathIsFolder());
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly))
        FileErrors::writeFailed(destination, existed,
                                FileErrors::openForWritingReason(destination));
    if (!existed && !out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        out.cancelWriting();
        FileErrors::writeFailed(destination, existed, PlatformMessages::writeAccessDenied());
    }
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(chunkSize);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError) {
            out.cancelWriting();
            FileErrors::readFailed(source, PlatformMessages::readFailed());
        }
        if (out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            FileErrors::writeFailed(destination, existed, PlatformMessages::writeFailed());
        }
    }
    if (in.error() != QFileDevice::NoError) {
        out.cancelWriting();
        FileErrors::readFailed(source, PlatformMessages::readFailed());
    }
    if (!out.commit()) {
        FileErrors::writeFailed(destination, existed,
                                out.error() == QFileDevice::RenameError
                                    ? PlatformMessages::replaceFailed()
                                    : PlatformMessages::writeFailed());
    }
}
