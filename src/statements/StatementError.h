#pragma once

#include "platform/core/PlatformError.h"

// A bank statement that cannot be read: the line of the file where the reading stopped and the
// French reason. The readers of one format throw it with the reason only; StatementReader puts
// the file's name around it for the message shown to the user.
class StatementError : public PlatformError
{
public:
    StatementError(int line, const QString &reason, const QString &message = QString())
        : PlatformError(message.isEmpty() ? QStringLiteral("Ligne %1 : %2").arg(line).arg(reason)
                                          : message),
          line_(line), reason_(reason)
    {
    }

    int line() const { return line_; }
    const QString &reason() const { return reason_; }

private:
    int line_;
    QString reason_;
};
