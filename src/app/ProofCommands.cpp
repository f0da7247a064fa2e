#include "ProofCommands.h"

#include "TFrmPrincipale.h"
#include "TaloWindows.h"

#include "platform/core/Formats.h"
#include "platform/core/PlatformError.h"
#include "platform/store/BookmarkReturn.h"
#include "platform/store/ControlsDisabled.h"
#include "platform/store/Table.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/HandlerGuard.h"
#include "proofs/ProofStore.h"
#include "proofview/DossierCommand.h"
#include "proofview/ProofAttach.h"
#include "proofview/ProofViewMessages.h"
#include "proofview/ProofsDialog.h"
#include "reference/TFrmInfos.h"
#include "tables/CareEntryTable.h"
#include "tables/InsuredTable.h"

namespace
{

qint64 entryOf(Table &table)
{
    if (!table.isActive() || table.isEmpty() || table.state() == Table::State::Insert)
        return 0;
    return table.bookmark().rowId;
}

// The entry in view once what is being typed is posted; 0 (after saying why) when there is
// none.
qint64 postedEntry(TFrmPrincipale &main)
{
    if (!main.tableTous().isActive() || !main.postPendingRecords(false))
        return 0;
    const qint64 entry = entryOf(main.tableTous());
    if (entry == 0)
        Dialogs::warning(&main, ProofViewMessages::noEntry());
    return entry;
}

QString entryText(Table &table)
{
    using namespace CareFields;
    return QStringLiteral("du %1, %2, %3")
        .arg(Formats::date(table.fieldByName(DateSoins).asDate()),
             table.fieldByName(Beneficiaire).asString(), table.fieldByName(Medecin).asString());
}

QString numberText(const QString &digits)
{
    return digits.size() > 13 ? digits.left(13) + QLatin1Char('-') + digits.mid(13) : digits;
}

// The insured persons of the insurance details, members before those covered as dependants.
QStringList insuredLines(Table &insured)
{
    using namespace InsuredFields;
    QStringList members, dependants;
    if (!insured.isActive())
        return members;
    ControlsDisabled still(insured);
    BookmarkReturn back(insured);
    for (insured.first(); !insured.eof(); insured.next()) {
        QString line =
            QStringLiteral("%1 %2")
                .arg(insured.fieldByName(Nom).asString(), insured.fieldByName(Prenom).asString())
                .trimmed();
        const QString number = insured.fieldByName(NumSS).asString();
        if (!number.isEmpty())
            line += QStringLiteral(", n° %1").arg(numberText(number));
        if (insured.fieldByName(AyantDr).asString() == QStringLiteral("Vrai"))
            dependants.append(line + QStringLiteral(" (ayant droit)"));
        else
            members.append(line);
    }
    back.restore();
    return members + dependants;
}

} // namespace

void ProofCommands::attach(TFrmPrincipale &main, const QStringList &files)
{
    const qint64 entry = postedEntry(main);
    if (entry == 0)
        return;
    const QStringList chosen = files.isEmpty() ? ProofAttach::chooseFiles(&main) : files;
    ProofAttach::attach(&main, main.proofStore(), entry, chosen);
    main.showProofCount(true);
}

void ProofCommands::list(TFrmPrincipale &main)
{
    const qint64 entry = postedEntry(main);
    if (entry == 0)
        return;
    HandlerGuard::run(&main, [&main, entry] {
        ProofsDialog dialog(main.proofStore(), entry, entryText(main.tableTous()), &main);
        dialog.exec();
    });
    main.showProofCount(true);
}

void ProofCommands::dossier(TFrmPrincipale &main, QWidget *from,
                            const std::vector<CareFacts> &cares)
{
    DossierCommand::Sender sender;
    if (TaloWindows *windows = main.windows()) {
        HandlerGuard::run(from, [&sender, windows] {
            sender.insured = insuredLines(windows->frmInfos->tableAssure());
        });
        sender.mutual = windows->frmInfos->mutualDetails();
    }
    DossierCommand::run(from, main.proofStore(), sender, cares);
}

qint64 ProofCommands::entryInView(TFrmPrincipale &main)
{
    return entryOf(main.tableTous());
}
