#include "TaloWindows.h"

#include "ComboSelectors.h"
#include "MainBackupSources.h"
#include "TFrmPrincipale.h"

#include "platform/store/Table.h"
#include "platform/widgets/ReportCommand.h"
#include "reference/TFrmGestionListe.h"
#include "reference/TFrmInfos.h"
#include "reference/TFrmMedecins.h"
#include "register/CareRegister.h"
#include "reports/TFrmListeMedecins.h"
#include "reports/TFrmListeTalo.h"
#include "safety/TFrmSauvegarder.h"
#include "safety/TfrmApropos.h"
#include "safety/TfrmCreationPasse.h"
#include "safety/TfrmMotDePasse.h"

TaloWindows::~TaloWindows() = default;

std::unique_ptr<TaloWindows> TaloWindows::create(TFrmPrincipale &main)
{
    const QString dir = main.programDir();
    auto w = std::make_unique<TaloWindows>();
    w->frmMotDePasse = new TfrmMotDePasse(&main);
    w->frmMedecins = new TFrmMedecins(dir, &main);
    w->frmInfos = new TFrmInfos(dir, &main);
    w->frmApropos = new TfrmApropos(&main);
    w->frmCreationPasse = new TfrmCreationPasse(&main);

    w->frmListeTalo = new TFrmListeTalo(main.selectors(), &main);
    w->frmListeTalo->openAtStart(dir);
    main.careRegister().addFollower(w->frmListeTalo->tableTalo());
    w->frmListeMedecins = new TFrmListeMedecins(&main);
    w->frmListeMedecins->openAtStart(dir);
    TFrmMedecins *doctors = w->frmMedecins;
    TFrmListeMedecins *doctorsReport = w->frmListeMedecins;
    doctors->setPrintHandler([doctors, doctorsReport](ReportCommand::Output output) {
        ReportCommand::run(doctors, doctors->tableMedecins(), [=] {
            if (output == ReportCommand::Output::Preview)
                doctorsReport->preview(doctors);
            else
                doctorsReport->print();
        });
    });

    w->frmGestionListe = new TFrmGestionListe(main.selectors(), &main);
    w->backupSources = std::make_unique<MainBackupSources>(main, *w);
    w->frmSauvegarder = new TFrmSauvegarder(dir, *w->backupSources, &main);
    main.setWindows(w.get());
    return w;
}
