#include "ProofReadService.h"

#include "ProofDecoding.h"

#include "proofs/ProofReadProcess.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

namespace
{

std::optional<ProofKind> kindNamed(const QString &name)
{
    for (ProofKind kind : {ProofKind::Pdf, ProofKind::Jpeg, ProofKind::Png}) {
        if (ProofKinds::extension(kind).mid(1) == name)
            return kind;
    }
    return std::nullopt;
}

int answer(int status, const QByteArray &text)
{
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    return status;
}

} // namespace

std::optional<int> ProofReadService::serveIfAsked(int argc, char *argv[])
{
    if (argc < 2 || QString::fromLocal8Bit(argv[1]) != ProofReadProcess::argument())
        return std::nullopt;
    if (argc != 4)
        return answer(2, "arguments");
    const auto kind = kindNamed(QString::fromLocal8Bit(argv[2]));
    if (!kind)
        return answer(2, "arguments");
    // The image format plugins (JPEG) are found through the application object's paths; no
    // display is needed.
    QCoreApplication app(argc, argv);
    const QString why = ProofDecoding::problem(QFile::decodeName(argv[3]), *kind);
    if (why.isEmpty())
        return answer(0, ProofReadProcess::readableAnswer());
    return answer(1, why.toUtf8());
}
