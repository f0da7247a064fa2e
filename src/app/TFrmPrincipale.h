#pragma once

#include "ComboSelectors.h"

#include "platform/widgets/DataWindowKeys.h"
#include "platform/widgets/ReportCommand.h"
#include "register/RegisterTotals.h"

#include <QMainWindow>

#include <memory>

class CareRegister;
struct CareSearchHit;
class DBGrid;
class EntryPages;
class DBNavigator;
class QAction;
class QComboBox;
class QLabel;
class QToolButton;
class ProofCounts;
class ProofStore;
class Table;
struct TaloWindows;

// The main window: the register in a read-only grid ordered by date, the entry pages of the
// current care entry under it, the two selectors and the totals, and the commands that open
// every other window.
class TFrmPrincipale : public QMainWindow
{
    Q_OBJECT

public:
    // FormCreate: builds the window, opens TALO.DB of `programDir`, loads the beneficiary list.
    explicit TFrmPrincipale(const QString &programDir, QWidget *parent = nullptr);
    ~TFrmPrincipale() override;

    // The windows created after this one; their commands stay disabled until then.
    void setWindows(TaloWindows *windows);

    // The password gate, then the window shown; false (and never shown) when the program is
    // to end.
    bool FormShow();

    const QString &programDir() const { return programDir_; }
    Table &tableTous() { return *TableTous; }
    Table &tableCopieTous() { return *TableCopieTous; }
    CareRegister &careRegister() { return *register_; }
    ComboSelectors &selectors() { return *selectors_; }
    ProofStore &proofStore() { return *proofs_; }
    TaloWindows *windows() { return windows_; }
    bool leaveSilently() const { return leaveSilently_; }

    // LSTBENEF.LST, talosoc.inf and mutuelle.inf written from the on-screen lists and fields
    // (a confirmed quit and the backup copy); a file that could not be read at start is left
    // as it is. Every file is attempted; throws PlatformError with the reasons of those that
    // failed, one per line.
    void writeSideFiles();
    // The record pending in the register (and with `everyTable`, in the address book and the
    // insured persons) posted; false, after the error box, when one is refused.
    bool postPendingRecords(bool everyTable);
    // Both selectors back to their first items, the register unfiltered, on its last entry.
    void resetRegisterView();

    // Handlers.
    void lstListeBeneficiairesClick();
    void btnImprimerClick(ReportCommand::Output output);
    void btnInformationsClick();
    void BtnMedecinsClick();
    void btnListeBenefClick();
    void btnSauvegarderClick();
    void mnuPasseClick();
    void mnuAproposClick();
    void btnAideClick();
    void BtnQuitterClick();
    // " Suivi des remboursements" over the view; the entry chosen there becomes current with the
    // page of its payer in front.
    void mnuSuiviClick();
    // " Bilan annuel" over the whole register.
    void mnuBilanClick();
    // " Rechercher" over the whole register; the entry chosen there becomes current, the
    // selectors changed only when the view hides it, the caret in the care date.
    void mnuRechercherClick();
    void mnuExporterClick();
    // " Importer un relevé bancaire...": the reimbursements a bank statement shows, written
    // through this window's table once confirmed.
    void mnuImporterReleveClick();
    void mnuRestaurerClick();
    // "Joindre des pièces...", "Pièces jointes..." and "Dossier pour la mutuelle..." (the
    // entries in view).
    void mnuJoindreClick();
    void mnuPiecesClick();
    void mnuDossierClick();
    // The count of proofs of the entry in view, read when another entry comes into view, or
    // again when `again` (its proofs changed).
    void showProofCount(bool again = false);

    // Ends the program without the exit question, side files or automatic copy (a restore
    // takes the place of the current data).
    void leaveWithoutQuestion();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void loadBeneficiaryList();
    void showTotals(const RegisterTotals &totals);
    DataWindowKeys::Rules keyRules();
    void navTableTousClick(int button);
    bool FormCloseQuery();
    void enableWindowCommands();
    void showFoundEntry(const CareSearchHit &entry);
    // The page in front with the caret in its date field, now and again once this window is
    // active (the activation that follows a closed dialog would leave the caret at the end).
    void enterPageWhenActive(int page);

    QString programDir_;
    TaloWindows *windows_ = nullptr;
    bool leaveSilently_ = false;
    bool keepListFile_ = false; // LSTBENEF.LST was there but could not be read

    Table *TableTous = nullptr;
    Table *TableCopieTous = nullptr;
    std::unique_ptr<ComboSelectors> selectors_;
    std::unique_ptr<ProofStore> proofs_;
    std::unique_ptr<ProofCounts> proofCounts_;
    qint64 proofCountOf_ = -1;         // the entry whose count is shown
    ComboSelectors::View viewInForce_; // shown again when a switch is refused
    CareRegister *register_ = nullptr;

    QComboBox *lstListeAnnee = nullptr;
    QComboBox *lstListeBeneficiaires = nullptr;
    QLabel *EtqAttendus = nullptr;
    DBGrid *DBGrille = nullptr;
    DBNavigator *navTableTous = nullptr;
    EntryPages *OngletsSaisie = nullptr;
    QList<QLabel *> BarreEtat;
    QList<QAction *> windowCommands_; // the commands that open other windows
    DataWindowKeys *keys_ = nullptr;
    QString lastSearch_; // offered again by the next search
};
