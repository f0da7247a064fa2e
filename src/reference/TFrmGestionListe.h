#pragma once

#include <QDialog>

class BeneficiaryListOwner;
class QLabel;
class QListWidget;
class QPushButton;

// The beneficiary name list window: edits a working copy of the owner's list, taken each time
// the window is shown, and hands it back only through "Quitter"; any other way of closing
// discards the changes. Names are added in upper case and removed by position, the first entry
// being protected.
class TFrmGestionListe : public QDialog
{
    Q_OBJECT

public:
    explicit TFrmGestionListe(BeneficiaryListOwner &owner, QWidget *parent = nullptr);

    // Enter presses the focused button only: no button stands in as the default one.
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormShow();
    void btnAjouterClick();
    void btnSupprimerClick();
    void btnQuitterClick();
    void btnAideClick();

    BeneficiaryListOwner &owner_;
    QLabel *Label1;
    QListWidget *lstGestionBenef;
    QPushButton *btnAjouter;
    QPushButton *btnSupprimer;
    QPushButton *btnQuitter;
    QPushButton *btnAide;
};
