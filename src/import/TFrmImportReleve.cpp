#include "TFrmImportReleve.h"

#include "ImportCells.h"
#include "ImportSummary.h"
#include "TFrmChoixSoins.h"
#include "platform/core/Formats.h"
#include "platform/core/PlatformError.h"
#include "platform/widgets/DefaultPrinter.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"
#include "platform/widgets/ReportPreviewDialog.h"

#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSet>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{

enum PartColumn { PDate, PBeneficiary, PDoctor, PCost, PPredicted, PWritten, PColumns };

QString stateOf(const ImportSession &s, size_t i)
{
    const PaymentProposal &p = s.payment(i);
    if (p.alreadyApplied)
        return QStringLiteral("déjà enregistré le %1")
            .arg(Formats::fullDate(p.appliedAt.toLocalTime().date()));
    if (s.chosen(i) == ImportSession::ByHand)
        return QStringLiteral("choisi à la main");
    if (!p.matched())
        return QStringLiteral("aucun soin ne correspond");
    if (s.chosen(i) == ImportSession::None)
        return QStringLiteral("non enregistré");
    return ProposedCombination::confidenceText(p.combinations[size_t(s.chosen(i))].confidence);
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
    grillePaiements = new QTableWidget(this);
    grillePaiements->setObjectName(QStringLiteral("grillePaiements"));
    etqPaiements->setBuddy(grillePaiements);
    layout->addWidget(etqPaiements);
    layout->addWidget(grillePaiements, 2);

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

    etqAutres = new QLabel(this);
    etqAutres->setWordWrap(true);
    layout->addWidget(etqAutres);
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
    setTabOrder(grilleParts, btnConfirmer);
    setTabOrder(btnConfirmer, btnResume);
    setTabOrder(btnResume, btnAnnuler);
    setTabOrder(btnAnnuler, btnAide);

    QStringList others;
    for (const StatementLine &l : r.otherCredits)
        others.append(QStringLiteral("%1 %2 (%3)")
                          .arg(Formats::fullDate(l.date), l.label, ImportSession::money(l.cents)));
    etqAutres->setText(others.isEmpty() ? QString()
                                        : QStringLiteral("Autres crédits, laissés de côté : %1.")
                                              .arg(others.join(QStringLiteral(" ; "))));
    etqAutres->setVisible(!others.isEmpty());

    fillPayments();
    connect(grillePaiements, &QTableWidget::currentCellChanged, this,
            [this](int row) { showPayment(row); });
    if (grillePaiements->rowCount() > 0)
        grillePaiements->setCurrentCell(0, 0);
    showPayment(grillePaiements->currentRow());
    grillePaiements->setFocus();
    resize(860, 600);
}

void TFrmImportReleve::fillPayments()
{
    grillePaiements->setColumnCount(5);
    grillePaiements->setHorizontalHeaderLabels({QStringLiteral("Date"), QStringLiteral("Libellé"),
                                                QStringLiteral("Payeur"), QStringLiteral("Montant"),
                                                QStringLiteral("État")});
    grillePaiements->setRowCount(int(session_.paymentCount()));
    grillePaiements->setSelectionBehavior(QAbstractItemView::SelectRows);
    grillePaiements->setSelectionMode(QAbstractItemView::SingleSelection);
    grillePaiements->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grillePaiements->verticalHeader()->hide();
    grillePaiements->setTabKeyNavigation(false);
    grillePaiements->horizontalHeader()->setStretchLastSection(true);
    for (size_t i = 0; i < session_.paymentCount(); ++i) {
        const PaymentProposal &p = session_.payment(i);
        const int row = int(i);
        grillePaiements->setItem(row, 0, ImportCells::readOnly(Formats::fullDate(p.line.date)));
        grillePaiements->setItem(row, 1, ImportCells::readOnly(p.line.label));
        grillePaiements->setItem(row, 2, ImportCells::readOnly(AwaitedPayers::text(p.payer)));
        grillePaiements->setItem(
            row, 3, ImportCells::readOnly(ImportSession::money(p.line.cents), Qt::AlignRight));
        grillePaiements->setItem(row, 4, ImportCells::readOnly(stateOf(session_, i)));
    }
    grillePaiements->resizeColumnsToContents();
}

void TFrmImportReleve::showPayment(int row)
{
    current_ = row;
    filling_ = true;
    lstProposition->clear();
    grilleParts->setRowCount(0);
    if (row >= 0 && size_t(row) < session_.paymentCount()) {
        const size_t i = size_t(row);
        const PaymentProposal &p = session_.payment(i);
        for (size_t c = 0; c < p.combinations.size(); ++c) {
            const ProposedCombination &comb = p.combinations[c];
            lstProposition->addItem(QStringLiteral("Proposition %1 : %2 soin(s), prévu %3, %4")
                                        .arg(c + 1)
                                        .arg(comb.shares.size())
                                        .arg(ImportSession::money(comb.predictedTotal()),
                                             ProposedCombination::confidenceText(comb.confidence)),
                                    int(c));
        }
        if (const auto &hand = session_.picked(i))
            lstProposition->addItem(QStringLiteral("Choisis à la main : %1 soin(s), prévu %2")
                                        .arg(hand->shares.size())
                                        .arg(ImportSession::money(hand->predictedTotal())),
                                    ImportSession::ByHand);
        lstProposition->addItem(p.alreadyApplied ? QStringLiteral("Déjà enregistré : rien à écrire")
                                                 : QStringLiteral("Ne pas enregistrer ce paiement"),
                                ImportSession::None);
        lstProposition->setCurrentIndex(lstProposition->findData(session_.chosen(i)));
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
    if (current_ < 0)
        return;
    const size_t i = size_t(current_);
    session_.choose(i, lstProposition->itemData(index).toInt());
    grillePaiements->item(current_, 4)->setText(stateOf(session_, i));
    showPayment(current_);
}

void TFrmImportReleve::pickEntries()
{
    if (current_ < 0 || !session_.canPick(size_t(current_)))
        return;
    const size_t i = size_t(current_);
    const PaymentProposal &p = session_.payment(i);
    std::vector<ProposedShare> pickable = session_.pickable(i);
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
    TFrmChoixSoins pick(p, std::move(pickable), kept, this);
    if (pick.exec() != QDialog::Accepted)
        return;
    session_.pickByHand(i, pick.rows());
    grillePaiements->item(current_, 4)->setText(stateOf(session_, i));
    showPayment(current_);
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
        apply_(session_.confirmed());
    } catch (const PlatformError &e) {
        Dialogs::error(this, e.message());
        return;
    }
    accept();
}
