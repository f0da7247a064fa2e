#include "TFrmInfos.h"

#include "DetailsBox.h"
#include "InsuredPersonRules.h"
#include "InsuredPersonsBox.h"
#include "SpeedBar.h"
#include "tables/InsuredTable.h"

#include "platform/core/PlatformError.h"
#include "platform/store/BatchMove.h"
#include "platform/store/Table.h"
#include "platform/widgets/DBCheckBox.h"
#include "platform/widgets/DBEdit.h"
#include "platform/widgets/DBGrid.h"
#include "platform/widgets/DataWindowKeys.h"
#include "platform/widgets/DialogPlacement.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/HandlerGuard.h"
#include "platform/widgets/Help.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

using File = InsurerDetails::File;

namespace
{

constexpr int helpContext = 1;

} // namespace

TFrmInfos::TFrmInfos(const QString &programDir, QWidget *parent)
    : QDialog(parent, Dialogs::dialogBorder()), programDir_(programDir),
      TableAssure(new Table(InsuredTable::definition(), this)),
      TableCopieAssure(new Table(InsuredTable::definition(), this)),
      CopieAssure(std::make_unique<BatchMove>(*TableAssure, *TableCopieAssure))
{
    setObjectName(QStringLiteral("TFrmInfos"));
    setWindowTitle(QStringLiteral(" Talo 3.0 - Informations"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(445, 451);
    TableAssure->setObjectName(QStringLiteral("TableAssure"));
    TableCopieAssure->setObjectName(QStringLiteral("TableCopieAssure"));
    TableAssure->beforePost = &InsuredPersonRules::beforePost;

    buildToolBar();
    buildDetailBoxes();
    cadreAssures = new InsuredPersonsBox(*TableAssure, this);
    connect(cadreAssures, &CaptionBox::clicked, this, &TFrmInfos::cadreSSClick);
    connect(cadreAssures->navAssure, &DBNavigator::clicked, this, &TFrmInfos::navAssureClick);

    auto *boxes = new QVBoxLayout;
    boxes->setContentsMargins(6, 4, 6, 6);
    boxes->setSpacing(4);
    boxes->addWidget(cadreSS);
    boxes->addWidget(cadreMutuelle);
    boxes->addWidget(cadreAssures, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addLayout(boxes, 1);

    keys_ = new DataWindowKeys(this, keyRules());
    FormCreate();
}

TFrmInfos::~TFrmInfos() = default;

void TFrmInfos::buildToolBar()
{
    Panel1 = new SpeedBar(QStringLiteral("Panel1"), this);
    btnAide = Panel1->addButton(QStringLiteral("btnAide"), Glyphs::Id::Help,
                                QStringLiteral("Aide sur Informations"));
    BtnQuitter = Panel1->addButton(QStringLiteral("BtnQuitter"), Glyphs::Id::Quit,
                                   QStringLiteral("Quitter Informations"));
    connect(btnAide, &QToolButton::clicked, this, &TFrmInfos::btnAideClick);
    connect(BtnQuitter, &QToolButton::clicked, this, &TFrmInfos::BtnQuitterClick);
}

// Rows in the line order of talosoc.inf and mutuelle.inf, which is also the tab order.
void TFrmInfos::buildDetailBoxes()
{
    cadreSS = new DetailsBox(QStringLiteral("cadreSS"), QStringLiteral("Sécurité Sociale"), this);
    chpOrganisme = cadreSS->addRow(QStringLiteral("chpOrganisme"),
                                   QStringLiteral("Organisme d'affiliation :"));
    chpNumSS =
        cadreSS->addRow(QStringLiteral("chpNumSS"), QStringLiteral("Num. du centre de S.S. :"));
    chpCaisse =
        cadreSS->addRow(QStringLiteral("chpCaisse"), QStringLiteral("Caisse de prestation :"));
    chpAdresse = cadreSS->addRow(QStringLiteral("chpAdresse"), QStringLiteral("Adresse :"));

    cadreMutuelle =
        new DetailsBox(QStringLiteral("cadreMutuelle"), QStringLiteral("Mutuelle"), this);
    chpNomMutuelle =
        cadreMutuelle->addRow(QStringLiteral("chpNomMutuelle"), QStringLiteral("Nom :"));
    chpAdresseMutuelle =
        cadreMutuelle->addRow(QStringLiteral("chpAdresseMutuelle"), QStringLiteral("Adresse :"));
    chpTelMutuelle =
        cadreMutuelle->addRow(QStringLiteral("chpTelMutuelle"), QStringLiteral("Téléphone :"));
    chpNumMutuelle = cadreMutuelle->addRow(QStringLiteral("chpNumMutuelle"),
                                           QStringLiteral("Numéro d'assuré :"));
    chpModeMutuelle = cadreMutuelle->addRow(QStringLiteral("chpModeMutuelle"),
                                            QStringLiteral("Mode de réglement :"));

    connect(cadreSS, &CaptionBox::clicked, this, &TFrmInfos::cadreSSClick);
    connect(cadreMutuelle, &CaptionBox::clicked, this, &TFrmInfos::cadreSSClick);
}

void TFrmInfos::FormCreate()
{
    TableAssure->setDatabaseName(programDir_);
    TableAssure->setIndexFieldNames(InsuredTable::indexFieldNames());
    try {
        TableAssure->open();
    } catch (const PlatformError &e) {
        Dialogs::error(this, e.message());
    }
    cadreAssures->setTableOpen(TableAssure->isActive());

    for (const QString &message : details_.load(programDir_))
        Dialogs::error(this, message);
    showDetails();
}

void TFrmInfos::showDetails()
{
    const QStringList social = details_.values(File::Social);
    const QStringList mutual = details_.values(File::Mutual);
    const QList<QLineEdit *> socialEdits = cadreSS->edits();
    const QList<QLineEdit *> mutualEdits = cadreMutuelle->edits();
    for (int i = 0; i < socialEdits.size(); ++i)
        socialEdits[i]->setText(social.value(i));
    for (int i = 0; i < mutualEdits.size(); ++i)
        mutualEdits[i]->setText(mutual.value(i));
}

void TFrmInfos::writeDetails()
{
    QStringList social;
    for (const QLineEdit *edit : cadreSS->edits())
        social.append(edit->text());
    details_.setValues(File::Social, social);
    details_.setValues(File::Mutual, mutualDetails());
    details_.save(programDir_);
}

QStringList TFrmInfos::mutualDetails() const
{
    QStringList mutual;
    for (const QLineEdit *edit : cadreMutuelle->edits())
        mutual.append(edit->text());
    return mutual;
}

void TFrmInfos::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    DialogPlacement::centreOnScreen(this);
    FormShow();
}

// The edits keep what they held when the window was last closed.
void TFrmInfos::FormShow()
{
    chpOrganisme->setFocus(Qt::OtherFocusReason);
}

bool TFrmInfos::isInsurerEdit(const QWidget *widget) const
{
    for (const DetailsBox *box : {cadreSS, cadreMutuelle}) {
        for (const QLineEdit *edit : box->edits()) {
            if (edit == widget)
                return true;
        }
    }
    return false;
}

DataWindowKeys::Rules TFrmInfos::keyRules()
{
    DataWindowKeys::Rules rules;
    rules.table = TableAssure;
    rules.grid = cadreAssures->DBGrilleAssure;
    rules.postsOnEnter = [this](const QWidget *w) { return w == cadreAssures->DBchpAyantDr; };
    rules.afterPost = [this] { cadreAssures->DBchpNom->setFocus(Qt::OtherFocusReason); };
    rules.enterElsewhere = [this](QWidget *focused) {
        if (!focused || focused->objectName() != QLatin1String("chpModeMutuelle"))
            return false;
        chpOrganisme->setFocus(Qt::OtherFocusReason);
        return true;
    };
    rules.movesOnEnter = [this](const QWidget *w) {
        return cadreAssures->isDataEdit(w) || isInsurerEdit(w);
    };
    rules.focusNext = [this] { focusNextChild(); };
    rules.caretForInsert = [this] { cadreAssures->DBchpNom->setFocus(Qt::OtherFocusReason); };
    // The grid has its own section; anywhere else F1 opens the window's.
    rules.help = [this](QWidget *focused) {
        Help::showContext(this, focused == cadreAssures->DBGrilleAssure
                                    ? cadreAssures->DBGrilleAssure->helpContext()
                                    : helpContext);
        return true;
    };
    return rules;
}

void TFrmInfos::cadreSSClick(CaptionBox *box)
{
    QWidget *first = nullptr;
    if (box == cadreSS)
        first = chpOrganisme;
    else if (box == cadreMutuelle)
        first = chpNomMutuelle;
    else if (box == cadreAssures && TableAssure->isActive())
        first = cadreAssures->DBchpNom;
    if (first)
        first->setFocus(Qt::MouseFocusReason);
}

// The row the navigator inserted is still untouched, so the append drops it: one new empty row
// at the end, with the caret in the name field.
void TFrmInfos::navAssureClick(DBNavigator::Button button)
{
    if (button != DBNavigator::Button::Insert)
        return;
    cadreAssures->DBchpNom->setFocus(Qt::OtherFocusReason);
    HandlerGuard::run(this, [this] { TableAssure->append(); });
}

void TFrmInfos::btnAideClick()
{
    Help::showContext(this, helpContext);
}

// A person being typed stays pending, as in the address book: a move in this window, the exit
// or a backup saves it, so closing the window never loses what was typed.
void TFrmInfos::BtnQuitterClick()
{
    QDialog::reject();
}

void TFrmInfos::reject()
{
    BtnQuitterClick();
}
