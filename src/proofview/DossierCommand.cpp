#include "DossierCommand.h"

#include "DossierContent.h"
#include "MutualDossier.h"
#include "ProofViewMessages.h"

#include "platform/core/PlatformError.h"
#include "platform/core/Today.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/LongWork.h"
#include "proofs/ProofStore.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

#include <optional>

namespace
{

DossierCommand::FileNameQuery &fileNameQuery()
{
    static DossierCommand::FileNameQuery query;
    return query;
}

QString askFileName(QWidget *parent, const QString &suggested)
{
    if (fileNameQuery())
        return fileNameQuery()(parent, suggested);
    QFileDialog files(parent, QStringLiteral(" Enregistrer le dossier pour la mutuelle"), suggested,
                      QStringLiteral("Documents PDF (*.pdf);;Tous les fichiers (*)"));
    files.setObjectName(QStringLiteral("dlgDossierMutuelle"));
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setAcceptMode(QFileDialog::AcceptSave);
    files.setFileMode(QFileDialog::AnyFile);
    // ".pdf" added before the dialog asks about replacing: the question names the real file.
    files.setDefaultSuffix(QStringLiteral("pdf"));
    if (files.exec() != QDialog::Accepted || files.selectedFiles().isEmpty())
        return {};
    return files.selectedFiles().constFirst();
}

} // namespace

void DossierCommand::setFileNameQueryForTesting(FileNameQuery query)
{
    fileNameQuery() = std::move(query);
}

QString DossierCommand::run(QWidget *parent, ProofStore &store, const Sender &sender,
                            const std::vector<CareFacts> &cares)
{
    if (cares.empty()) {
        Dialogs::information(parent, ProofViewMessages::noCareChosen());
        return {};
    }
    DossierContent content;
    content.insured = sender.insured;
    content.mutual = sender.mutual;
    try {
        for (const CareFacts &facts : cares) {
            DossierContent::Care care{facts, {}};
            for (const ProofLink &link : store.proofsOf(facts.row.rowId))
                care.proofs.push_back({store.pathOf(link), link.shownName});
            content.cares.push_back(std::move(care));
        }
    } catch (const PlatformError &e) {
        Dialogs::error(parent, ProofViewMessages::dossierFailed(e.message()));
        return {};
    }

    const QString suggested = QDir::home().filePath(
        QStringLiteral("Dossier mutuelle %1.pdf").arg(Today::date().toString(Qt::ISODate)));
    const QString path = askFileName(parent, suggested);
    if (path.isEmpty())
        return {};

    // The bar goes before the closing message, hence the optional.
    std::optional<LongWork> progress;
    progress.emplace(parent, QStringLiteral(" Dossier pour la mutuelle"),
                     QStringLiteral("Création du dossier pour la mutuelle..."),
                     LongWork::Cancel::Offered);
    const int steps = MutualDossier::steps(content);
    try {
        const int pages = MutualDossier::write(
            path, content, [&progress, steps](int done) { return progress->report(done, steps); });
        progress.reset();
        Dialogs::information(
            parent, ProofViewMessages::dossierWritten(QDir::toNativeSeparators(path), pages));
        return path;
    } catch (const PlatformError &e) {
        const bool cancelled = progress->progress().stopRequested();
        progress.reset();
        Dialogs::error(parent,
                       cancelled ? e.message() : ProofViewMessages::dossierFailed(e.message()));
        return {};
    }
}
