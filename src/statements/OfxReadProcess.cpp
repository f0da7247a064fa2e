#include "OfxReadProcess.h"

#include "OfxReadService.h"
#include "StatementError.h"

#include "platform/core/ChildReading.h"
#include "platform/core/WorkProgress.h"

#include <QDataStream>

namespace
{
QString program;
int fixedLimit = -1;

[[noreturn]] void refuse(const QString &reason)
{
    throw StatementError(0, reason);
}

QString garbled()
{
    return QStringLiteral("sa lecture a échoué (le fichier est peut-être abîmé ou piégé).");
}

// Takes every whole message the reading process has written so far.
class Receiver
{
public:
    Receiver(const OfxStatementReader::Progress &progress) : progress_(progress) {}

    ChildReading::Taken take(QIODevice &device)
    {
        if (!in_.device()) {
            in_.setDevice(&device);
            in_.setVersion(QDataStream::Qt_6_4);
        }
        ChildReading::Taken taken = ChildReading::Taken::Nothing;
        while (!ended_ && device.bytesAvailable() > 0) {
            in_.startTransaction();
            quint8 tag = 0;
            in_ >> tag;
            if (!takeOne(tag))
                return taken;
            taken = ended_ ? ChildReading::Taken::All : ChildReading::Taken::Some;
        }
        return taken;
    }

    std::vector<StatementLine> lines;

private:
    // False while the message is incomplete.
    bool takeOne(quint8 tag)
    {
        switch (tag) {
        case OfxReadService::Progress: {
            qint32 done = 0, total = 0;
            in_ >> done >> total;
            if (!commit())
                return false;
            if (progress_)
                progress_(done, total);
            return true;
        }
        case OfxReadService::Line: {
            StatementLine line;
            qint64 cents = 0;
            qint32 sourceLine = 0;
            in_ >> line.date >> cents >> line.label >> line.bankId >> sourceLine;
            if (!commit())
                return false;
            line.cents = cents;
            line.sourceLine = sourceLine;
            lines.push_back(std::move(line));
            return true;
        }
        case OfxReadService::Failure: {
            qint32 at = 0;
            QString reason;
            in_ >> at >> reason;
            if (!commit())
                return false;
            throw StatementError(at, reason);
        }
        case OfxReadService::End: {
            qint32 count = 0;
            in_ >> count;
            if (!commit())
                return false;
            if (count != qint32(lines.size()))
                refuse(garbled());
            ended_ = true;
            return true;
        }
        default:
            if (!commit())
                return false;
            refuse(garbled());
        }
    }

    bool commit()
    {
        if (in_.commitTransaction())
            return true;
        if (in_.status() == QDataStream::ReadPastEnd)
            return false; // the rest of the message has not come yet
        refuse(garbled());
    }

    const OfxStatementReader::Progress &progress_;
    QDataStream in_;
    bool ended_ = false;
};
} // namespace

int OfxReadProcess::timeLimitMs(qint64 bytes)
{
    if (fixedLimit >= 0)
        return fixedLimit;
    return int(30000 + bytes / 100);
}

void OfxReadProcess::setProgramForTesting(const QString &path)
{
    program = path;
}

void OfxReadProcess::setTimeLimitForTesting(int milliseconds)
{
    fixedLimit = milliseconds;
}

std::vector<StatementLine> OfxReadProcess::read(const QByteArray &bytes,
                                                const OfxStatementReader::Progress &progress,
                                                const Stop &stop)
{
    ChildReading child({OfxReadService::argument()}, bytes, program);
    Receiver receiver(progress);
    const int limit = timeLimitMs(bytes.size());
    switch (child.wait(
        {limit, -1}, [&receiver](QIODevice &out) { return receiver.take(out); },
        [&stop] { return stop && stop(); })) {
    case ChildReading::End::Answered:
        return std::move(receiver.lines);
    case ChildReading::End::Polled:
        throw WorkProgress::Stopped();
    case ChildReading::End::NotStarted:
        refuse(QStringLiteral("le programme de lecture n'a pas pu démarrer."));
    case ChildReading::End::OverTime:
        refuse(QStringLiteral("sa lecture ne s'est pas terminée en %1 secondes (le fichier est "
                              "peut-être piégé).")
                   .arg((limit + 999) / 1000));
    default:
        refuse(garbled());
    }
}

std::function<std::vector<StatementLine>(const QByteArray &, const OfxStatementReader::Progress &)>
OfxReadProcess::reader(const Stop &stop)
{
    return [stop](const QByteArray &bytes, const OfxStatementReader::Progress &progress) {
        return read(bytes, progress, stop);
    };
}
