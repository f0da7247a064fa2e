#include "PreviousBackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace
{
const QString Suffix = QStringLiteral(".avant-sauvegarde");

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}
} // namespace

PreviousBackup::PreviousBackup(const QString &target, const QStringList &names) : target_(target)
{
    removeLeftovers(target);
    for (const QString &name : names) {
        names_.append(name);
        if (name.endsWith(QLatin1String(".DB"), Qt::CaseInsensitive))
            for (const char *suffix : {"-wal", "-shm", "-journal"})
                names_.append(name + QLatin1String(suffix));
    }
    const QDir dir(target_);
    for (const QString &name : std::as_const(names_)) {
        const QString path = dir.filePath(name);
        if (!QFileInfo(path).isFile())
            continue;
        if (::link(native(path).constData(), native(asideName(name)).constData()) != 0) {
            kept_ = false;
            break;
        }
        present_.append(name);
    }
    if (!kept_)
        drop();
}

PreviousBackup::~PreviousBackup()
{
    drop();
}

QString PreviousBackup::asideName(const QString &name) const
{
    return QDir(target_).filePath(QLatin1Char('.') + name + Suffix);
}

void PreviousBackup::putBack()
{
    if (!kept_)
        return;
    const QDir dir(target_);
    for (const QString &name : std::as_const(names_)) {
        const QString path = dir.filePath(name);
        if (present_.contains(name)) {
            // A file the backup has not replaced yet is the same file: rename() then leaves
            // both names.
            std::rename(native(asideName(name)).constData(), native(path).constData());
            QFile::remove(asideName(name));
        } else
            QFile::remove(path);
    }
    present_.clear();
    // The names back in the folder before the person is told so.
    const int fd = ::open(native(target_).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void PreviousBackup::drop()
{
    for (const QString &name : std::as_const(present_))
        QFile::remove(asideName(name));
    present_.clear();
}

void PreviousBackup::removeLeftovers(const QString &target)
{
    const QDir dir(target);
    for (const QString &name :
         dir.entryList({QStringLiteral(".*") + Suffix}, QDir::Files | QDir::Hidden))
        QFile::remove(dir.filePath(name));
}
