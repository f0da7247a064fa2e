#include "StatementImport.h"

#include "TFrmPrincipale.h"
#include "TaloWindows.h"

#include "import/CsvColumnDialog.h"
#include "import/TFrmImportReleve.h"
#include "platform/core/PlatformError.h"
#include "platform/store/Table.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/LongWork.h"
#include "reference/InsurerDetails.h"
#include "reference/TFrmInfos.h"
#include "register/CareRegister.h"
#include "register/CareViewReader.h"
#include "register/PayerRecognition.h"
#include "register/PaymentMatcher.h"
#include "register/ReimbursementApplier.h"
#include "register/StatementLedger.h"
#include "statements/CsvColumnMemory.h"
#include "statements/OfxReadProcess.h"
#include "statements/StatementReader.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>

#include <memory>

namespace
{

// The mutuelle's name as the insurance window holds it now, typed a moment ago or not:
// mutuelle.inf is written only at the exit. Without that window, the file as saved.
QString mutualName(TFrmPrincipale &main)
{
    if (TaloWindows *windows = main.windows(); windows && windows->frmInfos)
        return windows->frmInfos->mutualDetails().value(0);
    InsurerDetails details;
    details.load(main.programDir());
    return details.values(InsurerDetails::File::Mutual).value(0);
}

} // namespace

void StatementImport::run(TFrmPrincipale &main)
{
    // What is being typed is posted first: the matching reads the register as written, and
    // an entry refused here is better shown now than in the middle of the apply.
    if (!main.postPendingRecords(false))
        return;
    const QString path = QFileDialog::getOpenFileName(
        &main, QStringLiteral(" Choisir le relevé bancaire"), QDir::homePath(),
        QStringLiteral("Relevés bancaires (*.ofx *.qfx *.csv *.txt);;Tous les fichiers (*)"),
        nullptr, QFileDialog::DontUseNativeDialog);
    if (path.isEmpty())
        return;
    const QDir dir(main.programDir());
    try {
        const CsvColumnMemory memory(dir.filePath(QStringLiteral("talo.ini")));
        // A year of a busy account takes a second or more to read: it is read on a worker, with
        // a bar, and whatever it owns goes with the job if the person cancels.
        auto read = std::make_shared<StatementFile>();
        if (!LongWork::run(
                &main, QStringLiteral("Lecture du relevé…"), LongWork::Cancel::Offered,
                [read, path, memory](WorkProgress &progress) {
                    *read = StatementReader::read(
                        path, &memory,
                        [&progress](int done, int total) { progress.report(done, total); },
                        OfxReadProcess::reader([&progress] { return progress.stopRequested(); }));
                }))
            return;
        StatementFile file = std::move(*read);
        if (file.needsColumnChoice()) {
            CsvColumnDialog ask(file, &main);
            if (ask.exec() != QDialog::Accepted)
                return;
            file = StatementReader::withColumns(std::move(file), ask.choice());
            try {
                memory.remember(file.table, ask.choice());
            } catch (const PlatformError &e) {
                // The statement is still read; only the next one will ask again.
                Dialogs::warning(&main, QStringLiteral("Le choix des colonnes n'a pas pu être "
                                                       "retenu :\n\n%1")
                                            .arg(e.message()));
            }
        }
        const StatementLedger ledger =
            StatementLedger::read(dir.filePath(QStringLiteral("TALO.DB")));
        const PayerRecognition payers(mutualName(main), ledger.learnedLabels());
        auto matched = std::make_shared<std::pair<std::shared_ptr<PaymentMatcher>, MatchResult>>();
        if (!LongWork::run(&main, QStringLiteral("Rapprochement des paiements…"),
                           LongWork::Cancel::NotOffered,
                           [matched, entries = CareViewReader::readAll(main.tableTous()),
                            lines = std::move(file.lines), payers, ledger](WorkProgress &) {
                               matched->first = std::make_shared<PaymentMatcher>(entries);
                               matched->second = matched->first->match(lines, payers, ledger);
                           }))
            return;
        ImportSession session(std::move(matched->second), matched->first);
        if (session.paymentCount() == 0) {
            Dialogs::information(&main, QStringLiteral("Ce relevé ne contient aucun paiement "
                                                       "de la C.P.A.M. ni de la mutuelle.\n\n"
                                                       "Rien n'a été enregistré."));
            return;
        }
        CareRegister &rules = main.careRegister();
        TFrmImportReleve window(
            path, std::move(session),
            [&rules](const std::vector<ConfirmedPayment> &payments,
                     const TFrmImportReleve::Progress &progress) {
                ReimbursementApplier applier(rules);
                // Each entry posted and each ledger line is one step.
                int steps = 0;
                for (const ConfirmedPayment &p : payments)
                    steps += int(p.shares.size()) + 1;
                applier.afterStep = [&progress, steps](int step) { progress(step, steps); };
                applier.apply(payments, QDateTime::currentDateTimeUtc());
            },
            &main);
        window.exec();
    } catch (const PlatformError &e) {
        Dialogs::error(&main, QStringLiteral("Le relevé n'a pas pu être importé :\n\n%1\n\n"
                                             "Rien n'a été enregistré.")
                                  .arg(e.message()));
    }
}
