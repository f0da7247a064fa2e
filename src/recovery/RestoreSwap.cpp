#include "RestoreSwap.h"

#include "platform/core/FileNames.h"
#include "platform/core/PlatformError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace
{

struct Move {
    QString from;
    QString to;
};

// Renames done so far, undone in reverse order when a later one fails.
class Moves
{
public:
    void make(const QString &from, const QString &to)
    {
        if (QFileInfo::exists(to) || !QFile::rename(from, to))
            throw PlatformError(
                QStringLiteral("Impossible de déplacer %1 vers %2.")
                    .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to)));
        done_.append({from, to});
    }
    void undo()
    {
        for (qsizetype i = done_.size() - 1; i >= 0; --i)
            QFile::rename(done_[i].to, done_[i].from);
        done_.clear();
    }

private:
    QList<Move> done_;
};

// The renames made durable: the directory entries reach the disk.
void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

QString uniqueFolder(const QString &programDir, const QString &name)
{
    const QDir dir(programDir);
    QString candidate = dir.filePath(name);
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = dir.filePath(QStringLiteral("%1 (%2)").arg(name).arg(n));
    return candidate;
}

} // namespace

QString RestoreSwap::asideFolderName(const QDateTime &now)
{
    return QStringLiteral("Avant restauration ") +
           now.toString(QStringLiteral("yyyy-MM-dd HH'h'mm"));
}

QString RestoreSwap::run(const QString &programDir, const QString &stagingFolder,
                         const QStringList &names, const QStringList &tableNames,
                         const QDateTime &now)
{
    const QString aside = uniqueFolder(programDir, asideFolderName(now));
    if (!QDir().mkdir(aside,
                      QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
        throw PlatformError(QStringLiteral("Impossible de créer le dossier %1.")
                                .arg(QDir::toNativeSeparators(aside)));
    QStringList current = names;
    for (const QString &table : tableNames)
        for (const QString &suffix : companionSuffixes())
            current.append(table + suffix);

    Moves moves;
    try {
        for (const QString &name : current) {
            const QString path = FileNames::resolve(programDir, name);
            if (QFileInfo::exists(path))
                moves.make(path, QDir(aside).filePath(QFileInfo(path).fileName()));
        }
        for (const QString &name : names)
            moves.make(QDir(stagingFolder).filePath(name), QDir(programDir).filePath(name));
    } catch (const PlatformError &) {
        moves.undo();
        QDir().rmdir(aside);
        syncFolder(programDir);
        throw;
    }
    syncFolder(aside);
    syncFolder(programDir);
    return aside;
}
