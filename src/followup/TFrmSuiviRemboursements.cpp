#include "TFrmSuiviRemboursements.h"

#include "FollowUpModel.h"
#include "FollowUpReport.h"
#include "ReportButtons.h"

#include "platform/core/Today.h"
#include "platform/widgets/DialogPlacement.h"
#include "platform/widgets/Dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{

// The payer choices, in the order of the list; index 0 keeps every line.
const std::optional<AwaitedPayer> payerChoices[] = {std::nullopt, AwaitedPayer::Cpam,
                                                    AwaitedPayer::Mutuelle, AwaitedPayer::ToCheck};

} // namespace

TFrmSuiviRemboursements::TFrmSuiviRemboursements(const std::vector<CareFacts> &entries,
                                                 const QString &viewText, QWidget *parent)
    : TFrmSuiviRemboursements(std::make_shared<const FollowUpLines>(entries), viewText, parent)
{
}

TFrmSuiviRemboursements::TFrmSuiviRemboursements(std::shared_ptr<const FollowUpLines> lines,
                                                 const QString &viewText, QWidget *parent)
    : QDialog(parent, Dialogs::dialogBorder() | Qt::WindowMaximizeButtonHint),
      lines_(std::move(lines)), viewText_(viewText)
{
    setObjectName(QStringLiteral("TFrmSuiviRemboursements"));
    setWindowTitle(QStringLiteral(" Suivi des remboursements"));
    resize(760, 520);

    lstPayeur = new QComboBox(this);
    lstPayeur->setObjectName(QStringLiteral("lstPayeur"));
    lstPayeur->addItems({QStringLiteral("Tous les payeurs"), QStringLiteral("C.P.A.M."),
                         QStringLiteral("Mutuelle"), QStringLiteral("À vérifier")});
    auto *payerCaption = new QLabel(QStringLiteral("Attendus &de :"), this);
    payerCaption->setBuddy(lstPayeur);
    etqVue = new QLabel(viewText_, this);
    etqVue->setObjectName(QStringLiteral("etqVue"));
    auto *top = new QHBoxLayout;
    top->addWidget(payerCaption);
    top->addWidget(lstPayeur);
    top->addSpacing(24);
    top->addWidget(etqVue, 1);

    model_ = new FollowUpModel(this);
    grilleSuivi = new QTableView(this);
    grilleSuivi->setObjectName(QStringLiteral("grilleSuivi"));
    grilleSuivi->setModel(model_);
    grilleSuivi->setSelectionBehavior(QAbstractItemView::SelectRows);
    grilleSuivi->setSelectionMode(QAbstractItemView::SingleSelection);
    grilleSuivi->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grilleSuivi->setAlternatingRowColors(true);
    grilleSuivi->verticalHeader()->hide();
    grilleSuivi->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    grilleSuivi->horizontalHeader()->setStretchLastSection(true);
    grilleSuivi->setWordWrap(false);
    grilleSuivi->installEventFilter(this);
    // The date column holds the tick of the lines the mutuelle owes.
    const int widths[] = {84, 110, 110, 80, 80, 80, 80, 72, 60};
    for (int c = 0; c < FollowUpModel::Count; ++c)
        grilleSuivi->setColumnWidth(c, widths[c]);
    connect(grilleSuivi, &QTableView::doubleClicked, this,
            [this](const QModelIndex &index) { chooseLine(index.row()); });

    grilleTranches = new QTableWidget(AgeBands::count + 1, 5, this);
    grilleTranches->setObjectName(QStringLiteral("grilleTranches"));
    grilleTranches->verticalHeader()->hide();
    grilleTranches->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grilleTranches->setSelectionMode(QAbstractItemView::NoSelection);
    grilleTranches->setFocusPolicy(Qt::NoFocus);
    grilleTranches->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    const int rowHeight = fontMetrics().height() + 4;
    grilleTranches->verticalHeader()->setDefaultSectionSize(rowHeight);
    grilleTranches->setFixedHeight(rowHeight * (AgeBands::count + 2) + 6);

    btnDossier = new QPushButton(QStringLiteral("Dossier pour la &mutuelle..."), this);
    btnDossier->setObjectName(QStringLiteral("btnDossier"));
    btnDossier->setAccessibleDescription(
        QStringLiteral("Un document PDF des soins cochés et de leurs pièces jointes"));
    btnDossier->setAutoDefault(false);
    btnDossier->hide();
    connect(btnDossier, &QPushButton::clicked, this, &TFrmSuiviRemboursements::btnDossierClick);
    auto *hint = new QWidget(this);
    auto *hintRow = new QHBoxLayout(hint);
    hintRow->setContentsMargins(0, 0, 0, 0);
    hintRow->addWidget(btnDossier);
    hintRow->addWidget(new QLabel(
        QStringLiteral("Entrée ou double-clic : aller au soin pour saisir son remboursement.\n"
                       "Espace : cocher un soin que la mutuelle doit encore, pour son dossier."),
        hint));

    auto *column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(grilleSuivi, 1);
    column->addWidget(grilleTranches);
    column->addLayout(ReportButtons::create(
        *this,
        LaidOutReport(QStringLiteral("Remboursements attendus"),
                      [this](const ReportPageGeometry &g) { return layOut(g); }),
        helpContext, hint));

    connect(lstPayeur, &QComboBox::currentIndexChanged, this,
            &TFrmSuiviRemboursements::lstPayeurChange);

    lstPayeurChange();
}

TFrmSuiviRemboursements::~TFrmSuiviRemboursements() = default;

void TFrmSuiviRemboursements::lstPayeurChange()
{
    const int index = std::max(0, lstPayeur->currentIndex());
    followUp_ =
        std::make_shared<const ReimbursementFollowUp>(lines_, Today::date(), payerChoices[index]);
    model_->setFollowUp(followUp_);
    if (model_->rowCount() > 0)
        grilleSuivi->setCurrentIndex(model_->index(0, 0));
    showBands();
}

void TFrmSuiviRemboursements::showBands()
{
    const QList<QStringList> rows = FollowUpReport::bandRows(*followUp_);
    grilleTranches->setHorizontalHeaderLabels(rows.first());
    for (int r = 1; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            auto *item = new QTableWidgetItem(rows[r][c]);
            item->setTextAlignment((c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
            // The total, and the bands a reminder can still help.
            const int band = r - 1;
            if (r == rows.size() - 1 || (band >= AgeBands::of(AgeBands::lateAfter + 1) &&
                                         band <= AgeBands::of(AgeBands::claimLimit))) {
                QFont font = item->font();
                font.setBold(true);
                item->setFont(font);
            }
            grilleTranches->setItem(r - 1, c, item);
        }
    }
}

void TFrmSuiviRemboursements::chooseLine(int row)
{
    if (row < 0 || row >= model_->rowCount())
        return;
    choice_ = Choice{Bookmark{followUp_->rowId(size_t(row))}, followUp_->payer(size_t(row))};
    accept();
}

void TFrmSuiviRemboursements::setDossierCommand(DossierCommand command)
{
    dossierCommand_ = std::move(command);
    btnDossier->setVisible(bool(dossierCommand_));
}

const std::set<qint64> &TFrmSuiviRemboursements::tickedRows() const
{
    return model_->ticked();
}

void TFrmSuiviRemboursements::btnDossierClick()
{
    if (dossierCommand_)
        dossierCommand_(this, tickedRows());
    grilleSuivi->setFocus();
}

bool TFrmSuiviRemboursements::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == grilleSuivi && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            chooseLine(grilleSuivi->currentIndex().row());
            return true;
        }
        if (key == Qt::Key_Space) {
            if (!model_->toggle(grilleSuivi->currentIndex().row()))
                QApplication::beep();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmSuiviRemboursements::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    DialogPlacement::centreOnScreen(this);
    grilleSuivi->setFocus();
}

QString TFrmSuiviRemboursements::scopeText() const
{
    return QStringLiteral("%1 ; attendus de : %2").arg(viewText_, lstPayeur->currentText());
}

QList<ReportPage> TFrmSuiviRemboursements::layOut(const ReportPageGeometry &geometry) const
{
    return FollowUpReport::layOut(*followUp_, scopeText(), geometry);
}
