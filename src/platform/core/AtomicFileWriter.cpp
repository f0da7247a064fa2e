#include "AtomicFileWriter.h"

#include "FileErrors.h"
#include "FileNames.h"
#include "PlatformMessages.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace
{

// A link is followed, so that the file it points to is the one replaced.
QString finalPath(const QString &path)
{
    const QFileInfo info(path);
    return info.isSymLink() ? info.symLinkTarget() : path;
}

// Best effort: the rename itself is what makes the new content the file's.
void syncFolder(const QString &folder)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

AtomicFileWriter::AtomicFileWriter(const QString &path)
    : path_(finalPath(path)), existed_(QFileInfo::exists(path_)),
      file_(FileNames::temporaryTemplate(path_))
{
    if (QFileInfo(path_).isDir())
        FileErrors::writeFailed(path, false, PlatformMessages::pathIsFolder());
    removeLeftovers(path_);
    file_.setAutoRemove(true);
    if (!file_.open())
        FileErrors::writeFailed(path_, existed_, FileErrors::openForWritingReason(path_));
    if (existed_ && !file_.setPermissions(QFile::permissions(path_)))
        fail(PlatformMessages::writeAccessDenied());
}

AtomicFileWriter::~AtomicFileWriter() = default;

void AtomicFileWriter::write(const QByteArray &bytes)
{
    if (file_.write(bytes) != bytes.size())
        fail(PlatformMessages::writeFailed());
}

void AtomicFileWriter::commit()
{
    // The flush is where a full disk shows for the last buffered bytes; the sync is where a
    // failing device does.
    if (file_.error() != QFileDevice::NoError || !file_.flush())
        fail(PlatformMessages::writeFailed());
    if (::fsync(file_.handle()) != 0 && errno != EINVAL)
        fail(PlatformMessages::writeFailed());
    const QByteArray from = QFile::encodeName(file_.fileName());
    file_.close();
    if (file_.error() != QFileDevice::NoError)
        fail(PlatformMessages::writeFailed());
    if (std::rename(from.constData(), QFile::encodeName(path_).constData()) != 0)
        fail(PlatformMessages::replaceFailed());
    file_.setAutoRemove(false);
    syncFolder(QFileInfo(path_).absolutePath());
}

void AtomicFileWriter::fail(const QString &reason)
{
    file_.close();
    file_.remove();
    FileErrors::writeFailed(path_, existed_, reason);
}

void AtomicFileWriter::removeLeftovers(const QString &path)
{
    const QFileInfo info(path);
    QDir folder(info.absolutePath());
    const QStringList hidden =
        folder.entryList({QStringLiteral(".*.tmp*")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &entry : hidden) {
        if (FileNames::isTemporaryOf(entry, info.fileName()))
            folder.remove(entry);
    }
}
