#pragma once

#include <QString>

// Keeps a second copy of the program off a program directory already open: an advisory lock on
// talo.lock there, held for the life of this object. The kernel drops it when the process ends
// in any way, so a crash never leaves the family locked out.
class ProgramLock
{
public:
    enum class State {
        Held,          // this process has the directory
        HeldElsewhere, // another running copy has it
        Unavailable,   // talo.lock cannot be created (a read-only folder): nothing to guard
    };

    explicit ProgramLock(const QString &programDir);
    ~ProgramLock();
    ProgramLock(const ProgramLock &) = delete;
    ProgramLock &operator=(const ProgramLock &) = delete;

    State state() const { return state_; }

    static QString fileName() { return QStringLiteral("talo.lock"); }
    static QString alreadyOpenMessage();

private:
    int fd_ = -1;
    State state_ = State::Unavailable;
};
