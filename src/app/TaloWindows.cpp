#include "TaloWindows.h"

#include "ComboSelectors.h"
#include "MainBackupSources.h"
#include "TFrmPrincipale.h"

#include "platform/ReportCommand.h"
#include "platform/Table.h"
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
    w->frmMotDePasse = std::make_unique<TfrmMotDePasse>(&main);
    w->frmMedecins = std::make_unique<TFrmMedecins>(dir, &main);
    w->frmInfos = std::make_unique<TFrmInfos>(dir, &main);
    w->frmApropos = std::make_unique<TfrmApropos>(&main);
    w->frmCreationPasse = std::make_unique<TfrmCreationPasse>(&main);

    w->frmListeTalo = std::make_unique<TFrmListeTalo>(main.selectors());
    w->frmListeTalo->openAtStart(dir);
    main.careRegister().addFollower(w->frmListeTalo->tableTalo());
    w->frmListeMedecins = std::make_unique<TFrmListeMedecins>();
    w->frmListeMedecins->openAtStart(dir);
    TFrmMedecins *doctors = w->frmMedecins.get();
    TFrmListeMedecins *doctorsReport = w->frmListeMedecins.get();
    doctors->setPrintHandler([doctors, doctorsReport](bool preview) {
        ReportCommand::run(doctors, doctors->tableMedecins(), [=] {
            if (preview)
                doctorsReport->preview(doctors);
            else
                doctorsReport->print();
        });
    });

    w->frmGestionListe = std::make_unique<TFrmGestionListe>(main.selectors(), &main);
    w->backupSources = std::make_unique<MainBackupSources>(main, *w);
    w->frmSauvegarder = std::make_unique<TFrmSauvegarder>(dir, *w->backupSources, &main);
    main.setWindows(w.get());
    return w;
}
