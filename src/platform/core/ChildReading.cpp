#include "ChildReading.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace
{
constexpr int TickMs = 100;
constexpr int StartMs = 30000;
} // namespace

ChildReading::ChildReading(const QStringList &arguments, const QByteArray &input,
                           const QString &program)
    : input_(input)
{
    process_.setProgram(program.isEmpty() ? QCoreApplication::applicationFilePath() : program);
    process_.setArguments(arguments);
    process_.setStandardErrorFile(QProcess::nullDevice());
    if (input_.isEmpty())
        process_.setStandardInputFile(QProcess::nullDevice());
    process_.start();
}

ChildReading::~ChildReading()
{
    end();
}

void ChildReading::end()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(-1);
    }
}

ChildReading::End ChildReading::wait(const Limits &limits,
                                     const std::function<Taken(QIODevice &)> &take,
                                     const std::function<bool()> &poll)
{
    if (!process_.waitForStarted(StartMs))
        return End::NotStarted;
    if (!input_.isEmpty()) {
        // Written as the child reads it, by the waits below.
        process_.write(input_);
        process_.closeWriteChannel();
    }
    QElapsedTimer total;
    total.start();
    QElapsedTimer silence;
    silence.start();
    for (;;) {
        const Taken taken = take ? take(process_) : Taken::Nothing;
        if (taken == Taken::All) {
            process_.waitForFinished(TickMs * 10);
            end();
            return End::Answered;
        }
        if (taken == Taken::Some)
            silence.restart();
        // Once ended, the child has nothing more to say than what it has said.
        if (process_.state() == QProcess::NotRunning && taken == Taken::Nothing)
            return process_.exitStatus() == QProcess::CrashExit ? End::Crashed : End::Finished;
        End stopped = End::Answered;
        if (poll && poll())
            stopped = End::Polled;
        else if (limits.silenceMs >= 0 && silence.elapsed() >= limits.silenceMs)
            stopped = End::Silent;
        else if (limits.totalMs >= 0 && total.elapsed() >= limits.totalMs)
            stopped = End::OverTime;
        if (stopped != End::Answered) {
            end();
            return stopped;
        }
        process_.waitForReadyRead(TickMs);
    }
}
