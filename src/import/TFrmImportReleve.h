#pragma once

#include "ImportSession.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// The statement's payments and, for the one selected, the entries it is proposed to pay with
// the share each gets; the person may pick another proposal, pick the entries by hand (where
// none fits, or in place of the proposal), leave a payment out or type the shares. Nothing is
// written until Confirmer, which stays disabled (saying why) while the shares of a kept payment do
// not make it.
class TFrmImportReleve : public QDialog
{
    Q_OBJECT

public:
    // The help anchor of this window.
    static constexpr int HelpContext = 63;

    // `apply` writes the confirmed payments, all or none; it throws PlatformError on failure.
    using Apply = std::function<void(const std::vector<ConfirmedPayment> &)>;
    TFrmImportReleve(const QString &fileName, ImportSession session, Apply apply,
                     QWidget *parent = nullptr);

    const ImportSession &session() const { return session_; }

private:
    void fillPayments();
    void showPayment(int row);
    void shareEdited(int row, int column);
    void chooseProposal(int index);
    void pickEntries();
    void refreshState();
    void confirm();

    ImportSession session_;
    Apply apply_;
    int current_ = -1;
    bool filling_ = false;

    QTableWidget *grillePaiements = nullptr;
    QComboBox *lstProposition = nullptr;
    QPushButton *btnChoisir = nullptr;
    QTableWidget *grilleParts = nullptr;
    QLabel *etqTotaux = nullptr;
    QLabel *etqAutres = nullptr;
    QPushButton *btnConfirmer = nullptr;
};
