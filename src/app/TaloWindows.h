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
// end; opening a window only shows it.
struct TaloWindows {
    // Creates them in the start-up order, after the main window, and hands them to it.
    static std::unique_ptr<TaloWindows> create(TFrmPrincipale &main);
    ~TaloWindows();

    std::unique_ptr<TfrmMotDePasse> frmMotDePasse;
    std::unique_ptr<TFrmMedecins> frmMedecins;
    std::unique_ptr<TFrmInfos> frmInfos;
    std::unique_ptr<TfrmApropos> frmApropos;
    std::unique_ptr<TfrmCreationPasse> frmCreationPasse;
    std::unique_ptr<TFrmListeTalo> frmListeTalo;
    std::unique_ptr<TFrmListeMedecins> frmListeMedecins;
    std::unique_ptr<TFrmGestionListe> frmGestionListe;
    std::unique_ptr<MainBackupSources> backupSources;
    std::unique_ptr<TFrmSauvegarder> frmSauvegarder;
};
