#include "FileCopy.h"

#include "AtomicFileWriter.h"
#include "FileErrors.h"
#include "PlatformError.h"
#include "PlatformMessages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr qint64 chunkSize = 256 * 1024;

QString kindReason(mode_t mode)
{
    if (S_ISREG(mode))
        return QString();
    if (S_ISLNK(mode))
        return QStringLiteral("c'est un lien symbolique");
    if (S_ISFIFO(mode))
        return QStringLiteral("c'est un tube nommé");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("c'est un périphérique");
    if (S_ISDIR(mode))
        return QStringLiteral("c'est un dossier");
    if (S_ISSOCK(mode))
        return QStringLiteral("c'est une prise de communication (socket)");
    return QStringLiteral("ce n'est pas un fichier ordinaire");
}

[[noreturn]] void refuse(const QString &path, const QString &why)
{
    throw PlatformError(
        QStringLiteral("%1 n'est pas un fichier ordinaire : %2. Par sécurité, il n'est pas lu.")
            .arg(QDir::toNativeSeparators(path), why));
}

void copyFrom(QFile &in, const QString &source, const QString &destination,
              const FileCopy::Copied &copied = {})
{
    AtomicFileWriter out(destination);
    qint64 bytes = 0;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(chunkSize);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            break;
        out.write(chunk);
        bytes += chunk.size();
        if (copied)
            copied(bytes);
    }
    // The writer's temporary file goes with it.
    if (in.error() != QFileDevice::NoError)
        FileErrors::readFailed(source, PlatformMessages::readFailed());
    out.commit();
}

} // namespace

QString FileCopy::notRegularReason(const QString &path)
{
    struct stat st {
    };
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QString();
    return kindReason(st.st_mode);
}

int FileCopy::openRegularFile(const QString &source)
{
    if (const QString why = notRegularReason(source); !why.isEmpty())
        refuse(source, why);
    // Non-blocking, so that a pipe put there since the check cannot hold the open; no link
    // followed.
    const int fd = ::open(QFile::encodeName(source).constData(),
                          O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ELOOP)
            refuse(source, kindReason(S_IFLNK));
        FileErrors::readFailed(source, errno == ENOENT ? PlatformMessages::fileMissing()
                                                       : PlatformMessages::readAccessDenied());
    }
    struct stat st {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const QString why = kindReason(st.st_mode);
        ::close(fd);
        refuse(source, why);
    }
    return fd;
}

void FileCopy::copyRegularFile(const QString &source, const QString &destination,
                               const Copied &copied)
{
    const int fd = openRegularFile(source);
    QFile in;
    if (!in.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        FileErrors::readFailed(source, PlatformMessages::readAccessDenied());
    }
    copyFrom(in, source, destination, copied);
}

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

    copyFrom(in, source, destination);
}
