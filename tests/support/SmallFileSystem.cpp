#include "SmallFileSystem.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

SmallFileSystem::SmallFileSystem(int kilobytes)
{
    if (::geteuid() != 0) {
        skipReason_ = QStringLiteral("mounting a small tmpfs needs root");
        return;
    }
    const QByteArray options = QByteArrayLiteral("mode=0700,size=") +
                               QByteArray::number(kilobytes) + QByteArrayLiteral("k");
    if (::mount("tmpfs", QFile::encodeName(folder_.path()).constData(), "tmpfs", 0,
                options.constData()) != 0) {
        skipReason_ = QStringLiteral("tmpfs cannot be mounted here: ") +
                      QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    mounted_ = true;
}

SmallFileSystem::~SmallFileSystem()
{
    if (mounted_)
        ::umount2(QFile::encodeName(folder_.path()).constData(), MNT_DETACH);
}

void SmallFileSystem::fill()
{
    const int fd = ::open(QFile::encodeName(filePath(QStringLiteral(".remplissage"))).constData(),
                          O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    const QByteArray block(4096, 'f');
    while (fd >= 0 && ::write(fd, block.constData(), size_t(block.size())) > 0) {
    }
    // The last partial page as well.
    while (fd >= 0 && ::write(fd, block.constData(), 1) > 0) {
    }
    if (fd >= 0)
        ::close(fd);
}

void SmallFileSystem::free()
{
    QFile::remove(filePath(QStringLiteral(".remplissage")));
}
