#include "OfxReadService.h"

#include "OfxStatementReader.h"
#include "StatementError.h"
#include "StatementReader.h"

#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

namespace
{
// A progress message at this pace at most.
constexpr int ProgressEveryMs = 100;
} // namespace

QString OfxReadService::argument()
{
    return QStringLiteral("--lire-ofx");
}

std::optional<int> OfxReadService::serveIfAsked(int argc, char *argv[])
{
    if (argc != 2 || QString::fromLocal8Bit(argv[1]) != argument())
        return std::nullopt;
    return serve();
}

int OfxReadService::serve()
{
    QFile in;
    QFile out;
    if (!in.open(stdin, QIODevice::ReadOnly) || !out.open(stdout, QIODevice::WriteOnly))
        return 3;
    // A pipe gives what has come so far: read to its end.
    QByteArray bytes;
    while (bytes.size() <= StatementReader::maxBytes) {
        const QByteArray more = in.read(StatementReader::maxBytes + 1 - bytes.size());
        if (more.isEmpty())
            break;
        bytes += more;
    }
    QDataStream stream(&out);
    stream.setVersion(QDataStream::Qt_6_4);
    try {
        if (bytes.size() > StatementReader::maxBytes)
            throw StatementError(0, QStringLiteral("le fichier est trop grand."));
        QElapsedTimer sinceTold;
        sinceTold.start();
        const std::vector<StatementLine> lines =
            OfxStatementReader::read(bytes, [&](int done, int total) {
                if (sinceTold.elapsed() < ProgressEveryMs)
                    return;
                stream << quint8(Progress) << qint32(done) << qint32(total);
                out.flush();
                sinceTold.restart();
            });
        for (const StatementLine &line : lines)
            stream << quint8(Line) << line.date << qint64(line.cents) << line.label << line.bankId
                   << qint32(line.sourceLine);
        stream << quint8(End) << qint32(lines.size());
    } catch (const StatementError &e) {
        stream << quint8(Failure) << qint32(e.line()) << e.reason();
    }
    out.flush();
    return stream.status() == QDataStream::Ok && out.error() == QFileDevice::NoError ? 0 : 3;
}
