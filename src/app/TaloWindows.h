#pragma once

#include <memory>

class MainBackupSources;
class TFrmGestionListe;
class TFrmInfos;
class TFrmListeMedecins;
class TFrmListeTalo;
class TFrmMedecins;
class TFrmPrincipale;
class TFrmSauvegarder;
class TfrmApropos;
class TfrmCreationPasse;
class TfrmMotDePasse;

// Every window of the program but the main one, each created once at start and kept until the
// end; opening a window only shows it. The main window owns them (they are its children).
struct TaloWindows {
    // Creates them in the start-up order, after the main window, and hands them to it.
    static std::unique_ptr<TaloWindows> create(TFrmPrincipale &main);
    ~TaloWindows();

    TfrmMotDePasse *frmMotDePasse = nullptr;
    TFrmMedecins *frmMedecins = nullptr;
    TFrmInfos *frmInfos = nullptr;
    TfrmApropos *frmApropos = nullptr;
    TfrmCreationPasse *frmCreationPasse = nullptr;
    TFrmListeTalo *frmListeTalo = nullptr;
    TFrmListeMedecins *frmListeMedecins = nullptr;
    TFrmGestionListe *frmGestionListe = nullptr;
    std::unique_ptr<MainBackupSources> backupSources;
    TFrmSauvegarder *frmSauvegarder = nullptr;
};
