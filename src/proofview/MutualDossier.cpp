#include "MutualDossier.h"

#include "DossierContent.h"
#include "DossierPages.h"
#include "ProofViewMessages.h"

#include "platform/core/AtomicFileWriter.h"
#include "platform/core/PlatformError.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

// qpdf's own smart pointers are std::shared_ptr throughout: none of its legacy holder.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <memory>
#include <vector>

namespace
{

int failAfterStep = 0;

// qpdf's output poured into the atomic writer's temporary file.
class DevicePipeline : public Pipeline
{
public:
    explicit DevicePipeline(QIODevice &device) : Pipeline("talo-dossier", nullptr), device_(device)
    {
    }
    void write(unsigned char const *data, size_t len) override
    {
        // A short write is caught by the writer's commit, which checks every step.
        device_.write(reinterpret_cast<const char *>(data), qint64(len));
    }
    void finish() override {}

private:
    QIODevice &device_;
};

bool isPdf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-";
}

class Stepper
{
public:
    explicit Stepper(const MutualDossier::Progress &progress) : progress_(progress) {}
    void operator()()
    {
        ++done_;
        if (failAfterStep != 0 && done_ == failAfterStep)
            throw PlatformError(QStringLiteral("arrêt simulé à l'étape %1").arg(done_));
        if (progress_ && !progress_(done_))
            throw PlatformError(QStringLiteral("Création du dossier interrompue."));
    }

private:
    const MutualDossier::Progress &progress_;
    int done_ = 0;
};

// qpdf mends what it can of a damaged file; one left without a page is not a proof.
bool addPages(QPDFPageDocumentHelper &out, QPDF &source)
{
    std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(source).getAllPages();
    for (QPDFPageObjectHelper &page : pages)
        out.addPage(page, false);
    return !pages.empty();
}

} // namespace

int MutualDossier::steps(const DossierContent &content)
{
    // The drawn pages' pictures, each proof's pages added, the file written.
    int images = 0;
    for (const DossierContent::Care &care : content.cares)
        for (const DossierContent::Proof &proof : care.proofs)
            images += isPdf(proof.path) ? 0 : 1;
    return images + content.proofCount() + 1;
}

void MutualDossier::failAfterStepForTesting(int step)
{
    failAfterStep = step;
}

int MutualDossier::write(const QString &path, const DossierContent &content,
                         const Progress &progress)
{
    Stepper step(progress);
    // Which proofs are PDF files, and which drawn page each picture goes to.
    struct Part {
        const DossierContent::Proof *proof;
        bool pdf;
        int drawnPage;
    };
    std::vector<Part> parts;
    std::vector<DossierContent::Proof> images;
    for (const DossierContent::Care &care : content.cares)
        for (const DossierContent::Proof &proof : care.proofs) {
            if (!QFileInfo(proof.path).isReadable())
                throw PlatformError(ProofViewMessages::unreadableInDossier(proof.name));
            const bool pdf = isPdf(proof.path);
            parts.push_back({&proof, pdf, pdf ? -1 : int(images.size())});
            if (!pdf)
                images.push_back(proof);
        }

    QBuffer drawn;
    drawn.open(QIODevice::WriteOnly);
    const int coverPages = DossierPages::write(drawn, content, images, [&step] { step(); });
    drawn.close();
    const QByteArray drawnBytes = drawn.data();

    try {
        QPDF drawnPdf;
        drawnPdf.setSuppressWarnings(true);
        drawnPdf.processMemoryFile("couverture", drawnBytes.constData(), size_t(drawnBytes.size()));
        const std::vector<QPDFPageObjectHelper> drawnPages =
            QPDFPageDocumentHelper(drawnPdf).getAllPages();

        QPDF out;
        out.emptyPDF();
        QPDFPageDocumentHelper outPages(out);
        for (int i = 0; i < coverPages; ++i)
            outPages.addPage(drawnPages[size_t(i)], false);
        // Every source stays open until the file is written: qpdf reads their streams then.
        std::vector<std::unique_ptr<QPDF>> sources;
        for (const Part &part : parts) {
            if (part.pdf) {
                auto source = std::make_unique<QPDF>();
                source->setSuppressWarnings(true);
                bool read = false;
                try {
                    source->processFile(QFile::encodeName(part.proof->path).constData());
                    read = addPages(outPages, *source);
                } catch (const std::exception &) {
                }
                if (!read)
                    throw PlatformError(ProofViewMessages::unreadableInDossier(part.proof->name));
                sources.push_back(std::move(source));
            } else {
                outPages.addPage(drawnPages[size_t(coverPages + part.drawnPage)], false);
            }
            step();
        }
        const int pageCount = int(outPages.getAllPages().size());

        AtomicFileWriter file(path);
        DevicePipeline pipeline(file.device());
        QPDFWriter writer(out);
        writer.setOutputPipeline(&pipeline);
        writer.setDeterministicID(true);
        writer.write();
        step();
        file.commit();
        return pageCount;
    } catch (const PlatformError &) {
        throw;
    } catch (const std::exception &e) {
        throw PlatformError(QString::fromLocal8Bit(e.what()));
    }
}
