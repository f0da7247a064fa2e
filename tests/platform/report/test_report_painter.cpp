#include "platform/report/ReportPaintCache.h"
#include "platform/report/ReportPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTest>

namespace
{

ReportPlacedText placed(const QString &text, const QRectF &rect, const ReportFont &font,
                        Qt::Alignment alignment, bool elide = false)
{
    ReportPlacedText placed;
    placed.kind = ReportItem::Kind::Field;
    placed.text = text;
    placed.rect = rect;
    placed.font = font;
    placed.alignment = alignment;
    placed.elide = elide;
    return placed;
}

// The texts of a care list line and its surroundings, in every alignment and font used.
ReportPage samplePage()
{
    ReportPage page;
    const ReportFont regular = ReportFont::regular(12), bold = ReportFont::boldFont(12);
    page.texts << placed("Liste des soins classés par date", QRectF(20, 10, 342, 37),
                         ReportFont::regular(24), Qt::AlignHCenter)
               << placed("Imprimé le 05/03/26", QRectF(618, 10, 97, 37), ReportFont::italicFont(11),
                         Qt::AlignRight)
               << placed("12/01/97", QRectF(20, 60, 54, 24), regular, Qt::AlignLeft, true)
               << placed("DUPONT ", QRectF(80, 60, 104, 24), regular, Qt::AlignLeft)
               << placed("Dr Lefèvre-Ångström", QRectF(190, 60, 91, 24), regular, Qt::AlignLeft)
               << placed("1 234,50 €", QRectF(285, 60, 75, 24), bold, Qt::AlignRight)
               << placed("", QRectF(405, 60, 50, 24), regular, Qt::AlignLeft, true)
               << placed("-999 999,99 €", QRectF(460, 60, 75, 24), bold, Qt::AlignRight)
               << placed("Un texte bien trop long pour sa case", QRectF(20, 90, 60, 24), regular,
                         Qt::AlignLeft, true)
               << placed("Un texte qui déborde", QRectF(100, 90, 40, 24), bold, Qt::AlignRight)
               << placed("Page 12", QRectF(640, 120, 80, 24), ReportFont::italicFont(11),
                         Qt::AlignRight);
    page.lines << QLineF(10, 55, 720, 55);
    return page;
}

// The page painted text by text with the toolkit's own single-line text in a box.
QImage painted(const ReportPage &page, const QSizeF &pagePixels, qreal scale)
{
    QImage image(qRound(pagePixels.width() * scale), qRound(pagePixels.height() * scale),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QPen pen(Qt::black);
    pen.setWidthF(qMax<qreal>(1.0, scale));
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    for (const QLineF &line : page.lines)
        painter.drawLine(QLineF(line.p1() * scale, line.p2() * scale));
    for (const ReportPlacedText &text : page.texts) {
        const QFontMetricsF metrics(text.font.toQFont(1));
        QString shown = text.text;
        if (text.elide && metrics.horizontalAdvance(shown) > text.rect.width())
            shown = metrics.elidedText(shown, Qt::ElideRight, text.rect.width());
        painter.setFont(text.font.toQFont(scale));
        const QRectF r = text.rect;
        painter.drawText(
            QRectF(r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale),
            int(text.alignment | Qt::AlignVCenter) | Qt::TextSingleLine | Qt::TextDontClip, shown);
    }
    painter.end();
    return image;
}

} // namespace

// Texts shaped once and placed by the painter land exactly where the toolkit would draw them.
class TestReportPainter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameAsTheToolkitsText_data()
    {
        QTest::addColumn<qreal>("scale");
        QTest::newRow("page pixels") << 1.0;
        QTest::newRow("preview zoom") << 1.37;
        QTest::newRow("high-resolution screen") << 2.0;
        QTest::newRow("printer-like") << 4.1667;
    }

    void sameAsTheToolkitsText()
    {
        QFETCH(qreal, scale);
        const ReportPage page = samplePage();
        const QSizeF size(740, 150);
        ReportPaintCache cache;
        // Twice through one cache: what it keeps must paint the same as what it works out.
        // The raster engine draws a large glyph it meets for the first time a shade apart:
        // both ways of painting start from glyphs it has met.
        painted(page, size, scale);
        for (int pass = 0; pass < 2; ++pass)
            QVERIFY(ReportPainter::image(page, size, scale, cache) == painted(page, size, scale));
    }
};

QTEST_MAIN(TestReportPainter)
#include "test_report_painter.moc"
