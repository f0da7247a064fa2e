#include "TFrmMedecins.h"

#include "tables/DoctorTable.h"
#include "SpeedBar.h"

#include "platform/core/PlatformError.h"
#include "platform/store/BatchMove.h"
#include "platform/store/Table.h"
#include "platform/widgets/DBEdit.h"
#include "platform/widgets/DBGrid.h"
#include "platform/widgets/DBNavigator.h"
#include "platform/widgets/DataWindowKeys.h"
#include "platform/widgets/DialogPlacement.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/HandlerGuard.h"
#include "platform/widgets/Help.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace
{

constexpr int helpContext = 1;
constexpr int gridHelpContext = 24;

} // namespace

TFrmMedecins::TFrmMedecins(const QString &programDir, QWidget *parent)
    : QDialog(parent, Dialogs::dialogBorder()),
      TableMedecins(new Table(DoctorTable::definition(), this)),
      TableCopieMedecins(new Table(DoctorTable::definition(), this)),
      CopieMedecins(std::make_unique<BatchMove>(*TableMedecins, *TableCopieMedecins))
{
    setObjectName(QStringLiteral("TFrmMedecins"));
    setWindowTitle(QStringLiteral(" Talo 3.0 - Carnet d'adresses médicales"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    // Opens at its designed size; a taller window gives its height to the grid, so that a book
    // of a few hundred doctors can be browsed.
    setMinimumSize(426, 318);
    resize(426, 318);
    TableMedecins->setObjectName(QStringLiteral("TableMedecins"));
    TableCopieMedecins->setObjectName(QStringLiteral("TableCopieMedecins"));

    buildToolBar();
    DBGrilleMedecins = new DBGrid(this);
    DBGrilleMedecins->setObjectName(QStringLiteral("DBGrilleMedecins"));
    DBGrilleMedecins->setRowIndicator(true);
    DBGrilleMedecins->setHelpContext(gridHelpContext);
    DBGrilleMedecins->setFocusPolicy(Qt::ClickFocus);
    DBGrilleMedecins->setFillWidth(true);
    DBGrilleMedecins->bind(*TableMedecins);
    DBGrilleMedecins->setKeySearchField(QStringLiteral("Nom"));

    navMedecins = new DBNavigator(this);
    navMedecins->setObjectName(QStringLiteral("navMedecins"));
    navMedecins->bind(*TableMedecins);
    QGridLayout *fields = buildFields();

    auto *navRow = new QHBoxLayout;
    navRow->addWidget(navMedecins);
    navRow->addStretch();
    auto *body = new QVBoxLayout;
    body->setContentsMargins(6, 4, 6, 6);
    body->setSpacing(4);
    body->addWidget(DBGrilleMedecins, 1);
    body->addLayout(navRow);
    body->addLayout(fields);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(BarreIcones);
    layout->addLayout(body, 1);

    keys_ = new DataWindowKeys(this, keyRules());
    FormCreate(programDir);
}

TFrmMedecins::~TFrmMedecins() = default;

void TFrmMedecins::buildToolBar()
{
    BarreIcones = new SpeedBar(QStringLiteral("BarreIcones"), this);
    btnImprimer = BarreIcones->addButton(QStringLiteral("btnImprimer"), Glyphs::Id::Print,
                                         QStringLiteral("Imprimer document"));
    btnApercu = BarreIcones->addButton(QStringLiteral("btnApercu"), Glyphs::Id::Preview,
                                       QStringLiteral("Aperçu document"));
    BarreIcones->addGap();
    btnAide = BarreIcones->addButton(QStringLiteral("btnAide"), Glyphs::Id::Help,
                                     QStringLiteral("Aide sur carnet d'adresses"));
    BtnQuitter = BarreIcones->addButton(QStringLiteral("BtnQuitter"), Glyphs::Id::Quit,
                                        QStringLiteral("Quitter carnet d'adresses"));
    connect(btnImprimer, &QToolButton::clicked, this, &TFrmMedecins::btnImprimerClick);
    connect(btnApercu, &QToolButton::clicked, this, &TFrmMedecins::btnApercuClick);
    connect(btnAide, &QToolButton::clicked, this, &TFrmMedecins::btnAideClick);
    connect(BtnQuitter, &QToolButton::clicked, this, &TFrmMedecins::BtnQuitterClick);
}

DBEdit *TFrmMedecins::addEdit(const QString &name, const QString &fieldName)
{
    auto *edit = new DBEdit(this);
    edit->setObjectName(name);
    edit->bind(*TableMedecins, fieldName);
    edits_.append(edit);
    return edit;
}

QLabel *TFrmMedecins::addLabel(const QString &text, DBEdit *buddy)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("etq") + buddy->objectName().mid(5));
    label->setBuddy(buddy);
    return label;
}

// Four rows: Nom and Prénom; Spécialité; Adresse and Ville; Code postal and N° tél. Created in
// tab order.
QGridLayout *TFrmMedecins::buildFields()
{
    using namespace DoctorFields;
    DBchpNom = addEdit(QStringLiteral("DBchpNom"), Nom);
    DBchpNom->setCharCase(DBEdit::CharCase::Upper);
    DBchpPrenom = addEdit(QStringLiteral("DBchpPrenom"), Prenom);
    DBchpPrenom->setWordCapitals(true);
    DBchpSpecialite = addEdit(QStringLiteral("DBchpSpecialite"), Specialite);
    DBchpSpecialite->setWordCapitals(true);
    DBchpAdresse = addEdit(QStringLiteral("DBchpAdresse"), Adresse);
    DBchpVille = addEdit(QStringLiteral("DBchpVille"), Ville);
    DBchpVille->setWordCapitals(true);
    DBchpCodePostal = addEdit(QStringLiteral("DBchpCodePostal"), CodePostal);
    DBchpTel = addEdit(QStringLiteral("DBchpTel"), Tel);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->addWidget(addLabel(QStringLiteral("Nom :"), DBchpNom), 0, 0);
    grid->addWidget(DBchpNom, 0, 1);
    grid->addWidget(addLabel(QStringLiteral("Prénom :"), DBchpPrenom), 0, 2);
    grid->addWidget(DBchpPrenom, 0, 3);
    grid->addWidget(addLabel(QStringLiteral("Spécialité :"), DBchpSpecialite), 1, 0);
    grid->addWidget(DBchpSpecialite, 1, 1);
    grid->addWidget(addLabel(QStringLiteral("Adresse :"), DBchpAdresse), 2, 0);
    grid->addWidget(DBchpAdresse, 2, 1);
    grid->addWidget(addLabel(QStringLiteral("Ville :"), DBchpVille), 2, 2);
    grid->addWidget(DBchpVille, 2, 3);
    grid->addWidget(addLabel(QStringLiteral("Code postal :"), DBchpCodePostal), 3, 0);
    grid->addWidget(DBchpCodePostal, 3, 1, Qt::AlignLeft);
    grid->addWidget(addLabel(QStringLiteral("N° tél. :"), DBchpTel), 3, 2);
    grid->addWidget(DBchpTel, 3, 3);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 2);
    DBchpCodePostal->setFixedWidth(
        DBchpCodePostal->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);

    for (qsizetype i = 1; i < edits_.size(); ++i)
        setTabOrder(edits_[i - 1], edits_[i]);
    return grid;
}

void TFrmMedecins::FormCreate(const QString &programDir)
{
    TableMedecins->setDatabaseName(programDir);
    TableMedecins->setIndexFieldNames(DoctorTable::indexFieldNames());
    try {
        TableMedecins->open();
    } catch (const PlatformError &e) {
        Dialogs::error(this, e.message());
    }
    // Without its table the book has nothing to show or take.
    const bool open = TableMedecins->isActive();
    DBGrilleMedecins->setEnabled(open);
    navMedecins->setEnabled(open);
    for (DBEdit *edit : std::as_const(edits_))
        edit->setEnabled(open);
}

void TFrmMedecins::setPrintHandler(std::function<void(ReportCommand::Output)> handler)
{
    printHandler_ = std::move(handler);
}

void TFrmMedecins::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    DialogPlacement::centreOnScreen(this);
    FormShow();
}

// A pending edit left by the last closing is saved by this move if it was modified.
void TFrmMedecins::FormShow()
{
    if (TableMedecins->isActive())
        HandlerGuard::run(this, [this] { TableMedecins->last(); });
    DBchpNom->setFocus(Qt::OtherFocusReason);
}

bool TFrmMedecins::isDataEdit(const QWidget *widget) const
{
    return std::any_of(edits_.begin(), edits_.end(),
                       [widget](const DBEdit *edit) { return edit == widget; });
}

DataWindowKeys::Rules TFrmMedecins::keyRules()
{
    DataWindowKeys::Rules rules;
    rules.table = TableMedecins;
    rules.grid = DBGrilleMedecins;
    rules.postsOnEnter = [this](const QWidget *w) { return w == DBchpTel; };
    rules.afterPost = [this] { focusNextChild(); };
    rules.movesOnEnter = [this](const QWidget *w) { return isDataEdit(w); };
    rules.focusNext = [this] { focusNextChild(); };
    rules.caretForInsert = [this] { DBchpNom->setFocus(Qt::OtherFocusReason); };
    // The grid has its own section; anywhere else F1 opens the window's.
    rules.help = [this](QWidget *focused) {
        Help::showContext(this, focused == DBGrilleMedecins ? DBGrilleMedecins->helpContext()
                                                            : helpContext);
        return true;
    };
    return rules;
}

void TFrmMedecins::btnImprimerClick()
{
    if (printHandler_)
        HandlerGuard::run(this, [this] { printHandler_(ReportCommand::Output::Printer); });
}

void TFrmMedecins::btnApercuClick()
{
    if (printHandler_)
        HandlerGuard::run(this, [this] { printHandler_(ReportCommand::Output::Preview); });
}

void TFrmMedecins::btnAideClick()
{
    Help::showContext(this, helpContext);
}

// The pending edit is left as it is: the next move saves it if it was modified.
void TFrmMedecins::BtnQuitterClick()
{
    close();
}
