#include "TFrmGestionListe.h"

#include "BeneficiaryListOwner.h"

#include "platform/core/LineBreaks.h"
#include "platform/widgets/DialogPlacement.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Glyphs.h"
#include "platform/widgets/Help.h"
#include "tables/CareEntryTable.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace
{

constexpr int helpContext = 45;

// The longest name a care entry can hold in "Beneficiaire".
int longestName()
{
    const TableDefinition &def = CareEntryTable::definition();
    return def.field(def.indexOf(CareFields::Beneficiaire)).size;
}

QString tooLongMessage(const QString &name, int longest)
{
    return QStringLiteral("Le nom « %1 » a %2 caractères : un nom de bénéficiaire en compte %3 "
                          "au plus. Raccourcissez-le.")
        .arg(name)
        .arg(name.size())
        .arg(longest);
}

QPushButton *glyphButton(const QString &text, Glyphs::Id glyph, const QString &name,
                         QWidget *parent)
{
    auto *button = new QPushButton(Glyphs::icon(glyph), text, parent);
    button->setObjectName(name);
    button->setIconSize(QSize(16, 16));
    return button;
}

} // namespace

TFrmGestionListe::TFrmGestionListe(BeneficiaryListOwner &owner, QWidget *parent)
    : QDialog(parent, Dialogs::dialogBorder()), owner_(owner)
{
    setObjectName(QStringLiteral("TFrmGestionListe"));
    setWindowTitle(QStringLiteral(" Gestion des bénéficiaires"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(326, 177);

    Label1 = new QLabel(QStringLiteral("Liste des noms :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(12, 8, 150, 16);

    lstGestionBenef = new QListWidget(this);
    lstGestionBenef->setObjectName(QStringLiteral("lstGestionBenef"));
    lstGestionBenef->setSelectionMode(QAbstractItemView::SingleSelection);
    lstGestionBenef->setSortingEnabled(false);
    lstGestionBenef->setGeometry(12, 26, 150, 139);
    Label1->setBuddy(lstGestionBenef);

    btnAjouter = glyphButton(QStringLiteral("A&jouter un nom"), Glyphs::Id::AddName,
                             QStringLiteral("btnAjouter"), this);
    btnSupprimer = glyphButton(QStringLiteral("&Supprimer un nom"), Glyphs::Id::RemoveName,
                               QStringLiteral("btnSupprimer"), this);
    btnQuitter = glyphButton(QStringLiteral("&Quitter"), Glyphs::Id::Quit,
                             QStringLiteral("btnQuitter"), this);
    btnAide =
        glyphButton(QStringLiteral("&Aide"), Glyphs::Id::Help, QStringLiteral("btnAide"), this);
    int top = 26;
    for (QPushButton *button : {btnAjouter, btnSupprimer, btnQuitter, btnAide}) {
        button->setGeometry(174, top, 140, 28);
        top += 37;
    }

    setTabOrder(lstGestionBenef, btnAjouter);
    setTabOrder(btnAjouter, btnSupprimer);
    setTabOrder(btnSupprimer, btnQuitter);
    setTabOrder(btnQuitter, btnAide);

    connect(btnAjouter, &QPushButton::clicked, this, &TFrmGestionListe::btnAjouterClick);
    connect(btnSupprimer, &QPushButton::clicked, this, &TFrmGestionListe::btnSupprimerClick);
    connect(btnQuitter, &QPushButton::clicked, this, &TFrmGestionListe::btnQuitterClick);
    connect(btnAide, &QPushButton::clicked, this, &TFrmGestionListe::btnAideClick);
    Help::addHelpKey(*this, helpContext);
}

void TFrmGestionListe::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    if (visible) {
        for (QPushButton *button : {btnAjouter, btnSupprimer, btnQuitter, btnAide})
            button->setDefault(false);
    }
}

void TFrmGestionListe::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    DialogPlacement::centreOnScreen(this);
    FormShow();
}

// Always starts from the owner's list: changes discarded last time are gone.
void TFrmGestionListe::FormShow()
{
    lstGestionBenef->clear();
    lstGestionBenef->addItems(owner_.beneficiaryItems());
    lstGestionBenef->setFocus();
}

void TFrmGestionListe::keyPressEvent(QKeyEvent *event)
{
    // The window has no cancel button: Escape must not throw away the names just added.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFrmGestionListe::btnAjouterClick()
{
    // A name too long for any care entry is refused, and offered again to be shortened.
    QString typed;
    for (;;) {
        const std::optional<QString> name =
            Dialogs::inputText(this, QStringLiteral(" Ajouter un nom"),
                               QStringLiteral("Nom du nouveau bénéficiaire :"), typed);
        // Blanks are a name like any other; only nothing at all is refused.
        if (!name || name->isEmpty())
            return;
        // A name pasted with a line break would spill over two lines of LSTBENEF.LST.
        const QString upper = QLocale().toUpper(LineBreaks::flattened(*name));
        if (upper.size() <= longestName()) {
            lstGestionBenef->addItem(upper);
            return;
        }
        Dialogs::warning(this, tooLongMessage(upper, longestName()));
        typed = *name;
    }
}

void TFrmGestionListe::btnSupprimerClick()
{
    const QList<QListWidgetItem *> selected = lstGestionBenef->selectedItems();
    if (selected.isEmpty()) {
        Dialogs::information(
            this,
            QStringLiteral("Vous devez sélectionner un nom à supprimer dans la 'Liste des noms'"));
        return;
    }
    // The first entry stands for all beneficiaries whatever it reads.
    const int row = lstGestionBenef->row(selected.first());
    if (row == 0) {
        Dialogs::warning(
            this, QStringLiteral("Vous ne pouvez pas supprimer 'TOUS' dans la 'Liste des noms' !"));
        return;
    }
    delete lstGestionBenef->takeItem(row);
    lstGestionBenef->clearSelection();
    lstGestionBenef->setCurrentRow(-1);
}

void TFrmGestionListe::btnQuitterClick()
{
    QStringList items;
    for (int row = 0; row < lstGestionBenef->count(); ++row)
        items.append(lstGestionBenef->item(row)->text());
    owner_.replaceBeneficiaries(items);
    accept();
}

void TFrmGestionListe::btnAideClick()
{
    Help::showContext(this, helpContext);
}
