#include "ProofKind.h"

namespace
{

QByteArray trimmedEnd(const QByteArray &bytes)
{
    qsizetype end = bytes.size();
    while (end > 0 && (bytes[end - 1] == '\n' || bytes[end - 1] == '\r' || bytes[end - 1] == ' ' ||
                       bytes[end - 1] == '\t' || bytes[end - 1] == '\0'))
        --end;
    return bytes.left(end);
}

} // namespace

std::optional<ProofKind> ProofKinds::of(const QByteArray &head, const QByteArray &tail)
{
    if (head.startsWith("%PDF-")) {
        // An incremental update may follow the first %%EOF: the last one ends the file.
        if (trimmedEnd(tail).endsWith("%%EOF"))
            return ProofKind::Pdf;
        return std::nullopt;
    }
    if (head.startsWith("\xFF\xD8\xFF")) {
        if (trimmedEnd(tail).endsWith("\xFF\xD9"))
            return ProofKind::Jpeg;
        return std::nullopt;
    }
    if (head.startsWith(QByteArray("\x89PNG\r\n\x1A\n", 8)))
        return ProofKind::Png;
    return std::nullopt;
}

QString ProofKinds::extension(ProofKind kind)
{
    switch (kind) {
    case ProofKind::Pdf:
        return QStringLiteral(".pdf");
    case ProofKind::Jpeg:
        return QStringLiteral(".jpg");
    case ProofKind::Png:
        return QStringLiteral(".png");
    }
    return QString();
}

QString ProofKinds::text(ProofKind kind)
{
    switch (kind) {
    case ProofKind::Pdf:
        return QStringLiteral("document PDF");
    case ProofKind::Jpeg:
        return QStringLiteral("image JPEG");
    case ProofKind::Png:
        return QStringLiteral("image PNG");
    }
    return QString();
}
