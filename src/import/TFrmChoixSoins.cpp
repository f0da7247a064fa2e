#include "TFrmChoixSoins.h"

#include "ImportCells.h"
#include "ImportSession.h"
#include "platform/core/Formats.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{

enum Column { CPaid, CDate, CBeneficiary, CDoctor, CCost, CPredicted, CColumns };

// The check box says it in words too: a dark theme can draw an empty box nearly unseen.
void setPaid(QTableWidgetItem *item, bool paid)
{
    item->setCheckState(paid ? Qt::Checked : Qt::Unchecked);
    item->setText(paid ? QStringLiteral("oui") : QStringLiteral("non"));
}

} // namespace

TFrmChoixSoins::TFrmChoixSoins(const ImportSession &session, size_t i,
                               std::vector<PickableShare> pickable, const QSet<qint64> &checked,
                               QWidget *parent)
    : QDialog(parent), entries_(std::move(pickable)), payment_(session.payment(i).line.cents)
{
    const PaymentProposal &payment = session.payment(i);
    setObjectName(QStringLiteral("TFrmChoixSoins"));
    setWindowTitle(QStringLiteral(" Choisir les soins payés"));
    auto *layout = new QVBoxLayout(this);
    auto *etqPaiement = new QLabel(
        QStringLiteral(
            "Paiement du %1 (%2) de %3 : « %4 ».\nCochez les soins qu'il a payés "
            "(Espace coche ou décoche, Entrée valide, Échap annule). Un soin grisé est gardé "
            "par un autre paiement : laissez-le là ou retirez-le d'abord de ce paiement.")
            .arg(Formats::fullDate(payment.line.date), AwaitedPayers::text(payment.payer),
                 ImportSession::money(payment.line.cents), payment.line.label),
        this);
    etqPaiement->setWordWrap(true);
    layout->addWidget(etqPaiement);

    auto *etqSoins = new QLabel(QStringLiteral("&Soins qui attendent ce payeur :"), this);
    grilleSoins = new QTableWidget(int(entries_.size()), CColumns, this);
    grilleSoins->setObjectName(QStringLiteral("grilleSoins"));
    grilleSoins->setAccessibleName(QStringLiteral("Soins à cocher"));
    grilleSoins->setAccessibleDescription(
        QStringLiteral("Espace coche ou décoche le soin, Entrée valide le choix"));
    grilleSoins->setHorizontalHeaderLabels(
        {QStringLiteral("Payé"), QStringLiteral("Date des soins"), QStringLiteral("Bénéficiaire"),
         QStringLiteral("Médecin"), QStringLiteral("Coût"), QStringLiteral("Part prévue")});
    grilleSoins->setSelectionBehavior(QAbstractItemView::SelectRows);
    grilleSoins->setSelectionMode(QAbstractItemView::SingleSelection);
    grilleSoins->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grilleSoins->setTabKeyNavigation(false);
    grilleSoins->verticalHeader()->hide();
    grilleSoins->horizontalHeader()->setStretchLastSection(true);
    etqSoins->setBuddy(grilleSoins);
    for (size_t k = 0; k < entries_.size(); ++k) {
        const PickableShare &p = entries_[k];
        const int r = int(k);
        ImportCells::setShare(*grilleSoins, r, CDate, p.share);
        if (p.heldBy) {
            // Shown so that nothing is left out silently, greyed and not checkable.
            const PaymentProposal &other = session.payment(*p.heldBy);
            const QString holder = QStringLiteral("pris par le paiement du %1 (%2)")
                                       .arg(Formats::fullDate(other.line.date),
                                            ImportSession::money(other.line.cents));
            grilleSoins->setItem(r, CPaid, ImportCells::readOnly(holder));
            for (int c = 0; c < CColumns; ++c) {
                QTableWidgetItem *item = grilleSoins->item(r, c);
                item->setFlags(Qt::ItemIsSelectable);
                item->setToolTip(holder);
            }
            continue;
        }
        QTableWidgetItem *paid = ImportCells::readOnly(QString());
        paid->setFlags(paid->flags() | Qt::ItemIsUserCheckable);
        setPaid(paid, checked.contains(p.share.entry.row.rowId));
        grilleSoins->setItem(r, CPaid, paid);
    }
    grilleSoins->resizeColumnsToContents();
    grilleSoins->installEventFilter(this);
    layout->addWidget(etqSoins);
    layout->addWidget(grilleSoins, 1);

    etqChoix = new QLabel(this);
    etqChoix->setObjectName(QStringLiteral("etqChoix"));
    etqChoix->setWordWrap(true);
    layout->addWidget(etqChoix);

    auto *buttons = new QDialogButtonBox(this);
    btnValider = buttons->addButton(QStringLiteral("&Valider"), QDialogButtonBox::AcceptRole);
    btnValider->setObjectName(QStringLiteral("btnValider"));
    btnValider->setAccessibleName(QStringLiteral("Valider le choix des soins"));
    QPushButton *btnAnnuler =
        buttons->addButton(QStringLiteral("A&nnuler"), QDialogButtonBox::RejectRole);
    btnAnnuler->setObjectName(QStringLiteral("btnAnnuler"));
    btnAnnuler->setAccessibleName(QStringLiteral("Annuler le choix des soins"));
    connect(btnValider, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(grilleSoins, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        // A click in the box changes the state only: the words follow.
        if (item->column() == CPaid) {
            const QSignalBlocker quiet(grilleSoins);
            setPaid(item, item->checkState() == Qt::Checked);
        }
        refresh();
    });
    for (int r = 0; r < grilleSoins->rowCount(); ++r) {
        if (checkable(r)) {
            grilleSoins->setCurrentCell(r, CPaid);
            break;
        }
    }
    grilleSoins->setFocus();
    refresh();
    resize(680, 460);
}

bool TFrmChoixSoins::checkable(int row) const
{
    return row >= 0 && size_t(row) < entries_.size() && !entries_[size_t(row)].heldBy;
}

QList<qint64> TFrmChoixSoins::rows() const
{
    QList<qint64> out;
    for (size_t k = 0; k < entries_.size(); ++k) {
        if (checkable(int(k)) && grilleSoins->item(int(k), CPaid)->checkState() == Qt::Checked)
            out.append(entries_[k].share.entry.row.rowId);
    }
    return out;
}

// Space checks the row in focus whichever of its cells is current; the view alone would only
// check it from the check box's own cell.
bool TFrmChoixSoins::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == grilleSoins && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space &&
        static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier) {
        const int row = grilleSoins->currentRow();
        if (!checkable(row))
            QApplication::beep();
        else {
            QTableWidgetItem *item = grilleSoins->item(row, CPaid);
            setPaid(item, item->checkState() != Qt::Checked);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmChoixSoins::refresh()
{
    int count = 0;
    qint64 predicted = 0;
    for (size_t k = 0; k < entries_.size(); ++k) {
        if (checkable(int(k)) && grilleSoins->item(int(k), CPaid)->checkState() == Qt::Checked) {
            ++count;
            predicted += entries_[k].share.prediction.expected;
        }
    }
    btnValider->setEnabled(count > 0);
    etqChoix->setText(
        count == 0 ? QStringLiteral("Aucun soin coché.")
                   : QStringLiteral("%1 soin(s) coché(s), part prévue %2 pour un paiement de %3 : "
                                    "le paiement sera réparti entre eux, parts modifiables.")
                         .arg(count)
                         .arg(ImportSession::money(predicted), ImportSession::money(payment_)));
}
