#include "platform/core/PlatformError.h"
#include "platform/report/PdfObjectWriter.h"
#include "platform/report/ReportPageList.h"
#include "platform/report/ReportPaintCache.h"
#include "platform/report/ReportPainter.h"
#include "platform/report/ReportPdfDocument.h"
#include "platform/report/ReportPdfWriter.h"
#include "platform/report/SimpleTextShaper.h"
#include "support/FileBytes.h"
#include "support/PdfTools.h"

#include <QDir>
#include <QGlyphRun>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace
{

ReportPlacedText placed(const QString &text, const QRectF &rect, const ReportFont &font,
                        Qt::Alignment alignment = Qt::AlignLeft, bool elide = false)
{
    ReportPlacedText placed;
    placed.text = text;
    placed.rect = rect;
    placed.font = font;
    placed.alignment = alignment;
    placed.elide = elide;
    return placed;
}

const ReportPageGeometry a4{QPageSize(QPageSize::A4)};

// A care list page: heading, dates, names, amounts in every font and alignment, a text cut at
// its box, one wider than its box, kerned pairs, rules and a picture.
ReportPage samplePage(int number)
{
    ReportPage page;
    page.number = number;
    const ReportFont regular = ReportFont::regular(12), bold = ReportFont::boldFont(12);
    page.texts << placed("Liste des soins classés par date", QRectF(20, 10, 342, 37),
                         ReportFont::regular(24), Qt::AlignHCenter)
               << placed("Imprimé le 05/03/26", QRectF(560, 10, 155, 37),
                         ReportFont::italicFont(11), Qt::AlignRight);
    for (int row = 0; row < 30; ++row) {
        const qreal y = 60 + row * 20;
        page.texts << placed(
                          QStringLiteral("%1/0%2/9%3").arg(10 + row).arg(row % 9 + 1).arg(row % 10),
                          QRectF(20, y, 60, 18), regular, Qt::AlignLeft, true)
                   << placed(row % 2 ? "AVATAR Wojtek, affiliée" : "Dr Lefèvre-Ångström",
                             QRectF(90, y, 150, 18), regular)
                   << placed(QStringLiteral("%1\u202F%2,%3 €")
                                 .arg(row + 1)
                                 .arg(100 + row * 7)
                                 .arg(row % 100, 2, 10, QLatin1Char('0')),
                             QRectF(250, y, 100, 18), bold, Qt::AlignRight)
                   << placed(QStringLiteral("-%1,50").arg(row * 11), QRectF(360, y, 80, 18),
                             regular, Qt::AlignHCenter)
                   << placed("Consultation spécialisée du généraliste", QRectF(450, y, 90, 18),
                             ReportFont::italicFont(11), Qt::AlignLeft, true)
                   << placed("Débordement", QRectF(560, y, 30, 18), bold, Qt::AlignRight);
    }
    page.lines << QLineF(10, 55, 720, 55) << QLineF(10, 58, 10, 700);
    QImage chart(40, 20, QImage::Format_ARGB32);
    chart.fill(Qt::blue);
    page.images << ReportPlacedImage{QRectF(600, 700, 80, 40), chart};
    return page;
}

// The page painted through the toolkit's PDF engine, as the preview paints it.
void writeThroughToolkit(const QString &file, const QList<ReportPage> &pages)
{
    QPdfWriter pdf(file);
    pdf.setResolution(1200);
    pdf.setPageSize(a4.pageSize());
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&pdf);
    ReportPaintCache cache;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0)
            pdf.newPage();
        ReportPainter::paint(painter, pages[i], 1200 / 96.0, cache);
    }
}

struct Word {
    QString text;
    QRectF box;
};

// Every word with its box, as poppler reads them, page after page.
QList<Word> wordsOf(const QString &file)
{
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<Word> words;
    const QString html =
        PdfTools::run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, "-"});
    for (const QRegularExpressionMatch &m : word.globalMatch(html))
        words.append(
            {m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                   QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    return words;
}

// The first page as poppler draws it at 100 dpi.
QImage drawn(const QString &file, const QString &imageBase)
{
    PdfTools::run(QStringLiteral("pdftoppm"),
                  {"-r", "100", "-f", "1", "-l", "1", "-singlefile", "-png", file, imageBase});
    return QImage(imageBase + ".png");
}

} // namespace

class TestReportPdfDocument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Numbers in page contents: no exponent, no trailing zeros, rounded to thousandths.
    void numbers_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("whole") << 12.0 << QByteArray("12");
        QTest::newRow("zero") << 0.0 << QByteArray("0");
        QTest::newRow("tiny negative") << -0.0004 << QByteArray("0");
        QTest::newRow("negative fraction") << -0.5 << QByteArray("-0.5");
        QTest::newRow("thousandths") << 841.889763 << QByteArray("841.89");
        QTest::newRow("leading zero") << 0.075 << QByteArray("0.075");
        QTest::newRow("rounds up to whole") << 9.9996 << QByteArray("10");
        QTest::newRow("large") << 1e7 + 0.25 << QByteArray("10000000.25");
    }

    void numbers()
    {
        QFETCH(double, value);
        QFETCH(QByteArray, written);
        QByteArray out;
        PdfObjectWriter::appendNumber(out, value);
        QCOMPARE(out, written);
    }

    // Numbers placed without shaping get the glyphs and positions shaping gives them.
    void simpleTextsMatchShaping_data()
    {
        QTest::addColumn<ReportFont>("font");
        QTest::addColumn<QString>("text");
        const QStringList texts{"0",     "1 234,50 €", "-999\u202F999,99 €", "11/11/1111", "12:45",
                                "+7.10", "2026",       "1\u00A0000 ",        " 77 "};
        for (const ReportFont &font : {ReportFont::regular(12), ReportFont::boldFont(8),
                                       ReportFont::italicFont(11), ReportFont::regular(24)})
            for (const QString &text : texts)
                QTest::addRow("%d %s", font.key(), qPrintable(text)) << font << text;
    }

    void simpleTextsMatchShaping()
    {
        QFETCH(ReportFont, font);
        QFETCH(QString, text);
        QImage device(1, 1, QImage::Format_RGB32);
        device.setDotsPerMeterX(qRound(1200 / 0.0254));
        device.setDotsPerMeterY(qRound(1200 / 0.0254));
        ReportPaintCache cache;
        cache.use(ReportPdfDocument::shapingScale, &device);
        const SimpleTextShaper shaper(cache, font);
        QList<SimpleTextShaper::Glyph> glyphs;
        qreal advance = 0;
        QVERIFY(shaper.shape(text, glyphs, advance));

        const ReportPaintCache::ShapedText &shaped = cache.shaped(font, text);
        QCOMPARE(shaped.runs.size(), 1);
        QCOMPARE(shaped.runs[0].rawFont(), shaper.font());
        QCOMPARE(advance, shaped.advance);
        QCOMPARE(shaper.height(), shaped.height);
        const QList<quint32> indexes = shaped.runs[0].glyphIndexes();
        const QList<QPointF> positions = shaped.runs[0].positions();
        QCOMPARE(glyphs.size(), indexes.size());
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            QCOMPARE(glyphs[i].index, indexes[i]);
            QCOMPARE(QPointF(glyphs[i].x, shaper.baseline()), positions[i]);
        }
        QVERIFY(!shaper.shape(text + "x", glyphs, advance));
    }

    // Every word lands where the toolkit's PDF engine puts it, and reads back the same.
    void samePlacesAsTheToolkit()
    {
        QTemporaryDir dir;
        const QList<ReportPage> pages{samplePage(1), samplePage(2)};
        const QString ours = dir.filePath("ours.pdf"), toolkit = dir.filePath("toolkit.pdf");
        ReportPdfWriter::write(ours, pages, a4, "Liste des soins");
        writeThroughToolkit(toolkit, pages);
        const QList<Word> expected = wordsOf(toolkit), got = wordsOf(ours);
        QVERIFY(expected.size() > 300);
        QCOMPARE(got.size(), expected.size());
        for (qsizetype i = 0; i < got.size(); ++i) {
            QCOMPARE(got[i].text, expected[i].text);
            const QRectF &g = got[i].box, &e = expected[i].box;
            if (qAbs(g.left() - e.left()) > 0.2 || qAbs(g.right() - e.right()) > 0.2 ||
                qAbs(g.bottom() - e.bottom()) > 0.5 || qAbs(g.top() - e.top()) > 0.5)
                QFAIL(qPrintable(QStringLiteral("%1: (%2, %3, %4, %5) instead of (%6, %7, %8, %9)")
                                     .arg(got[i].text)
                                     .arg(g.left())
                                     .arg(g.top())
                                     .arg(g.right())
                                     .arg(g.bottom())
                                     .arg(e.left())
                                     .arg(e.top())
                                     .arg(e.right())
                                     .arg(e.bottom())));
        }
        // Subsets of the fonts are embedded, and the text copies out in reading order.
        const QString fonts = PdfTools::run("pdffonts", {ours});
        QVERIFY2(fonts.count(QRegularExpression(
                     "[A-Z]{6}\\+\\S+\\s+CID TrueType\\s+Identity-H\\s+yes\\s+yes\\s+yes")) >= 3,
                 qPrintable(fonts));
        QCOMPARE(PdfTools::text(ours), PdfTools::text(toolkit));
        // The subset outlines draw the same page (accents built from parts included).
        const QImage oursDrawn = drawn(ours, dir.filePath("ours")),
                     toolkitDrawn = drawn(toolkit, dir.filePath("toolkit"));
        QVERIFY2(qAbs(oursDrawn.width() - toolkitDrawn.width()) <= 1 &&
                     qAbs(oursDrawn.height() - toolkitDrawn.height()) <= 1,
                 qPrintable(QStringLiteral("%1x%2 %3x%4")
                                .arg(oursDrawn.width())
                                .arg(oursDrawn.height())
                                .arg(toolkitDrawn.width())
                                .arg(toolkitDrawn.height())));
        qsizetype differing = 0, inked = 0;
        for (int y = 0; y < qMin(oursDrawn.height(), toolkitDrawn.height()); ++y)
            for (int x = 0; x < qMin(oursDrawn.width(), toolkitDrawn.width()); ++x) {
                const int a = qGray(oursDrawn.pixel(x, y)), b = qGray(toolkitDrawn.pixel(x, y));
                inked += b < 128;
                differing += qAbs(a - b) > 96;
            }
        QVERIFY(inked > 10000);
        QVERIFY2(differing < inked / 50, qPrintable(QString::number(differing)));
        QVERIFY(PdfTools::info(ours).contains(QRegularExpression("Title:\\s+Liste des soins\\n")));
    }

    // Stopped after any page, the write leaves the older file whole and nothing beside it.
    void stoppedWriteKeepsTheOlderFile()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("liste.pdf");
        FileBytes::put(file, "%PDF-1.4 old");
        QList<ReportPage> pages;
        for (int i = 1; i <= 4; ++i)
            pages << samplePage(i);
        for (int stop = 1; stop <= pages.size(); ++stop) {
            ReportPageList list(pages);
            QList<int> told;
            const bool written =
                ReportPdfWriter::write(file, list, a4, "L", [&](int done, int count) {
                    told << done;
                    if (count != pages.size())
                        return true;
                    return done < stop;
                });
            QVERIFY(!written);
            QCOMPARE(told.last(), stop);
            QCOMPARE(FileBytes::of(file), QByteArray("%PDF-1.4 old"));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                     QStringList{"liste.pdf"});
        }
        ReportPageList list(pages);
        QVERIFY(ReportPdfWriter::write(file, list, a4, "L", [](int, int) { return true; }));
        QCOMPARE(PdfTools::pageCount(file), 4);
    }
};

QTEST_MAIN(TestReportPdfDocument)
#include "test_report_pdf_document.moc"
