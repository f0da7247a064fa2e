#include "TfrmMotDePasse.h"

#include "platform/widgets/DialogPlacement.h"
#include "recovery/PasswordStore.h"

#include "platform/core/PlatformError.h"
#include "platform/widgets/CursorOverride.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
constexpr int helpContext = 48;
}

TfrmMotDePasse::TfrmMotDePasse(QWidget *parent) : QDialog(parent, Dialogs::dialogBorder())
{
    setObjectName(QStringLiteral("TfrmMotDePasse"));
    setWindowTitle(QStringLiteral("Talo 3.0"));

    Label1 = new QLabel(QStringLiteral("Saisir mot de passe :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));

    chpMotDePasse = new QLineEdit(this);
    chpMotDePasse->setObjectName(QStringLiteral("chpMotDePasse"));
    chpMotDePasse->setEchoMode(QLineEdit::Password);
    // Each typed character shows as "*", whatever the style would use by default.
    chpMotDePasse->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    chpMotDePasse->setMinimumWidth(200);
    Label1->setBuddy(chpMotDePasse);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &TfrmMotDePasse::btnOKClick);

    btnAnnuler = new QPushButton(QStringLiteral("Annuler"), this);
    btnAnnuler->setObjectName(QStringLiteral("btnAnnuler"));
    connect(btnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
    Help::addHelpKey(*this, helpContext);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnAnnuler);
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

QString TfrmMotDePasse::refusalMessage()
{
    return QStringLiteral("Mot de passe non valable!! Talo 3.0 vous quitte.");
}

TfrmMotDePasse::Outcome TfrmMotDePasse::ask(const StoredPassword &stored)
{
    letInWith_.clear();
    if (!stored.isSet())
        return Outcome::LetIn;
    stored_ = stored;
    chpMotDePasse->clear();
    // Whatever closes the prompt without OK (Annuler, Escape, the close box, Alt+F4) counts
    // as a cancel.
    outcome_ = Outcome::Cancelled;
    exec();
    stored_ = StoredPassword();
    chpMotDePasse->clear();
    return outcome_;
}

TfrmMotDePasse::Outcome TfrmMotDePasse::gate(const QString &programDir)
{
    StoredPassword stored;
    try {
        stored = PasswordStore::read(programDir);
    } catch (const PlatformError &e) {
        Dialogs::error(this, e.message());
        return Outcome::Refused;
    }
    const Outcome outcome = ask(stored);
    if (outcome == Outcome::LetIn && stored.isPlain()) {
        try {
            const CursorOverride hourglass(Qt::WaitCursor);
            PasswordStore::write(programDir, letInWith_);
        } catch (const PlatformError &) {
            // Still in clear, as before; the next start tries again.
        }
    }
    letInWith_.clear();
    return outcome;
}

void TfrmMotDePasse::btnOKClick()
{
    bool right = false;
    {
        // The hash is deliberately slow to check.
        const CursorOverride hourglass(Qt::WaitCursor);
        right = stored_.matches(chpMotDePasse->text());
    }
    if (right) {
        outcome_ = Outcome::LetIn;
        letInWith_ = chpMotDePasse->text();
        accept();
        return;
    }
    outcome_ = Outcome::Refused;
    Dialogs::plain(this, refusalMessage());
    accept();
}

void TfrmMotDePasse::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    DialogPlacement::centreOnScreen(this);
    chpMotDePasse->setFocus();
}
