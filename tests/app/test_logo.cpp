#include "app/TfrmLogo.h"

#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QWindow>

class TestLogo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clientAreaAndBorder();
    void paintedWhenShowNowReturns();
    void centredOnScreen();
    void bevelCoversWholeWindow();
    void labels_data();
    void labels();
    void authorAndMakerLabels();
};

void TestLogo::clientAreaAndBorder()
{
    TfrmLogo logo;
    QCOMPARE(logo.objectName(), QStringLiteral("TfrmLogo"));
    QCOMPARE(logo.size(), QSize(345, 136));
    QCOMPARE(logo.minimumSize(), logo.maximumSize());
    QVERIFY(logo.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(logo.windowFlags() & Qt::WindowType_Mask, Qt::SplashScreen);
    QVERIFY(!(logo.windowFlags() & Qt::WindowTitleHint));
    QVERIFY(!(logo.windowFlags() & Qt::WindowCloseButtonHint));
}

void TestLogo::paintedWhenShowNowReturns()
{
    TfrmLogo logo;
    logo.showNow();
    // No event loop has run: showNow() itself must have mapped the window.
    QVERIFY(logo.isVisible());
    QVERIFY(logo.windowHandle() != nullptr);
    QVERIFY(logo.windowHandle()->isExposed());
    QCOMPARE(logo.size(), QSize(345, 136));
}

void TestLogo::centredOnScreen()
{
    TfrmLogo logo;
    logo.showNow();
    const QPoint screenCentre = logo.screen()->availableGeometry().center();
    QVERIFY((screenCentre - logo.geometry().center()).manhattanLength() <= 2);
}

void TestLogo::bevelCoversWholeWindow()
{
    TfrmLogo logo;
    auto *bevel = logo.findChild<QFrame *>(QStringLiteral("Bevel1"));
    QVERIFY(bevel != nullptr);
    QCOMPARE(bevel->geometry(), logo.rect());
    QCOMPARE(bevel->frameShadow(), QFrame::Raised);
    auto *panel = logo.findChild<QFrame *>(QStringLiteral("Panel1"));
    QVERIFY(panel != nullptr);
    QVERIFY(bevel->isAncestorOf(panel));
    auto *image = logo.findChild<QLabel *>(QStringLiteral("Image1"));
    QVERIFY(image != nullptr);
    QVERIFY(panel->isAncestorOf(image));
    QVERIFY(!image->pixmap().isNull());
}

void TestLogo::labels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");
    QTest::newRow("NomPrg") << "NomPrg"
                            << "Talo 3.0c" << 24 << true;
    QTest::newRow("VersionPrg") << "VersionPrg"
                                << "pour Windows 95" << 12 << false;
}

void TestLogo::labels()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    TfrmLogo logo;
    logo.showNow();
    auto *label = logo.findChild<QLabel *>(name);
    QVERIFY(label != nullptr);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->font().family(), QStringLiteral("Arial"));
    QCOMPARE(label->font().pixelSize(), pixelSize);
    QCOMPARE(label->font().bold(), bold);
}

void TestLogo::authorAndMakerLabels()
{
    TfrmLogo logo;
    logo.showNow();
    const QRect inside = logo.rect();
    for (const char *name : {"NomPrg", "VersionPrg", "etqAuteur", "etqEditeur"}) {
        auto *label = logo.findChild<QLabel *>(QLatin1String(name));
        QVERIFY2(label != nullptr, name);
        QVERIFY2(!label->text().trimmed().isEmpty(), name);
        // The fixed 345 × 136 window holds every text whole.
        QVERIFY2(label->width() >= label->sizeHint().width(), name);
        const QRect onWindow(label->mapTo(&logo, QPoint(0, 0)), label->size());
        QVERIFY2(inside.contains(onWindow), name);
    }
}

QTEST_MAIN(TestLogo)
#include "test_logo.moc"
