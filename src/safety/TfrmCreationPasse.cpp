#include "TfrmCreationPasse.h"

#include "recovery/PasswordStore.h"
#include "platform/widgets/DialogPlacement.h"

#include "platform/core/PlatformError.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"

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

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &TfrmCreationPasse::btnOKClick);

    btnAnnuler = new QPushButton(QStringLiteral("Annuler"), this);
    btnAnnuler->setObjectName(QStringLiteral("btnAnnuler"));
    connect(btnAnnuler, &QPushButton::clicked, this, &QDialog::reject);

    btnAide = new QPushButton(QStringLiteral("Aide"), this);
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
    layout->addSpacing(4);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    chpMotDePasse->setFocus();
}

bool TfrmCreationPasse::run(const QString &programDir)
{
    QString current;
    try {
        current = PasswordStore::read(programDir);
    } catch (const PlatformError &e) {
        Dialogs::error(this, e.message());
        return false;
    }
    programDir_ = programDir;
    chpMotDePasse->setText(current);
    const bool stored = exec() == QDialog::Accepted;
    // The password does not linger in the hidden dialog until the next opening.
    chpMotDePasse->clear();
    return stored;
}

void TfrmCreationPasse::btnOKClick()
{
    try {
        PasswordStore::write(programDir_, chpMotDePasse->text());
    } catch (const PlatformError &e) {
        Dialogs::error(this, e.message());
        chpMotDePasse->setFocus();
        return;
    }
    accept();
}

void TfrmCreationPasse::btnAideClick()
{
    Help::showContext(this, helpContext);
}

void TfrmCreationPasse::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    DialogPlacement::centreOnScreen(this);
    // Selected, so that typing replaces the current password and the arrows keep it.
    chpMotDePasse->selectAll();
    chpMotDePasse->setFocus();
}
