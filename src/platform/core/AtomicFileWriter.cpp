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

// A link at the destination is never written through: the rename replaces the link itself,
// so a link planted in a shared folder cannot make a write land on the file it points to
// (TALO.DB replaced by an export). The new file is then a new file: owner-only, not the
// permissions of whatever the link pointed to.
AtomicFileWriter::AtomicFileWriter(const QString &path)
    : path_(path), existed_(QFileInfo(path).isSymLink() || QFileInfo::exists(path)),
      file_(FileNames::temporaryTemplate(path_))
{
    const QFileInfo info(path_);
    if (!info.isSymLink() && info.isDir())
        FileErrors::writeFailed(path, false, PlatformMessages::pathIsFolder());
    removeLeftovers(path_);
    file_.setAutoRemove(true);
    if (!file_.open())
        FileErrors::writeFailed(path_, existed_, FileErrors::openForWritingReason(path_));
    if (existed_ && !info.isSymLink() && !file_.setPermissions(QFile::permissions(path_)))
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
