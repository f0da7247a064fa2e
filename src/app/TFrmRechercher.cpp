#include "TFrmRechercher.h"

#include "SearchResultModel.h"

#include "platform/core/Formats.h"
#include "platform/widgets/DialogPlacement.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

TFrmRechercher::TFrmRechercher(const Table &table, const QString &typed, QWidget *parent)
    : QDialog(parent, Dialogs::dialogBorder() | Qt::WindowMaximizeButtonHint), search_(table)
{
    setObjectName(QStringLiteral("TFrmRechercher"));
    setWindowTitle(QStringLiteral(" Rechercher"));
    resize(560, 420);

    chpRecherche = new QLineEdit(this);
    chpRecherche->setObjectName(QStringLiteral("chpRecherche"));
    chpRecherche->setClearButtonEnabled(true);
    chpRecherche->installEventFilter(this);
    auto *caption = new QLabel(QStringLiteral("&Rechercher :"), this);
    caption->setBuddy(chpRecherche);
    auto *top = new QHBoxLayout;
    top->addWidget(caption);
    top->addWidget(chpRecherche, 1);
    auto *hint = new QLabel(QStringLiteral("Un nom, un médecin, une spécialité, un mot d'une note, "
                                           "un montant (12,5), une date (12/03/24), un mois "
                                           "(03/2024) ou une année (2024) ; plusieurs mots : "
                                           "les soins qui ont tout."),
                            this);
    hint->setObjectName(QStringLiteral("etqSyntaxe"));
    hint->setWordWrap(true);

    model_ = new SearchResultModel(this);
    grilleResultats = new QTableView(this);
    grilleResultats->setObjectName(QStringLiteral("grilleResultats"));
    grilleResultats->setModel(model_);
    grilleResultats->setSelectionBehavior(QAbstractItemView::SelectRows);
    grilleResultats->setSelectionMode(QAbstractItemView::SingleSelection);
    grilleResultats->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grilleResultats->setTabKeyNavigation(false);
    grilleResultats->setAlternatingRowColors(true);
    grilleResultats->setWordWrap(false);
    grilleResultats->verticalHeader()->hide();
    grilleResultats->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    grilleResultats->horizontalHeader()->setStretchLastSection(true);
    grilleResultats->installEventFilter(this);
    const int widths[] = {72, 150, 170, 90};
    for (int c = 0; c < SearchResultModel::Count; ++c)
        grilleResultats->setColumnWidth(c, widths[c]);
    connect(grilleResultats, &QTableView::doubleClicked, this,
            [this](const QModelIndex &index) { chooseLine(index.row()); });

    etqResultats = new QLabel(this);
    etqResultats->setObjectName(QStringLiteral("etqResultats"));
    auto *show = new QPushButton(QStringLiteral("&Afficher"), this);
    show->setObjectName(QStringLiteral("btnAfficher"));
    auto *close = new QPushButton(QStringLiteral("&Fermer"), this);
    close->setObjectName(QStringLiteral("btnFermer"));
    auto *help = new QPushButton(QStringLiteral("Ai&de"), this);
    help->setObjectName(QStringLiteral("btnAide"));
    for (QPushButton *button : {show, close, help})
        button->setAutoDefault(false);
    connect(show, &QPushButton::clicked, this,
            [this] { chooseLine(grilleResultats->currentIndex().row()); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    const auto openHelp = [this] { Help::showContext(this, helpContext); };
    connect(help, &QPushButton::clicked, this, openHelp);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, openHelp);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(etqResultats, 1);
    bottom->addWidget(show);
    bottom->addWidget(close);
    bottom->addWidget(help);

    auto *column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(hint);
    column->addWidget(grilleResultats, 1);
    column->addLayout(bottom);

    connect(chpRecherche, &QLineEdit::textChanged, this, &TFrmRechercher::chpRechercheChange);
    chpRecherche->setText(typed);
    chpRechercheChange();
}

TFrmRechercher::~TFrmRechercher() = default;

QString TFrmRechercher::typed() const
{
    return chpRecherche->text();
}

void TFrmRechercher::chpRechercheChange()
{
    const CareSearchQuery query = CareSearchQuery::parse(chpRecherche->text());
    model_->setHits(search_.find(query));
    const int count = model_->rowCount();
    if (query.isEmpty())
        etqResultats->clear();
    else if (count == 0)
        etqResultats->setText(QStringLiteral("Aucun soin trouvé"));
    else if (count == 1)
        etqResultats->setText(QStringLiteral("1 soin trouvé"));
    else
        etqResultats->setText(
            QStringLiteral("%1 soins trouvés").arg(Formats::locale().toString(count)));
    if (count > 0)
        grilleResultats->setCurrentIndex(model_->index(0, 0));
}

void TFrmRechercher::chooseLine(int row)
{
    const CareSearchHit *hit = model_->hit(row);
    if (!hit) {
        QApplication::beep();
        return;
    }
    choice_ = *hit;
    accept();
}

bool TFrmRechercher::fieldKey(int key)
{
    switch (key) {
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        if (model_->rowCount() == 0)
            return false;
        grilleResultats->setFocus();
        if (!grilleResultats->currentIndex().isValid())
            grilleResultats->setCurrentIndex(model_->index(0, 0));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        chooseLine(grilleResultats->currentIndex().row());
        return true;
    default:
        return false;
    }
}

bool TFrmRechercher::gridKey(const QKeyEvent &event)
{
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        chooseLine(grilleResultats->currentIndex().row());
        return true;
    case Qt::Key_Up:
        if (grilleResultats->currentIndex().row() > 0)
            return false;
        chpRecherche->setFocus();
        return true;
    default:
        break;
    }
    // Letters typed over the list go on with the search.
    const QString text = event.text();
    if (!text.isEmpty() && text.at(0).isPrint() && !(event.modifiers() & Qt::ControlModifier)) {
        chpRecherche->setFocus();
        chpRecherche->insert(text);
        return true;
    }
    return false;
}

bool TFrmRechercher::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto &key = static_cast<const QKeyEvent &>(*event);
        if (watched == chpRecherche && fieldKey(key.key()))
            return true;
        if (watched == grilleResultats && gridKey(key))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmRechercher::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    DialogPlacement::centreOnScreen(this);
    chpRecherche->setFocus();
    chpRecherche->selectAll();
}
