#include "TfrmApropos.h"

#include "platform/core/ProgramVersion.h"
#include "platform/widgets/DialogPlacement.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Glyphs.h"
#include "platform/widgets/Help.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace
{

constexpr int logoSize = 64;
constexpr int helpContext = 49;

QFont arial(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace

TfrmApropos::TfrmApropos(QWidget *parent) : QDialog(parent, Dialogs::dialogBorder())
{
    setObjectName(QStringLiteral("TfrmApropos"));
    setWindowTitle(QStringLiteral(" A propos..."));

    // A lowered outer bevel around a raised inner one.
    cadrePrg = new QFrame(this);
    cadrePrg->setObjectName(QStringLiteral("cadrePrg"));
    cadrePrg->setFrameStyle(QFrame::Box | QFrame::Sunken);
    cadrePrg->setLineWidth(1);
    cadrePrg->setMidLineWidth(0);

    Image1 = new QLabel(cadrePrg);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(Glyphs::logo(logoSize));
    Image1->setFixedSize(logoSize, logoSize);

    NomPrg = new QLabel(ProgramVersion::text(), cadrePrg);
    NomPrg->setObjectName(QStringLiteral("NomPrg"));
    NomPrg->setFont(arial(24, true));

    VersionPrg = new QLabel(QStringLiteral("pour Windows 95"), cadrePrg);
    VersionPrg->setObjectName(QStringLiteral("VersionPrg"));
    VersionPrg->setFont(arial(12, false));

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    Help::addHelpKey(*this, helpContext);

    auto *texts = new QVBoxLayout;
    texts->addStretch();
    texts->addWidget(NomPrg);
    texts->addWidget(VersionPrg);
    texts->addStretch();
    auto *inside = new QHBoxLayout(cadrePrg);
    inside->setContentsMargins(14, 12, 24, 12);
    inside->setSpacing(16);
    inside->addWidget(Image1);
    inside->addLayout(texts);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(btnOK);
    buttonRow->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    layout->addWidget(cadrePrg);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    btnOK->setFocus();
}

void TfrmApropos::reject()
{
    accept();
}

void TfrmApropos::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    DialogPlacement::centreOnScreen(this);
    btnOK->setFocus();
}
