#pragma once

#include <QString>
#include <exception>

// An error of the platform layer carrying the French text shown to the user. Handlers let it
// escape to the application's error box, which ends the current command, not the program.
class PlatformError : public std::exception
{
public:
    explicit PlatformError(QString message) : message_(std::move(message)), utf8_(message_.toUtf8())
    {
    }

    const QString &message() const noexcept { return message_; }
    const char *what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};
