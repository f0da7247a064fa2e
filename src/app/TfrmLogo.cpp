#include "TfrmLogo.h"

#include "platform/core/ProgramVersion.h"
#include "platform/widgets/DialogPlacement.h"

#include "platform/widgets/Glyphs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

namespace
{

constexpr int logoSize = 96;
// How long showNow() waits for the window system to map the window before painting anyway.
constexpr int exposeWaitMs = 500;

QLabel *label(QWidget *parent, const char *name, const QString &text, int pixelSize, bool bold)
{
    auto *result = new QLabel(text, parent);
    result->setObjectName(QLatin1String(name));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    result->setFont(font);
    return result;
}

} // namespace

TfrmLogo::TfrmLogo(QWidget *parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TfrmLogo"));
    setWindowTitle(QStringLiteral("Talo 3.0"));
    setFixedSize(clientWidth, clientHeight);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Bevel1->setLineWidth(2);
    Bevel1->setGeometry(rect());

    Panel1 = new QFrame(Bevel1);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(1);
    Panel1->setGeometry(rect().adjusted(8, 8, -8, -8));

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(Glyphs::logo(logoSize));
    Image1->setFixedSize(logoSize, logoSize);

    NomPrg = label(Panel1, "NomPrg", ProgramVersion::text(), 24, true);
    VersionPrg = label(Panel1, "VersionPrg", QStringLiteral("pour Windows 95"), 12, false);
    etqAuteur = label(Panel1, "etqAuteur", QStringLiteral("Registre des frais médicaux du foyer"),
                      11, false);
    etqEditeur =
        label(Panel1, "etqEditeur", QStringLiteral("Soins, C.P.A.M. et mutuelle"), 11, false);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(0);
    texts->addWidget(NomPrg);
    texts->addWidget(VersionPrg);
    texts->addStretch();
    texts->addWidget(etqAuteur);
    texts->addWidget(etqEditeur);
    auto *inside = new QHBoxLayout(Panel1);
    inside->setContentsMargins(10, 8, 10, 8);
    inside->setSpacing(14);
    inside->addWidget(Image1, 0, Qt::AlignVCenter);
    inside->addLayout(texts, 1);
}

void TfrmLogo::showNow()
{
    centreOnScreen();
    show();
    raise();
    QElapsedTimer waited;
    waited.start();
    while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < exposeWaitMs)
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfrmLogo::centreOnScreen()
{
    DialogPlacement::centreOnScreen(this);
}
