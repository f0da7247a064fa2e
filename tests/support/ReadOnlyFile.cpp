#include "ReadOnlyFile.h"

#include <QFile>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

ReadOnlyFile::ReadOnlyFile(const QString &path) : path_(path)
{
    QFile::setPermissions(path_, QFile::ReadOwner);
    setImmutable(true);
    readOnly_ = !QFile(path_).open(QIODevice::ReadWrite);
}

ReadOnlyFile::~ReadOnlyFile()
{
    setImmutable(false);
    QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner);
}

void ReadOnlyFile::setImmutable(bool on)
{
    const int fd = ::open(QFile::encodeName(path_).constData(), O_RDONLY);
    int flags = 0;
    if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    if (fd >= 0)
        ::close(fd);
}
