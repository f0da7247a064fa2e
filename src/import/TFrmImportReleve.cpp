#include "TFrmImportReleve.h"

#include "ImportCells.h"
#include "ImportSummary.h"
#include "OtherCreditsPanel.h"
#include "PaymentListModel.h"
#include "TFrmChoixSoins.h"
#include "platform/core/Formats.h"
#include "platform/core/PlatformError.h"
#include "platform/widgets/DefaultPrinter.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"
#include "platform/widgets/LongWork.h"
#include "platform/widgets/ReportPreviewDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSet>
#include <QShortcut>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{

// The first item of an undecided payment's list, which takes nothing.
constexpr int Undecided = -3;

enum PartColumn { PDate, PBeneficiary, PDoctor, PCost, PPredicted, PWritten, PColumns };

// "1 : 1 soin (LÉA, 12/03/2025), prévu 13,80 €, à choisir".
QString proposalText(int number, const ProposedCombination &c)
{
    QStringList cares;
    for (const ProposedShare &s : c.shares)
        cares.append(
            QStringLiteral("%1, %2").arg(s.entry.beneficiary, Formats::fullDate(s.entry.date)));
    return QStringLiteral("%1 : %2 soin(s) (%3), prévu %4, %5")
        .arg(number)
        .arg(c.shares.size())
        .arg(cares.join(QStringLiteral(" ; ")), ImportSession::money(c.predictedTotal()),
             ProposedCombination::confidenceText(c.confidence));
}

// "19,5", "19.50", "19,50 €" as cents; nothing for anything else.
std::optional<qint64> parseMoney(QString text)
{
    text.remove(QStringLiteral("€")).remove(QChar(u' ')).remove(QChar(0x00A0));
    text.replace(QChar(u'.'), QChar(u','));
    bool ok = false;
    const double value = QLocale(QLocale::French).toDouble(text, &ok);
    if (!ok || value < 0 || value > 1e9)
        return std::nullopt;
    return qRound64(value * 100.0);
}

QPushButton *button(QHBoxLayout *row, const QString &text, const char *name)
{
    auto *b = new QPushButton(text);
    b->setObjectName(QString::fromLatin1(name));
    // Enter in the grids never presses a button by accident: no default button at all (a
    // button box would make Confirmer the default one when shown).
    b->setAutoDefault(false);
    b->setDefault(false);
    row->addWidget(b);
    return b;
}

} // namespace

TFrmImportReleve::TFrmImportReleve(const QString &fileName, ImportSession session, Apply apply,
                                   QWidget *parent)
    : QDialog(parent), session_(std::move(session)), apply_(std::move(apply))
{
    setObjectName(QStringLiteral("TFrmImportReleve"));
    setWindowTitle(QStringLiteral(" Importer un relevé bancaire"));
    auto *layout = new QVBoxLayout(this);

    const MatchResult &r = session_.result();
    auto *etqFichier = new QLabel(
        QStringLiteral("Relevé « %1 » : %2 paiement(s) de la C.P.A.M. ou de la mutuelle, "
                       "%3 autre(s) crédit(s), %4 débit(s) laissé(s) de côté.")
            .arg(QFileInfo(fileName).fileName())
            .arg(r.payments.size())
            .arg(r.otherCredits.size())
            .arg(r.debits),
        this);
    etqFichier->setWordWrap(true);
    layout->addWidget(etqFichier);

    auto *etqPaiements = new QLabel(QStringLiteral("&Paiements du relevé :"), this);
    grillePaiements = new QTableView(this);
    grillePaiements->setObjectName(QStringLiteral("grillePaiements"));
    grillePaiements->setAccessibleName(QStringLiteral("Paiements du relevé"));
    grillePaiements->setAccessibleDescription(
        QStringLiteral("Un chiffre prend la proposition de ce numéro pour le paiement"));
    etqPaiements->setBuddy(grillePaiements);
    layout->addWidget(etqPaiements);
    layout->addWidget(grillePaiements, 2);
    auto *etqTouches = new QLabel(
        QStringLiteral("Un paiement « à choisir » attend votre choix : sur ce paiement, la touche "
                       "1, 2… prend la proposition de ce numéro (ou Entrée sur elle dans la liste "
                       "« Soins payés »). Les autres paiements du même payeur laissent alors ces "
                       "soins."),
        this);
    etqTouches->setObjectName(QStringLiteral("etqTouches"));
    etqTouches->setWordWrap(true);
    layout->addWidget(etqTouches);

    auto *etqProposition = new QLabel(QStringLiteral("&Soins payés :"), this);
    lstProposition = new QComboBox(this);
    lstProposition->setObjectName(QStringLiteral("lstProposition"));
    etqProposition->setBuddy(lstProposition);
    auto *row = new QHBoxLayout;
    row->addWidget(etqProposition);
    row->addWidget(lstProposition, 1);
    btnChoisir = button(row, QStringLiteral("C&hoisir les soins..."), "btnChoisir");
    btnChoisir->setAccessibleName(QStringLiteral("Choisir les soins"));
    btnChoisir->setAccessibleDescription(
        QStringLiteral("Cocher à la main les soins que ce paiement a payés"));
    layout->addLayout(row);

    auto *etqParts = new QLabel(QStringLiteral("Par&ts à écrire (modifiables) :"), this);
    grilleParts = new QTableWidget(0, PColumns, this);
    grilleParts->setObjectName(QStringLiteral("grilleParts"));
    grilleParts->setHorizontalHeaderLabels(
        {QStringLiteral("Date des soins"), QStringLiteral("Bénéficiaire"),
         QStringLiteral("Médecin"), QStringLiteral("Coût"), QStringLiteral("Part prévue"),
         QStringLiteral("Part écrite")});
    grilleParts->setEditTriggers(QAbstractItemView::AnyKeyPressed |
                                 QAbstractItemView::DoubleClicked |
                                 QAbstractItemView::EditKeyPressed);
    grilleParts->setSelectionMode(QAbstractItemView::SingleSelection);
    grilleParts->verticalHeader()->hide();
    // Tab leaves the grids for the next control; the arrows move within them.
    grilleParts->setTabKeyNavigation(false);
    grilleParts->horizontalHeader()->setStretchLastSection(true);
    etqParts->setBuddy(grilleParts);
    layout->addWidget(etqParts);
    layout->addWidget(grilleParts, 2);

    autresCredits = new OtherCreditsPanel(session_.result().otherCredits, this);
    layout->addWidget(autresCredits);
    etqTotaux = new QLabel(this);
    etqTotaux->setObjectName(QStringLiteral("etqTotaux"));
    etqTotaux->setWordWrap(true);
    layout->addWidget(etqTotaux);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btnConfirmer = button(buttons, QStringLiteral("&Confirmer"), "btnConfirmer");
    QPushButton *btnResume = button(buttons, QStringLiteral("&Résumé..."), "btnResume");
    QPushButton *btnAnnuler = button(buttons, QStringLiteral("A&nnuler"), "btnAnnuler");
    QPushButton *btnAide = button(buttons, QStringLiteral("&Aide"), "btnAide");
    layout->addLayout(buttons);

    const auto help = [this] { Help::showContext(this, HelpContext); };
    connect(btnAide, &QPushButton::clicked, this, help);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, help);
    connect(btnResume, &QPushButton::clicked, this, [this, fileName] {
        const ReportPageGeometry geometry = DefaultPrinter::pageGeometry();
        ReportPreviewDialog preview(
            ImportSummary::pages(session_, fileName, QDate::currentDate(), geometry), geometry,
            ImportSummary::title(), this);
        preview.exec();
    });
    connect(btnConfirmer, &QPushButton::clicked, this, &TFrmImportReleve::confirm);
    connect(btnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstProposition, &QComboBox::activated, this, &TFrmImportReleve::chooseProposal);
    connect(btnChoisir, &QPushButton::clicked, this, &TFrmImportReleve::pickEntries);
    connect(grilleParts, &QTableWidget::cellChanged, this, &TFrmImportReleve::shareEdited);

    setTabOrder(grillePaiements, lstProposition);
    setTabOrder(lstProposition, btnChoisir);
    setTabOrder(btnChoisir, grilleParts);
    setTabOrder(grilleParts, autresCredits->firstInTabOrder());
    setTabOrder(autresCredits->firstInTabOrder(), autresCredits->lastInTabOrder());
    setTabOrder(autresCredits->lastInTabOrder(), btnConfirmer);
    setTabOrder(btnConfirmer, btnResume);
    setTabOrder(btnResume, btnAnnuler);
    setTabOrder(btnAnnuler, btnAide);

    fillPayments();
    connect(grillePaiements->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { showPayment(current.row()); });
    grillePaiements->installEventFilter(this);
    if (payments_->rowCount() > 0)
        grillePaiements->setCurrentIndex(payments_->index(0, 0));
    showPayment(grillePaiements->currentIndex().row());
    grillePaiements->setFocus();
    resize(860, 600);
}

void TFrmImportReleve::fillPayments()
{
    payments_ = new PaymentListModel(session_, this);
    ImportCells::setUpList(*grillePaiements, payments_);
    grillePaiements->resizeColumnsToContents();
}

// A digit on a payment takes the proposal of that number in its list.
bool TFrmImportReleve::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == grillePaiements && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if (mods == Qt::NoModifier && key->key() >= Qt::Key_1 && key->key() <= Qt::Key_9) {
            if (!chooseByNumber(key->key() - Qt::Key_0))
                QApplication::beep();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TFrmImportReleve::chooseByNumber(int number)
{
    if (current_ < 0 || number < 1 || size_t(number) > listed_.size())
        return false;
    session_.choose(size_t(current_), listed_[size_t(number - 1)]);
    choiceMade();
    return true;
}

void TFrmImportReleve::choiceMade()
{
    payments_->statesChanged();
    showPayment(current_);
}

void TFrmImportReleve::showPayment(int row)
{
    current_ = row;
    filling_ = true;
    listed_.clear();
    lstProposition->clear();
    grilleParts->setRowCount(0);
    if (row >= 0 && size_t(row) < session_.paymentCount()) {
        const size_t i = size_t(row);
        const PaymentProposal &p = session_.payment(i);
        listed_ = p.alreadyApplied ? std::vector<int>{} : session_.open(i);
        for (size_t n = 0; n < listed_.size(); ++n)
            lstProposition->addItem(proposalText(int(n + 1), p.combinations[size_t(listed_[n])]),
                                    listed_[n]);
        if (const auto &hand = session_.picked(i))
            lstProposition->addItem(QStringLiteral("Choisis à la main : %1 soin(s), prévu %2")
                                        .arg(hand->shares.size())
                                        .arg(ImportSession::money(hand->predictedTotal())),
                                    ImportSession::ByHand);
        if (session_.chosen(i) == ImportSession::None && !session_.chosenByPerson(i) &&
            !listed_.empty())
            lstProposition->insertItem(0,
                                       QStringLiteral("Rien n'est pris : choisissez une "
                                                      "proposition"),
                                       Undecided);
        lstProposition->addItem(p.alreadyApplied ? QStringLiteral("Déjà enregistré : rien à écrire")
                                                 : QStringLiteral("Ne pas enregistrer ce paiement"),
                                ImportSession::None);
        const bool undecided = lstProposition->itemData(0).toInt() == Undecided;
        lstProposition->setCurrentIndex(undecided ? 0
                                                  : lstProposition->findData(session_.chosen(i)));
        const std::vector<ProposedShare> &entries = session_.entries(i);
        const std::vector<qint64> &shares = session_.shares(i);
        grilleParts->setRowCount(int(entries.size()));
        for (size_t k = 0; k < entries.size(); ++k) {
            const ProposedShare &s = entries[k];
            const int r = int(k);
            ImportCells::setShare(*grilleParts, r, PDate, s);
            auto *written = new QTableWidgetItem(ImportSession::money(shares[k]));
            written->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grilleParts->setItem(r, PWritten, written);
        }
        grilleParts->resizeColumnsToContents();
        if (!entries.empty())
            grilleParts->setCurrentCell(0, PWritten);
    }
    btnChoisir->setEnabled(current_ >= 0 && session_.canPick(size_t(current_)));
    filling_ = false;
    refreshState();
}

void TFrmImportReleve::chooseProposal(int index)
{
    if (filling_ || current_ < 0 || index < 0)
        return;
    const int combination = lstProposition->itemData(index).toInt();
    if (combination == Undecided)
        return;
    session_.choose(size_t(current_), combination);
    choiceMade();
}

void TFrmImportReleve::pickEntries()
{
    if (current_ < 0 || !session_.canPick(size_t(current_)))
        return;
    const size_t i = size_t(current_);
    const PaymentProposal &p = session_.payment(i);
    std::vector<PickableShare> pickable = session_.pickable(i);
    if (pickable.empty()) {
        Dialogs::information(
            this, QStringLiteral("Aucun soin antérieur au %1 n'attend de "
                                 "remboursement de %2 : il n'y a rien à choisir.")
                      .arg(Formats::fullDate(p.line.date), AwaitedPayers::text(p.payer)));
        return;
    }
    // The entries kept now start checked, so that a proposal is corrected rather than redone.
    QSet<qint64> kept;
    for (const ProposedShare &s : session_.entries(i))
        kept.insert(s.entry.row.rowId);
    TFrmChoixSoins pick(session_, i, std::move(pickable), kept, this);
    if (pick.exec() != QDialog::Accepted)
        return;
    session_.pickByHand(i, pick.rows());
    choiceMade();
    grilleParts->setFocus();
}

void TFrmImportReleve::shareEdited(int row, int column)
{
    if (filling_ || column != PWritten || current_ < 0)
        return;
    const std::optional<qint64> cents = parseMoney(grilleParts->item(row, column)->text());
    if (!cents)
        Dialogs::warning(this, QStringLiteral("« %1 » n'est pas un montant : tapez par exemple "
                                              "18,50.")
                                   .arg(grilleParts->item(row, column)->text()));
    else
        session_.setShare(size_t(current_), size_t(row), *cents);
    // Shown again as kept: the others took the difference, or the typed text is undone.
    const int keep = row;
    showPayment(current_);
    grilleParts->setCurrentCell(keep, PWritten);
}

void TFrmImportReleve::refreshState()
{
    const QString problem = session_.problem();
    btnConfirmer->setEnabled(problem.isEmpty());
    QString text = QStringLiteral("À écrire : %1 soin(s), %2 au total.")
                       .arg(session_.writtenEntries())
                       .arg(ImportSession::money(session_.writtenTotal()));
    if (!problem.isEmpty())
        text += QStringLiteral("\nConfirmer n'est pas possible : ") + problem;
    etqTotaux->setText(text);
}

void TFrmImportReleve::confirm()
{
    if (!session_.problem().isEmpty())
        return;
    try {
        // Thousands of entries take seconds to write: the bar keeps the window alive. The
        // writes stop only as a whole, so the bar offers no Annuler.
        LongWork bar(this, QStringLiteral(" Patientez"),
                     QStringLiteral("Enregistrement des remboursements…"),
                     LongWork::Cancel::NotOffered);
        apply_(session_.confirmed(), [&bar](int done, int total) { bar.report(done, total); });
    } catch (const PlatformError &e) {
        Dialogs::error(this, e.message());
        return;
    }
    accept();
}
