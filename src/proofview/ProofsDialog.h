#pragma once

#include "proofs/ProofLink.h"

#include <QDialog>

#include <vector>

class ProofStore;
class QPushButton;
class QTableWidget;

// " Pièces jointes": the proofs of one care entry with their names, dates added and sizes.
// Each opens in the desktop's viewer ("Ouvrir") or inside the program ("Voir", also Enter),
// and can be renamed or removed (after a question, also Delete); "Joindre..." adds more and
// files dropped onto the window are attached too.
class ProofsDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int helpContext = 64;

    // `entryText` names the care ("12/03/24 MARTIN, DR DUPONT").
    ProofsDialog(ProofStore &store, qint64 entryNumber, const QString &entryText,
                 QWidget *parent = nullptr);

    const std::vector<ProofLink> &links() const { return links_; }
    // True once a proof was attached, renamed or removed.
    bool changed() const { return changed_; }
    void selectRow(int row);

    // Handlers.
    void btnJoindreClick();
    void btnOuvrirClick();
    void btnVoirClick();
    void btnRenommerClick();
    void btnSupprimerClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void reload(int keepRow);
    const ProofLink *current() const;
    void enableButtons();
    void attachFiles(const QStringList &files);

    ProofStore &store_;
    qint64 entryNumber_;
    std::vector<ProofLink> links_;
    bool changed_ = false;

    QTableWidget *lstPieces = nullptr;
    QPushButton *btnJoindre = nullptr;
    QPushButton *btnOuvrir = nullptr;
    QPushButton *btnVoir = nullptr;
    QPushButton *btnRenommer = nullptr;
    QPushButton *btnSupprimer = nullptr;
};
