#pragma once

#include <QString>

#include <atomic>
#include <mutex>

// How far a long piece of work is, shared between the thread that does it and the window that
// shows it: every member may be called from either thread. The work reports and asks whether
// to stop; the window asks to stop when the person chooses "Annuler".
class WorkProgress
{
public:
    // Thrown by work that stops at the person's request; the window takes it for a stop, not a
    // failure.
    struct Stopped {
    };

    explicit WorkProgress(bool cancelOffered = true) : cancelOffered_(cancelOffered) {}

    // `done` of `total` (any unit; a total of 0: how much is left is not known).
    void report(qint64 done, qint64 total);
    void setLabel(const QString &label);
    // True once the person asked to stop, while stopping still loses nothing.
    bool stopRequested() const { return stopAsked_ && cancelOffered_; }
    void throwIfStopRequested() const
    {
        if (stopRequested())
            throw Stopped();
    }
    // From here on the work cannot stop without harm: a request made before is no longer
    // heeded, and the window takes its "Annuler" away.
    void withdrawCancel() { cancelOffered_ = false; }

    // The window's side.
    void requestStop() { stopAsked_ = true; }
    bool cancelOffered() const { return cancelOffered_; }
    qint64 done() const { return done_; }
    qint64 total() const { return total_; }
    // The label set since the last call, if any.
    bool takeLabel(QString &label);

private:
    std::atomic<qint64> done_{0};
    std::atomic<qint64> total_{0};
    std::atomic<bool> stopAsked_{false};
    std::atomic<bool> cancelOffered_;
    std::mutex labelMutex_;
    QString label_;
    bool labelChanged_ = false;
};
