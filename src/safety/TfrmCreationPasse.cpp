#include "TfrmCreationPasse.h"

#include "platform/widgets/DialogPlacement.h"
#include "recovery/PasswordStore.h"

#include "platform/core/PlatformError.h"
#include "platform/widgets/CursorOverride.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"

#include <QCheckBox>

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
constexpr int helpContext = 19;
}

TfrmCreationPasse::TfrmCreationPasse(QWidget *parent) : QDialog(parent, Dialogs::dialogBorder())
{
    setObjectName(QStringLiteral("TfrmCreationPasse"));
    setWindowTitle(QStringLiteral(" Création mot de passe"));

    Label1 = new QLabel(QStringLiteral("Saisir nouveau mot de passe :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));

    chpMotDePasse = new QLineEdit(this);
    chpMotDePasse->setObjectName(QStringLiteral("chpMotDePasse"));
    chpMotDePasse->setMinimumWidth(240);
    Label1->setBuddy(chpMotDePasse);

    etqConseil = new QLabel(this);
    etqConseil->setObjectName(QStringLiteral("etqConseil"));
    etqConseil->setWordWrap(true);

    ccSupprimer = new QCheckBox(QStringLiteral("Supprimer le mot de passe"), this);
    ccSupprimer->setObjectName(QStringLiteral("ccSupprimer"));
    connect(ccSupprimer, &QCheckBox::toggled, this, &TfrmCreationPasse::ccSupprimerToggled);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &TfrmCreationPasse::btnOKClick);

    btnAnnuler = new QPushButton(QStringLiteral("Annuler"), this);
    btnAnnuler->setObjectName(QStringLiteral("btnAnnuler"));
    connect(btnAnnuler, &QPushButton::clicked, this, &QDialog::reject);

    btnAide = new QPushButton(QStringLiteral("&Aide"), this);
    btnAide->setObjectName(QStringLiteral("btnAide"));
    btnAide->setAutoDefault(false);
    connect(btnAide, &QPushButton::clicked, this, &TfrmCreationPasse::btnAideClick);
    Help::addHelpKey(*this, helpContext);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnAnnuler);
    buttons->addWidget(btnAide);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);
    layout->addWidget(Label1);
    layout->addWidget(chpMotDePasse);
    layout->addWidget(etqConseil);
    layout->addWidget(ccSupprimer);
    layout->addSpacing(4);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    chpMotDePasse->setFocus();
}

bool TfrmCreationPasse::run(const QString &programDir)
{
    try {
        passwordSet_ = PasswordStore::read(programDir).isSet();
    } catch (const PlatformError &e) {
        Dialogs::error(this, e.message());
        return false;
    }
    programDir_ = programDir;
    stored_ = false;
    chpMotDePasse->clear();
    ccSupprimer->setChecked(false);
    ccSupprimer->setVisible(passwordSet_);
    etqConseil->setText(passwordSet_ ? QStringLiteral("Un mot de passe est en vigueur. Laissez ce "
                                                      "champ vide pour le garder, ou saisissez "
                                                      "le nouveau.")
                                     : QStringLiteral("Aucun mot de passe pour l'instant. "
                                                      "Laissez ce champ vide pour continuer "
                                                      "sans mot de passe."));
    exec();
    // The password does not linger in the hidden dialog until the next opening.
    chpMotDePasse->clear();
    return stored_;
}

void TfrmCreationPasse::btnOKClick()
{
    const bool remove = ccSupprimer->isChecked();
    const QString typed = remove ? QString() : chpMotDePasse->text();
    // An empty field keeps what is in force: nothing to write.
    if (!remove && typed.isEmpty()) {
        accept();
        return;
    }
    try {
        // The hash is deliberately slow.
        const CursorOverride hourglass(Qt::WaitCursor);
        PasswordStore::write(programDir_, typed);
    } catch (const PlatformError &e) {
        Dialogs::error(this, e.message());
        chpMotDePasse->setFocus();
        return;
    }
    stored_ = true;
    accept();
}

void TfrmCreationPasse::ccSupprimerToggled(bool checked)
{
    if (checked)
        chpMotDePasse->clear();
    chpMotDePasse->setEnabled(!checked);
}

void TfrmCreationPasse::btnAideClick()
{
    Help::showContext(this, helpContext);
}

void TfrmCreationPasse::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    DialogPlacement::centreOnScreen(this);
    chpMotDePasse->setFocus();
}
