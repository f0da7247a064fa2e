#pragma once

#include "ImportSession.h"

#include <QDialog>

#include <functional>

class OtherCreditsPanel;
class PaymentListModel;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class QTableWidget;

// The statement's payments and, for the one selected, the entries it is proposed to pay with
// the share each gets; the person may pick another proposal (a digit on the payment takes the
// proposal of that number), pick the entries by hand (where none fits, or in place of the
// proposal), leave a payment out or type the shares. Nothing is written until Confirmer, which
// stays disabled (saying why) while the shares of a kept payment do not make it; writing
// thousands of entries shows the progress bar. The payments and the other credits are listed
// through models, so that a statement of any size opens at once.
class TFrmImportReleve : public QDialog
{
    Q_OBJECT

public:
    // The help anchor of this window.
    static constexpr int HelpContext = 63;

    // Told after each write of the apply, with the count of writes to make.
    using Progress = std::function<void(int done, int total)>;
    // `apply` writes the confirmed payments, all or none; it throws PlatformError on failure.
    using Apply = std::function<void(const std::vector<ConfirmedPayment> &, const Progress &)>;
    TFrmImportReleve(const QString &fileName, ImportSession session, Apply apply,
                     QWidget *parent = nullptr);

    const ImportSession &session() const { return session_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillPayments();
    bool chooseByNumber(int number);
    void choiceMade();
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

    PaymentListModel *payments_ = nullptr;
    std::vector<int> listed_; // the proposals of lstProposition, in its order

    QTableView *grillePaiements = nullptr;
    QComboBox *lstProposition = nullptr;
    QPushButton *btnChoisir = nullptr;
    QTableWidget *grilleParts = nullptr;
    QLabel *etqTotaux = nullptr;
    OtherCreditsPanel *autresCredits = nullptr;
    QPushButton *btnConfirmer = nullptr;
};
