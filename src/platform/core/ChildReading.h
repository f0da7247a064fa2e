#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

#include <functional>

// A file from outside read by this program started again with hidden arguments, in a process
// of its own: a library that loops for ever or crashes on a damaged or crafted file then only
// takes that process down. The child gets `input` on its standard input and answers on its
// standard output; whatever happens, it does not outlive this object.
class ChildReading
{
public:
    // Started at once; `program` empty: the running program itself.
    ChildReading(const QStringList &arguments, const QByteArray &input = QByteArray(),
                 const QString &program = QString());
    ~ChildReading();
    ChildReading(const ChildReading &) = delete;
    ChildReading &operator=(const ChildReading &) = delete;

    // What the child's output brought, as `take` tells it.
    enum class Taken { Nothing, Some, All };
    // How the wait ended: the answer is whole (All), the child ended by itself (normally or
    // not), or it was stopped: by `poll`, for its silence or for its time.
    enum class End { Answered, Finished, Crashed, NotStarted, Polled, Silent, OverTime };

    struct Limits {
        int totalMs = -1;   // the whole reading; negative: none
        int silenceMs = -1; // between two things taken; negative: none
    };

    // Waits for the child, handing `take` its output as it comes; `poll` is called at least
    // every tenth of a second and stops the child at once by returning true. The child still
    // running when this returns is killed.
    End wait(const Limits &limits, const std::function<Taken(QIODevice &)> &take,
             const std::function<bool()> &poll);

    QProcess &process() { return process_; }

private:
    void end();

    QProcess process_;
    QByteArray input_;
};
