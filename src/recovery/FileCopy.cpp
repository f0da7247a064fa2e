#include "FileCopy.h"

#include "platform/core/AtomicFileWriter.h"
#include "platform/core/FileErrors.h"
#include "platform/core/PlatformError.h"
#include "platform/core/PlatformMessages.h"

#include <QFile>
#include <QFileInfo>

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

    AtomicFileWriter out(destination);
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(chunkSize);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            break;
        out.write(chunk);
    }
    // The writer's temporary file goes with it.
    if (in.error() != QFileDevice::NoError)
        FileErrors::readFailed(source, PlatformMessages::readFailed());
    out.commit();
}
