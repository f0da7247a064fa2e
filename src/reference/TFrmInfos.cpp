#include "TFrmInfos.h"

#include "DetailsBox.h"
#include "InsuredPersonRules.h"
#include "InsuredPersonsBox.h"
#include "InsuredTable.h"
#include "SpeedBar.h"

#include "platform/BatchMove.h"
#include "platform/DBCheckBox.h"
#include "platform/DBEdit.h"
#include "platform/DBGrid.h"
#include "platform/DialogPlacement.h"
#include "platform/Dialogs.h"
#include "platform/HandlerGuard.h"
#include "platform/Help.h"
#include "platform/KeyPreview.h"
#include "platform/PlatformError.h"
#include "platform/Table.h"

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

bool isEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

TFrmInfos::TFrmInfos(const QString &programDir, QWidget *parent)
    : QDialog(parent, Dialogs::dialogBorder()), programDir_(programDir),
      TableAssure(std::make_unique<Table>(InsuredTable::definition())),
      TableCopieAssure(std::make_unique<Table>(InsuredTable::definition())),
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

    keyPreview_ = new KeyPreview(
        this, [this](QWidget *focused, QKeyEvent *event) { return FormKeyDown(focused, event); });
    FormCreate();
}

TFrmInfos::~TFrmInfos()
{
    // The bound controls let go of the table before it goes.
    delete keyPreview_;
    qDeleteAll(findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly));
}

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
    QStringList mutual;
    for (const QLineEdit *edit : cadreMutuelle->edits())
        mutual.append(edit->text());
    details_.setValues(File::Social, social);
    details_.setValues(File::Mutual, mutual);
    details_.save(programDir_);
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

bool TFrmInfos::FormKeyDown(QWidget *focused, QKeyEvent *event)
{
    Table &table = *TableAssure;
    const bool open = table.isActive();
    if (isEnter(event)) {
        if (cadreAssures->isDataEdit(focused)) {
            focusNextChild();
        } else if (focused == cadreAssures->DBchpAyantDr) {
            if (open) {
                table.edit();
                table.post();
                cadreAssures->DBchpNom->setFocus(Qt::OtherFocusReason);
            }
        } else if (focused && focused->objectName() == QLatin1String("chpModeMutuelle")) {
            chpOrganisme->setFocus(Qt::OtherFocusReason);
        } else if (isInsurerEdit(focused)) {
            focusNextChild();
        }
        // The Enter character itself reaches no control.
        return true;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        if (open)
            table.cancel();
        // Escape cancels the row; it never closes the window.
        return true;
    case Qt::Key_Insert:
        if (open) {
            cadreAssures->DBchpNom->setFocus(Qt::OtherFocusReason);
            table.append();
        }
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        // The grid moves the row itself; moving here too would skip one.
        if (open && focused != cadreAssures->DBGrilleAssure) {
            if (event->key() == Qt::Key_Up)
                table.prior();
            else
                table.next();
        }
        return false;
    case Qt::Key_F1:
        if (focused == cadreAssures->DBGrilleAssure) {
            Help::showContext(this, cadreAssures->DBGrilleAssure->helpContext());
            return true;
        }
        return false;
    default:
        return false;
    }
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
