#include "ProgramLock.h"

#include "platform/core/FileNames.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

ProgramLock::ProgramLock(const QString &programDir)
{
    const QByteArray path = QFile::encodeName(FileNames::resolve(programDir, fileName()));
    // Close-on-exec: a helper the program starts must not inherit, and so keep, the lock.
    fd_ = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0)
        return;
    int result;
    do
        result = ::flock(fd_, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result == 0) {
        state_ = State::Held;
        return;
    }
    state_ = errno == EWOULDBLOCK ? State::HeldElsewhere : State::Unavailable;
    ::close(fd_);
    fd_ = -1;
}

ProgramLock::~ProgramLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

QString ProgramLock::alreadyOpenMessage()
{
    return QStringLiteral("Talo 3.0 est déjà ouvert sur ce dossier de programme.");
}
