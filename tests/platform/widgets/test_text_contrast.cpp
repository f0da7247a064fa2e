#include "platform/widgets/ReadableText.h"
#include "platform/widgets/TextContrast.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

using Colours = QList<QColor>;
Q_DECLARE_METATYPE(Colours)

namespace
{

// The colours of a dark desktop theme (window, base and button greys, light texts).
QPalette darkPalette()
{
    QPalette p(QColor(0x35, 0x35, 0x35), QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::Base, QColor(0x2d, 0x2d, 0x2d));
    p.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xec));
    p.setColor(QPalette::Text, QColor(0xee, 0xee, 0xec));
    p.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xec));
    return p;
}

} // namespace

class TestTextContrast : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void luminance_data();
    void luminance();
    void ratio_data();
    void ratio();
    void readable_data();
    void readable();
    void labelFollowsThePalette();
};

void TestTextContrast::luminance_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<double>("expected");
    QTest::newRow("black") << QColor(Qt::black) << 0.0;
    QTest::newRow("white") << QColor(Qt::white) << 1.0;
    QTest::newRow("red") << QColor(255, 0, 0) << 0.2126;
    QTest::newRow("green") << QColor(0, 255, 0) << 0.7152;
    QTest::newRow("blue") << QColor(0, 0, 255) << 0.0722;
    // The curve, not the 8-bit value: 128 is about a fifth of white's light.
    QTest::newRow("grey 128") << QColor(128, 128, 128) << 0.2159;
    // The dark end is linear: 10/255/12.92.
    QTest::newRow("grey 10") << QColor(10, 10, 10) << 0.003035;
}

void TestTextContrast::luminance()
{
    QFETCH(QColor, colour);
    QFETCH(double, expected);
    QVERIFY2(qAbs(TextContrast::luminance(colour) - expected) < 0.0005,
             qPrintable(QString::number(TextContrast::luminance(colour))));
}

void TestTextContrast::ratio_data()
{
    QTest::addColumn<QColor>("a");
    QTest::addColumn<QColor>("b");
    QTest::addColumn<double>("expected");
    QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
    QTest::newRow("white on black") << QColor(Qt::white) << QColor(Qt::black) << 21.0;
    QTest::newRow("same colour") << QColor(0x35, 0x35, 0x35) << QColor(0x35, 0x35, 0x35) << 1.0;
    QTest::newRow("blue on white") << QColor(0, 0, 255) << QColor(Qt::white) << 8.59;
    // The awaited amount on a dark theme's window, as it was.
    QTest::newRow("blue on dark grey") << QColor(0, 0, 255) << QColor(0x35, 0x35, 0x35) << 1.43;
    QTest::newRow("green on dark grey") << QColor(0, 128, 0) << QColor(0x35, 0x35, 0x35) << 2.39;
}

void TestTextContrast::ratio()
{
    QFETCH(QColor, a);
    QFETCH(QColor, b);
    QFETCH(double, expected);
    QVERIFY2(qAbs(TextContrast::ratio(a, b) - expected) < 0.01,
             qPrintable(QString::number(TextContrast::ratio(a, b))));
}

void TestTextContrast::readable_data()
{
    QTest::addColumn<QColor>("wanted");
    QTest::addColumn<Colours>("backgrounds");
    // The colour expected back when it reads already; invalid when it must change.
    QTest::addColumn<QColor>("unchanged");
    // Lighter (1) or darker (-1) than wanted when it changes.
    QTest::addColumn<int>("direction");

    const QColor blue(0, 0, 255), green(0, 128, 0), navy(0, 0, 128), yellow(255, 255, 0);
    const QColor white(Qt::white), light(0xef, 0xef, 0xef), button(0xe0, 0xe0, 0xe0);
    const QColor dark(0x35, 0x35, 0x35), darker(0x2d, 0x2d, 0x2d), silver(0xc0, 0xc0, 0xc0);
    QTest::newRow("blue on a light window") << blue << Colours{light, button} << blue << 0;
    QTest::newRow("green on white") << green << Colours{white} << green << 0;
    // 4.46:1 on the light grey of a usual window: a shade darker.
    QTest::newRow("green on a light grey window")
        << green << Colours{light, white} << QColor() << -1;
    QTest::newRow("blue on a dark window") << blue << Colours{dark} << QColor() << 1;
    QTest::newRow("green tabs on dark greys") << green << Colours{dark, darker} << QColor() << 1;
    QTest::newRow("navy on a dark base") << navy << Colours{darker} << QColor() << 1;
    QTest::newRow("yellow on white") << yellow << Colours{white} << QColor() << -1;
    // A dark theme's dimmed text on the silver of a disabled field.
    QTest::newRow("grey on silver")
        << QColor(0x80, 0x80, 0x80) << Colours{silver} << QColor() << -1;
    // A mid grey is too light for white text: only darker colours read.
    QTest::newRow("blue on mid grey")
        << QColor(0x60, 0x60, 0xff) << Colours{QColor(0x77, 0x77, 0x77)} << QColor() << -1;
    // Text drawn on both black and white: only a middle lightness reads on both.
    QTest::newRow("blue on black and white")
        << blue << Colours{QColor(Qt::black), white} << QColor() << 1;
    QTest::newRow("no background") << blue << Colours{} << blue << 0;
}

void TestTextContrast::readable()
{
    QFETCH(QColor, wanted);
    QFETCH(Colours, backgrounds);
    QFETCH(QColor, unchanged);
    QFETCH(int, direction);
    const QColor result = TextContrast::readable(wanted, backgrounds);
    const double worst = TextContrast::worstRatio(result, backgrounds);
    QVERIFY2(worst >= TextContrast::MinimumRatio,
             qPrintable(QStringLiteral("%1 reads at %2").arg(result.name()).arg(worst)));
    if (unchanged.isValid()) {
        QCOMPARE(result, unchanged);
        return;
    }
    // As close to the wanted colour as reading allows: just over the minimum, in its own hue.
    QVERIFY2(worst < TextContrast::MinimumRatio + 0.3,
             qPrintable(QStringLiteral("%1 reads at %2").arg(result.name()).arg(worst)));
    if (result.hslSaturation() > 0 && wanted.hslSaturation() > 0)
        QVERIFY2(qAbs(result.hslHue() - wanted.hslHue()) <= 2, qPrintable(result.name()));
    const double before = TextContrast::luminance(wanted);
    const double after = TextContrast::luminance(result);
    QVERIFY2(direction > 0 ? after > before : after < before, qPrintable(result.name()));
}

void TestTextContrast::labelFollowsThePalette()
{
    const QPalette light = QApplication::palette();
    QWidget window;
    auto *label = new QLabel(QStringLiteral("1 234,56 €"), &window);
    ReadableText::keep(label, QColor(0, 0, 255), QPalette::WindowText, {QPalette::Window});
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));

    QApplication::setPalette(darkPalette());
    QCoreApplication::processEvents();
    const QPalette dark = label->palette();
    QCOMPARE(dark.color(QPalette::Window), QColor(0x35, 0x35, 0x35));
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const double r = TextContrast::ratio(dark.color(group, QPalette::WindowText),
                                             dark.color(group, QPalette::Window));
        QVERIFY2(r >= TextContrast::MinimumRatio, qPrintable(QString::number(r)));
    }
    QVERIFY(dark.color(QPalette::WindowText).blue() > dark.color(QPalette::WindowText).red());

    // Back to the light theme: the program's own blue again.
    QApplication::setPalette(light);
    QCoreApplication::processEvents();
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
}

QTEST_MAIN(TestTextContrast)
#include "test_text_contrast.moc"
