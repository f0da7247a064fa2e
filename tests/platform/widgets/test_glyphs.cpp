#include "platform/widgets/Glyphs.h"

#include <QApplication>
#include <QImage>
#include <QTest>

namespace
{

int drawnPixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 32 ? 1 : 0;
    return count;
}

// Largest difference of any channel between two images of the same size.
int largestDifference(const QImage &a, const QImage &b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest =
                std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return largest;
}

QImage image(Glyphs::Id id, int size)
{
    return Glyphs::pixmap(id, size).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestGlyphs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyGlyphIsDrawn_data();
    void everyGlyphIsDrawn();
    void glyphsAreDistinct();
    void navigatorArrowsPointTheRightWay_data();
    void navigatorArrowsPointTheRightWay();
    void iconHasButtonSizesAndDisabledLook();
    void logo_data();
    void logo();
};

void TestGlyphs::everyGlyphIsDrawn_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("size");
    const QList<Glyphs::Id> ids = Glyphs::all();
    QCOMPARE(ids.size(), 19);
    for (Glyphs::Id id : ids) {
        for (int size : {16, 20, 24})
            QTest::addRow("%d at %d", int(id), size) << int(id) << size;
    }
}

void TestGlyphs::everyGlyphIsDrawn()
{
    QFETCH(int, id);
    QFETCH(int, size);
    const QImage drawn = image(Glyphs::Id(id), size);
    QCOMPARE(drawn.size(), QSize(size, size));
    const int area = size * size;
    const int covered = drawnPixels(drawn);
    // Something a user can see, on a transparent background.
    QVERIFY2(covered >= area / 10, qPrintable(QString::number(covered)));
    QVERIFY2(covered <= area * 9 / 10, qPrintable(QString::number(covered)));
}

void TestGlyphs::glyphsAreDistinct()
{
    const QList<Glyphs::Id> ids = Glyphs::all();
    for (int i = 0; i < ids.size(); ++i) {
        for (int j = i + 1; j < ids.size(); ++j) {
            QVERIFY2(image(ids[i], 24) != image(ids[j], 24),
                     qPrintable(QStringLiteral("%1 and %2").arg(int(ids[i])).arg(int(ids[j]))));
        }
    }
}

void TestGlyphs::navigatorArrowsPointTheRightWay_data()
{
    QTest::addColumn<int>("leftward");
    QTest::addColumn<int>("rightward");
    QTest::newRow("first/last") << int(Glyphs::Id::First) << int(Glyphs::Id::Last);
    QTest::newRow("prior/next") << int(Glyphs::Id::Prior) << int(Glyphs::Id::Next);
}

void TestGlyphs::navigatorArrowsPointTheRightWay()
{
    QFETCH(int, leftward);
    QFETCH(int, rightward);
    const QImage left = image(Glyphs::Id(leftward), 24);
    const QImage right = image(Glyphs::Id(rightward), 24);
    // Mirror images of each other...
    QVERIFY(largestDifference(left.mirrored(true, false), right) <= 40);
    // ...and "next" is a triangle whose wide base is on the left, its tip on the right.
    const QImage next = image(Glyphs::Id::Next, 24);
    int inkLeft = 0;
    int inkRight = 0;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x)
            (x < 12 ? inkLeft : inkRight) += qAlpha(next.pixel(x, y));
    }
    QVERIFY(inkLeft > inkRight + inkRight / 2);
}

void TestGlyphs::iconHasButtonSizesAndDisabledLook()
{
    const QIcon icon = Glyphs::icon(Glyphs::Id::Print);
    QVERIFY(!icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 20, 24})
        QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
    const QImage normal =
        icon.pixmap(QSize(24, 24)).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage disabled = icon.pixmap(QSize(24, 24), QIcon::Disabled)
                                .toImage()
                                .convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(normal, image(Glyphs::Id::Print, 24));
    QVERIFY(drawnPixels(disabled) > 0);
    QVERIFY(normal != disabled);
}

void TestGlyphs::logo_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("about box") << 64;
    QTest::newRow("splash") << 96;
}

void TestGlyphs::logo()
{
    QFETCH(int, size);
    const QImage logo = Glyphs::logo(size).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(logo.size(), QSize(size, size));
    QVERIFY(drawnPixels(logo) > size * size / 3);
    // Transparent corner, so the logo sits on any background.
    QCOMPARE(qAlpha(logo.pixel(0, 0)), 0);
}

QTEST_MAIN(TestGlyphs)
#include "test_glyphs.moc"
