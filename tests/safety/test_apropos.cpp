#include "safety/TfrmApropos.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

class TestApropos : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void captionAndBorder();
    void labelsTextsAndFonts_data();
    void labelsTextsAndFonts();
    void panelHoldsPictureAndLabels();
    void logoAtNaturalSize();
    void okButtonHasFocusAndCloses();
    void escapeClosesLikeOk();
    void closeBoxClosesLikeOk();
    void centredOnScreen();
    void reusedAfterClosing();

private:
    void showAndWait(TfrmApropos &box);
};

void TestApropos::cleanup()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        widget->close();
}

void TestApropos::showAndWait(TfrmApropos &box)
{
    box.open();
    QVERIFY(QTest::qWaitForWindowActive(&box));
}

void TestApropos::captionAndBorder()
{
    TfrmApropos box;
    QCOMPARE(box.objectName(), QStringLiteral("TfrmApropos"));
    QCOMPARE(box.windowTitle(), QStringLiteral(" A propos..."));
    const Qt::WindowFlags flags = box.windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(flags & Qt::WindowContextHelpButtonHint));
    showAndWait(box);
    // A dialog border: the box cannot be resized.
    QCOMPARE(box.minimumSize(), box.maximumSize());
}

void TestApropos::labelsTextsAndFonts_data()
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

void TestApropos::labelsTextsAndFonts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    TfrmApropos box;
    showAndWait(box);
    auto *label = box.findChild<QLabel *>(name);
    QVERIFY(label != nullptr);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->font().family(), QStringLiteral("Arial"));
    QCOMPARE(label->font().pixelSize(), pixelSize);
    QCOMPARE(label->font().bold(), bold);
    // The whole text fits: nothing clipped.
    QVERIFY(label->width() >= label->sizeHint().width());
    QVERIFY(label->height() >= label->sizeHint().height());
}

void TestApropos::panelHoldsPictureAndLabels()
{
    TfrmApropos box;
    auto *cadre = box.findChild<QFrame *>(QStringLiteral("cadrePrg"));
    QVERIFY(cadre != nullptr);
    // Lowered outer bevel, raised inner one: a sunken box.
    QCOMPARE(cadre->frameShape(), QFrame::Box);
    QCOMPARE(cadre->frameShadow(), QFrame::Sunken);
    for (const char *name : {"Image1", "NomPrg", "VersionPrg"}) {
        auto *child = box.findChild<QLabel *>(QLatin1String(name));
        QVERIFY2(child != nullptr, name);
        QVERIFY2(cadre->isAncestorOf(child), name);
    }
    auto *ok = box.findChild<QPushButton *>(QStringLiteral("btnOK"));
    QVERIFY(ok != nullptr);
    QVERIFY(!cadre->isAncestorOf(ok));
}

void TestApropos::logoAtNaturalSize()
{
    TfrmApropos box;
    showAndWait(box);
    auto *image = box.findChild<QLabel *>(QStringLiteral("Image1"));
    QVERIFY(image != nullptr);
    const QPixmap logo = image->pixmap();
    QVERIFY(!logo.isNull());
    QCOMPARE(image->size(), logo.size());
    // Not a blank picture: some pixels are drawn.
    const QImage pixels = logo.toImage();
    int drawn = 0;
    for (int y = 0; y < pixels.height(); ++y)
        for (int x = 0; x < pixels.width(); ++x)
            drawn += qAlpha(pixels.pixel(x, y)) > 0 ? 1 : 0;
    QVERIFY(drawn > pixels.width() * pixels.height() / 4);
}

void TestApropos::okButtonHasFocusAndCloses()
{
    TfrmApropos box;
    showAndWait(box);
    auto *ok = box.findChild<QPushButton *>(QStringLiteral("btnOK"));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QVERIFY(ok->isDefault());
    QCOMPARE(QApplication::focusWidget(), ok);
    QTest::keyClick(ok, Qt::Key_Return);
    QVERIFY(!box.isVisible());
    QCOMPARE(box.result(), int(QDialog::Accepted));
}

void TestApropos::escapeClosesLikeOk()
{
    TfrmApropos box;
    showAndWait(box);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!box.isVisible());
    QCOMPARE(box.result(), int(QDialog::Accepted));
}

void TestApropos::closeBoxClosesLikeOk()
{
    TfrmApropos box;
    showAndWait(box);
    QVERIFY(box.close());
    QVERIFY(!box.isVisible());
    QCOMPARE(box.result(), int(QDialog::Accepted));
}

void TestApropos::centredOnScreen()
{
    // Centred on the screen, not over its owner, which sits in a corner like the main window.
    QWidget owner;
    owner.setGeometry(0, 0, 300, 200);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    TfrmApropos box(&owner);
    showAndWait(box);
    const QPoint screenCentre = box.screen()->availableGeometry().center();
    const QPoint boxCentre = box.frameGeometry().center();
    QVERIFY2((screenCentre - boxCentre).manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(boxCentre.x()).arg(boxCentre.y())));
}

void TestApropos::reusedAfterClosing()
{
    TfrmApropos box;
    showAndWait(box);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!box.isVisible());
    showAndWait(box);
    auto *ok = box.findChild<QPushButton *>(QStringLiteral("btnOK"));
    QCOMPARE(QApplication::focusWidget(), ok);
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!box.isVisible());
    QCOMPARE(box.result(), int(QDialog::Accepted));
}

QTEST_MAIN(TestApropos)
#include "test_apropos.moc"
