#include "ReadOnlyFolder.h"

#include <QFile>
#include <QUuid>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

ReadOnlyFolder::ReadOnlyFolder(const QString &path) : path_(path)
{
    QFile::setPermissions(path_, QFile::ReadOwner | QFile::ExeOwner);
    if (geteuid() == 0)
        immutable_ = setImmutable(true);
    // Probe: the folder counts as read-only only if a file really cannot be created.
    const QString probe =
        path_ + QStringLiteral("/probe-") + QUuid::createUuid().toString(QUuid::Id128);
    QFile file(probe);
    readOnly_ = !file.open(QIODevice::WriteOnly);
    if (!readOnly_) {
        file.close();
        QFile::remove(probe);
    }
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (immutable_)
        setImmutable(false);
    QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool ReadOnlyFolder::setImmutable(bool on)
{
    const int fd = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}
