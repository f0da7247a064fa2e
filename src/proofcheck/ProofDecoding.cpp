#include "ProofDecoding.h"

#include <QImage>
#include <QImageReader>
#include <QPdfDocument>

namespace
{

QString imageProblem(const QString &path, ProofKind kind)
{
    QImageReader reader(path, kind == ProofKind::Png ? "png" : "jpeg");
    reader.setAutoTransform(false);
    // Megabytes a decoded image may take; a 400-megapixel image in 32 bits fits.
    reader.setAllocationLimit(1700);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return QStringLiteral("l'image ne peut pas être lue (%1).").arg(ProofKinds::text(kind));
    if (qint64(size.width()) * size.height() > ProofDecoding::maxPixels)
        return QStringLiteral("l'image annonce %1 × %2 points : c'est trop pour une pièce "
                              "justificative, elle n'est pas ouverte.")
            .arg(size.width())
            .arg(size.height());
    const QImage image = reader.read();
    if (image.isNull())
        return QStringLiteral("l'image est abîmée et ne peut pas être lue (%1).")
            .arg(reader.errorString());
    return QString();
}

QString pdfProblem(const QString &path)
{
    QPdfDocument document;
    switch (document.load(path)) {
    case QPdfDocument::Error::None:
        break;
    case QPdfDocument::Error::IncorrectPassword:
        return QStringLiteral("le document PDF est protégé par un mot de passe.");
    case QPdfDocument::Error::UnsupportedSecurityScheme:
        return QStringLiteral("le document PDF est protégé d'une façon qui ne peut pas être lue.");
    default:
        return QStringLiteral("le document PDF est abîmé et ne peut pas être lu.");
    }
    if (document.pageCount() < 1)
        return QStringLiteral("le document PDF n'a aucune page.");
    return QString();
}

} // namespace

QString ProofDecoding::problem(const QString &path, ProofKind kind)
{
    if (kind == ProofKind::Pdf)
        return pdfProblem(path);
    return imageProblem(path, kind);
}
