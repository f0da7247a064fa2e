#pragma once

#include "platform/report/ReportPage.h"
#include "platform/report/ReportPageGeometry.h"
#include "register/CareFacts.h"
#include "register/FollowUpLines.h"
#include "register/ReimbursementFollowUp.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <vector>

class FollowUpModel;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class QTableWidget;

// " Suivi des remboursements": every entry of the main window's view whose reimbursement is
// still awaited, the oldest first, with the sums per payer and per age band. Enter or a
// double-click on a line closes the window and names that entry (and the page of its payer)
// for the main window to show. Space ticks the lines the mutuelle owes; "Dossier pour la
// mutuelle..." hands the ticked entries to the command the main window gives.
class TFrmSuiviRemboursements : public QDialog
{
    Q_OBJECT

public:
    static constexpr int helpContext = 60;

    struct Choice {
        Bookmark row;
        AwaitedPayer payer;
    };
    // Given the row ids of the entries ticked.
    using DossierCommand = std::function<void(QWidget *window, const std::set<qint64> &)>;

    // `lines` are the view's (FollowUpLines::readView); `viewText` names the main window's
    // view ("Bénéficiaire : TOUS, année : TOUTES").
    TFrmSuiviRemboursements(std::shared_ptr<const FollowUpLines> lines, const QString &viewText,
                            QWidget *parent = nullptr);
    TFrmSuiviRemboursements(const std::vector<CareFacts> &entries, const QString &viewText,
                            QWidget *parent = nullptr);
    ~TFrmSuiviRemboursements() override;

    const std::optional<Choice> &choice() const { return choice_; }
    const ReimbursementFollowUp &followUp() const { return *followUp_; }
    // Shows the button "Dossier pour la mutuelle...", which runs `command` over the ticked entries.
    void setDossierCommand(DossierCommand command);
    // The entries ticked (row ids).
    const std::set<qint64> &tickedRows() const;
    // The printed report's pages for the lines shown.
    QList<ReportPage> layOut(const ReportPageGeometry &geometry) const;

    // Handlers.
    void lstPayeurChange();
    void chooseLine(int row);
    void btnDossierClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QString scopeText() const;
    void showBands();

    std::shared_ptr<const FollowUpLines> lines_;
    QString viewText_;
    std::shared_ptr<const ReimbursementFollowUp> followUp_;
    std::optional<Choice> choice_;
    DossierCommand dossierCommand_;

    QComboBox *lstPayeur = nullptr;
    QLabel *etqVue = nullptr;
    QTableView *grilleSuivi = nullptr;
    FollowUpModel *model_ = nullptr;
    QTableWidget *grilleTranches = nullptr;
    QPushButton *btnDossier = nullptr;
};
