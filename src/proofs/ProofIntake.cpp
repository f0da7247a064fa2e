#include "ProofIntake.h"

#include "ProofError.h"
#include "ProofMessages.h"
#include "ProofStore.h"

#include "platform/core/FileCopy.h"
#include "platform/core/PlatformError.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr qint64 chunkSize = 256 * 1024;
constexpr qint64 tailSize = 1024;

[[noreturn]] void refuse(const QString &source, const QString &reason)
{
    throw ProofError(ProofMessages::refused(source, reason));
}

QString systemReason(int error)
{
    if (error == ENOSPC || error == EDQUOT)
        return QStringLiteral("le disque est plein");
    return QString::fromLocal8Bit(std::strerror(error));
}

bool syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// Reads the descriptor into `out`, hashing; the French reason of a failure, empty on success.
QString copyInto(int fd, QFile &out, QCryptographicHash &hash, qint64 &size)
{
    QByteArray buffer(chunkSize, Qt::Uninitialized);
    size = 0;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), size_t(buffer.size()));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return QStringLiteral("lecture impossible : %1").arg(systemReason(errno));
        }
        if (got == 0)
            return QString();
        size += got;
        if (size > ProofStore::maxSize)
            return ProofMessages::tooLarge();
        hash.addData(QByteArrayView(buffer.constData(), got));
        if (out.write(buffer.constData(), got) != got)
            return QStringLiteral("écriture impossible : %1").arg(systemReason(errno));
    }
}

} // namespace

QString ProofIntake::signatureProblem(const QString &path, ProofKind *kind)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("il ne peut pas être lu.");
    const QByteArray head = file.read(16);
    if (head.isEmpty())
        return ProofMessages::empty();
    file.seek(qMax<qint64>(0, file.size() - tailSize));
    const QByteArray tail = file.read(tailSize);
    const auto found = ProofKinds::of(head, tail);
    if (found) {
        if (kind)
            *kind = *found;
        return QString();
    }
    if (head.startsWith("%PDF-"))
        return ProofMessages::truncatedPdf();
    if (head.startsWith("\xFF\xD8\xFF"))
        return ProofMessages::truncatedJpeg();
    return ProofMessages::unknownKind();
}

ProofIntake::Kept ProofIntake::keep(const QString &folder, const QString &source,
                                    const ProofCheck &readable)
{
    int fd = -1;
    try {
        fd = FileCopy::openRegularFile(source);
    } catch (const PlatformError &e) {
        throw ProofError(e.message());
    }
    const auto closeSource = qScopeGuard([fd] { ::close(fd); });
    struct stat st {
    };
    if (::fstat(fd, &st) == 0 && st.st_size > ProofStore::maxSize)
        refuse(source, ProofMessages::tooLarge());
    // A pipe could not be opened as a regular file; reading may block from here on.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);

    QTemporaryFile out(QDir(folder).filePath(temporaryPrefix() + QStringLiteral("XXXXXX")));
    if (!out.open())
        refuse(source, ProofMessages::notStored(folder, out.errorString()));
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    Kept kept;
    if (const QString why = copyInto(fd, out, hash, kept.size); !why.isEmpty())
        refuse(source,
               why == ProofMessages::tooLarge() ? why : ProofMessages::notStored(folder, why));
    if (!out.flush() || ::fsync(out.handle()) != 0)
        refuse(source, ProofMessages::notStored(folder, systemReason(errno)));
    if (kept.size == 0)
        refuse(source, ProofMessages::empty());

    ProofKind kind{};
    if (const QString why = signatureProblem(out.fileName(), &kind); !why.isEmpty())
        refuse(source, why);
    if (readable) {
        if (const QString why = readable(out.fileName(), kind); !why.isEmpty())
            refuse(source, why);
    }

    kept.sha256 = hash.result();
    kept.storedName = QString::fromLatin1(kept.sha256.toHex()) + ProofKinds::extension(kind);
    const QString target = QDir(folder).filePath(kept.storedName);
    const QFileInfo existing(target);
    // The same bytes already kept: one file serves every link. A file of that name of another
    // size was cut short by something else, and is replaced.
    if (existing.isFile() && existing.size() == kept.size)
        return kept;
    if (::rename(QFile::encodeName(out.fileName()).constData(),
                 QFile::encodeName(target).constData()) != 0)
        refuse(source, ProofMessages::notStored(folder, systemReason(errno)));
    out.setAutoRemove(false);
    if (!syncFolder(folder))
        refuse(source, ProofMessages::notStored(folder, systemReason(errno)));
    return kept;
}
