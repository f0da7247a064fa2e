#include "platform/core/PlatformError.h"
#include "platform/core/Today.h"
#include "platform/report/ReportLayout.h"
#include "platform/report/ReportTextWrap.h"

#include "support/ReportTestDefinition.h"

#include <QFontMetricsF>

#include <QLocale>
#include <QTest>

namespace
{

using Type = ReportBand::Type;

QList<const ReportPlacedBand *> bandsOf(const ReportPage &page, Type type)
{
    QList<const ReportPlacedBand *> found;
    for (const ReportPlacedBand &band : page.bands) {
        if (band.type == type)
            found.append(&band);
    }
    return found;
}

QList<int> detailRows(const ReportPage &page)
{
    QList<int> rows;
    for (const ReportPlacedBand *band : bandsOf(page, Type::Detail))
        rows.append(band->row);
    return rows;
}

QList<const ReportPlacedText *> textsOf(const ReportPage &page, ReportItem::Kind kind)
{
    QList<const ReportPlacedText *> found;
    for (const ReportPlacedText &text : page.texts) {
        if (text.kind == kind)
            found.append(&text);
    }
    return found;
}

QList<ReportPage> layOut(FakeReportSource &source)
{
    return ReportLayout::run(ReportTest::definition(), source, ReportTest::testPage());
}

} // namespace

// Pagination of the banded engine: which band lands where, on which page, with what text.
class TestReportLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Today::pinForTesting(QDate(2026, 3, 5));
    }
    void cleanupTestCase() { Today::unpin(); }

    void longTextGoesOnOverMoreLines()
    {
        ReportDefinition report = ReportTest::definition();
        ReportBand &detail = report.bands[2];
        detail.items[0].elide = false;
        detail.items[0].wrap = true;
        const QString longName =
            QStringLiteral("Jean-Baptiste de la Rochefoucauld-Montmorency de Saint-Germain");
        FakeReportSource source;
        for (int i = 0; i < 21; ++i)
            source.addRow({{"Nom", i == 19 ? longName : QStringLiteral("Nom")}, {"Montant", "1"}},
                          {{"Montant", 100}});
        const QList<ReportPage> pages = ReportLayout::run(report, source, ReportTest::testPage());

        // Row 19 no longer fits page 1 (details end at 270) once grown: it opens page 2.
        QCOMPARE(pages.size(), 2);
        QCOMPARE(detailRows(pages[0]).size(), 19);
        const ReportPlacedBand *grown = bandsOf(pages[1], Type::Detail).first();
        QCOMPARE(grown->row, 19);
        QStringList lines;
        for (const ReportPlacedText *text : textsOf(pages[1], ReportItem::Kind::Field)) {
            if (text->fieldName == "Nom" && text->rect.top() < grown->rect.bottom()) {
                lines << text->text;
                QVERIFY(QFontMetricsF(text->font.toQFont(1)).horizontalAdvance(text->text) <=
                        text->rect.width());
            } else if (text->fieldName == "Montant" && text->rect.top() < grown->rect.bottom()) {
                QCOMPARE(text->rect.top(), grown->rect.top()); // amounts stay on the first line
            }
        }
        QVERIFY2(lines.size() >= 2, qPrintable(lines.join('|')));
        QCOMPARE(lines.join(' ').remove(' '), QString(longName).remove(' '));
        QCOMPARE(grown->rect.height(),
                 10 + (lines.size() - 1) * ReportTextWrap::lineStep(ReportFont::regular(8)));
        QCOMPARE(bandsOf(pages[1], Type::Detail).at(1)->rect.top(), grown->rect.bottom());
    }

    void pagination_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("detailsPerPage");
        QTest::addColumn<int>("summaryPage");
        QTest::addColumn<qreal>("summaryTop");

        // Page 1 holds 20 details from y 70, later pages 24 from y 30; the summary is 30 high
        // and the footer starts at 270.
        QTest::newRow("empty") << 0 << QList<int>{0} << 1 << 70.0;
        QTest::newRow("one row") << 1 << QList<int>{1} << 1 << 80.0;
        QTest::newRow("summary fills page 1 exactly") << 17 << QList<int>{17} << 1 << 240.0;
        QTest::newRow("summary one pixel row too many") << 18 << QList<int>{18, 0} << 2 << 30.0;
        QTest::newRow("page 1 full of details") << 20 << QList<int>{20, 0} << 2 << 30.0;
        QTest::newRow("one detail on page 2") << 21 << QList<int>{20, 1} << 2 << 40.0;
        QTest::newRow("page 2 full") << 44 << QList<int>{20, 24, 0} << 3 << 30.0;
        QTest::newRow("three pages of details") << 45 << QList<int>{20, 24, 1} << 3 << 40.0;
    }

    void pagination()
    {
        QFETCH(int, rows);
        QFETCH(QList<int>, detailsPerPage);
        QFETCH(int, summaryPage);
        QFETCH(qreal, summaryTop);

        FakeReportSource source;
        ReportTest::fill(source, rows);
        const QList<ReportPage> pages = layOut(source);

        QCOMPARE(pages.size(), detailsPerPage.size());
        int nextRow = 0;
        for (qsizetype i = 0; i < pages.size(); ++i) {
            const ReportPage &page = pages.at(i);
            QCOMPARE(page.number, int(i) + 1);
            const QList<int> shown = detailRows(page);
            QCOMPARE(shown.size(), detailsPerPage.at(i));
            for (int row : shown)
                QCOMPARE(row, nextRow++); // every row once, in the source's order
            const auto summaries = bandsOf(page, Type::Summary);
            QCOMPARE(summaries.size(), i + 1 == summaryPage ? 1 : 0);
            if (!summaries.isEmpty())
                QCOMPARE(summaries.first()->rect.top(), summaryTop);
        }
        QCOMPARE(nextRow, rows);
    }

    void titleOnFirstPageHeaderAndFooterOnEvery()
    {
        FakeReportSource source;
        ReportTest::fill(source, 45);
        const QList<ReportPage> pages = layOut(source);
        QCOMPARE(pages.size(), 3);

        for (const ReportPage &page : pages) {
            const auto titles = bandsOf(page, Type::Title);
            const auto headers = bandsOf(page, Type::ColumnHeader);
            const auto footers = bandsOf(page, Type::PageFooter);
            QCOMPARE(titles.size(), page.number == 1 ? 1 : 0);
            QCOMPARE(headers.size(), 1);
            QCOMPARE(footers.size(), 1);
            QCOMPARE(headers.first()->rect,
                     page.number == 1 ? QRectF(10, 50, 480, 20) : QRectF(10, 10, 480, 20));
            QCOMPARE(footers.first()->rect, QRectF(10, 270, 480, 20));

            const auto dates = textsOf(page, ReportItem::Kind::Date);
            QCOMPARE(dates.size(), page.number == 1 ? 1 : 0);
            const auto numbers = textsOf(page, ReportItem::Kind::PageNumber);
            QCOMPARE(numbers.size(), 1);
            QCOMPARE(numbers.first()->text, QStringLiteral("Page %1").arg(page.number));
        }
        const auto dates = textsOf(pages.first(), ReportItem::Kind::Date);
        QCOMPARE(dates.first()->text, QStringLiteral("Imprimé le 05/03/26"));
        QCOMPARE(dates.first()->rect, QRectF(310, 10, 170, 40));
    }

    void detailTextsAndGeometry()
    {
        FakeReportSource source;
        source.addRow({{"Nom", "DUPONT"}, {"Montant", "12,50 €"}}, {{"Montant", 1250}});
        source.addRow({{"Nom", "MARTIN"}}, {{"Montant", std::nullopt}});
        const ReportPage page = layOut(source).first();

        QList<const ReportPlacedText *> fields = textsOf(page, ReportItem::Kind::Field);
        QCOMPARE(fields.size(), 4);
        QCOMPARE(fields.at(0)->text, QStringLiteral("DUPONT"));
        QCOMPARE(fields.at(0)->rect, QRectF(20, 70, 150, 10));
        QCOMPARE(fields.at(0)->alignment, Qt::AlignLeft);
        QVERIFY(fields.at(0)->elide);
        QCOMPARE(fields.at(1)->text, QStringLiteral("12,50 €"));
        QCOMPARE(fields.at(1)->fieldName, QStringLiteral("Montant"));
        // "ending at 300" on a band starting at x 10.
        QCOMPARE(fields.at(1)->rect.right(), 310.0);
        QCOMPARE(fields.at(1)->alignment, Qt::AlignRight);
        QVERIFY(fields.at(1)->font.bold);
        QCOMPARE(fields.at(1)->font.pixelSize, 8);
        QCOMPARE(fields.at(2)->rect.top(), 80.0);
        QCOMPARE(fields.at(3)->text, QString()); // an empty amount prints nothing
    }

    void pageNumberAgainstRightEdge()
    {
        FakeReportSource source;
        const ReportPage page = layOut(source).first();
        const auto numbers = textsOf(page, ReportItem::Kind::PageNumber);
        QCOMPARE(numbers.first()->rect, QRectF(410, 270, 80, 20));
        QCOMPARE(numbers.first()->alignment, Qt::AlignRight);
    }

    void rulesAcrossTheBand()
    {
        FakeReportSource source;
        ReportTest::fill(source, 1);
        const ReportPage page = layOut(source).first();
        // Header 50-70: top and bottom; summary from 80: its top.
        const QList<QLineF> expected{QLineF(10, 50, 490, 50), QLineF(10, 70, 490, 70),
                                     QLineF(10, 80, 490, 80)};
        QCOMPARE(page.lines, expected);
    }

    void sums_data()
    {
        QTest::addColumn<QList<std::optional<qint64>>>("amounts");
        QTest::addColumn<QString>("expected");

        using Amounts = QList<std::optional<qint64>>;
        QTest::newRow("no rows") << Amounts{} << QStringLiteral("0,00 F");
        QTest::newRow("only empty amounts")
            << Amounts{std::nullopt, std::nullopt} << QStringLiteral("0,00 F");
        QTest::newRow("empty counts zero")
            << Amounts{123450, std::nullopt, 1005} << QStringLiteral("1\u202F244,55 F");
        QTest::newRow("refund") << Amounts{1000, -1550} << QStringLiteral("-5,50 F");
        QTest::newRow("back to zero") << Amounts{10, -10} << QStringLiteral("0,00 F");
        QTest::newRow("cents stay exact")
            << Amounts(1000, 1) << QStringLiteral("10,00 F"); // a thousand times 0,01
        QTest::newRow("millions") << Amounts{99999999, 1}
                                  << QStringLiteral("1\u202F000\u202F000,00 F");
    }

    void sums()
    {
        QFETCH(QList<std::optional<qint64>>, amounts);
        QFETCH(QString, expected);

        FakeReportSource source;
        for (const std::optional<qint64> &amount : amounts)
            source.addRow({{"Nom", "X"}}, {{"Montant", amount}});
        const QList<ReportPage> pages = layOut(source);
        const auto sums = textsOf(pages.last(), ReportItem::Kind::Sum);
        QCOMPARE(sums.size(), 1);
        QCOMPARE(sums.first()->text, expected);
        QCOMPARE(sums.first()->rect.right(), 310.0);
    }

    void sumInFooterRunsPageByPage()
    {
        ReportDefinition report = ReportTest::definition();
        report.bands.last().items << ReportItem::sum(QStringLiteral("Montant"),
                                                     QStringLiteral("#,##0.00 €"),
                                                     ReportFont::regular(8))
                                         .from(150, 100);
        FakeReportSource source;
        ReportTest::fill(source, 30); // 20 on page 1, 10 on page 2
        const QList<ReportPage> pages = ReportLayout::run(report, source, ReportTest::testPage());
        QCOMPARE(pages.size(), 2);
        QCOMPARE(textsOf(pages.at(0), ReportItem::Kind::Sum).first()->text,
                 QStringLiteral("20,00 €"));
        const auto lastSums = textsOf(pages.at(1), ReportItem::Kind::Sum);
        QCOMPARE(lastSums.size(), 2); // summary and footer
        for (const ReportPlacedText *sum : lastSums)
            QCOMPARE(sum->text.left(5), QStringLiteral("30,00"));
    }

    void everyRunRestartsAtTheFirstRow()
    {
        FakeReportSource source;
        ReportTest::fill(source, 3);
        source.runToEnd();
        const QList<ReportPage> first = layOut(source);
        QCOMPARE(detailRows(first.first()), (QList<int>{0, 1, 2}));
        const QList<ReportPage> second = layOut(source);
        QCOMPARE(detailRows(second.first()), (QList<int>{0, 1, 2}));
        QCOMPARE(textsOf(second.first(), ReportItem::Kind::Sum).first()->text,
                 QStringLiteral("3,00 F")); // not 6,00: sums start again from zero
    }

    void pageTooSmallIsRefused_data()
    {
        QTest::addColumn<qreal>("height");
        // Printable height = height - 20; title, header and footer take 80, a detail 10.
        QTest::newRow("not even the bands of page 1") << 90.0;
        QTest::newRow("no room for one detail") << 109.0;
    }

    void pageTooSmallIsRefused()
    {
        QFETCH(qreal, height);
        FakeReportSource source;
        ReportTest::fill(source, 2);
        const ReportPageGeometry tiny(QSizeF(500, height), QMarginsF(10, 10, 10, 10));
        try {
            ReportLayout::run(ReportTest::definition(), source, tiny);
            QFAIL("a page too small was accepted");
        } catch (const PlatformError &error) {
            QCOMPARE(error.message(), QStringLiteral("Le format de papier de l'imprimante est "
                                                     "trop petit pour ce document."));
        }
    }

    void smallestWorkablePage()
    {
        FakeReportSource source;
        ReportTest::fill(source, 2);
        // Room for exactly one detail under the title and header (70-80); page 2 has its
        // header (10-30), the second detail (30-40) and the summary (40-70) above the footer.
        const ReportPageGeometry page(QSizeF(500, 110), QMarginsF(10, 10, 10, 10));
        const QList<ReportPage> pages = ReportLayout::run(ReportTest::definition(), source, page);
        QCOMPARE(pages.size(), 2);
        QCOMPARE(detailRows(pages.at(0)), QList<int>{0});
        QCOMPARE(detailRows(pages.at(1)), QList<int>{1});
        QCOMPARE(bandsOf(pages.at(1), Type::Summary).first()->rect.top(), 40.0);
    }

    void paperGeometry_data()
    {
        QTest::addColumn<QPageSize>("paper");
        QTest::addColumn<QSizeF>("pixels");

        // Millimetres / 25.4 * 96.
        QTest::newRow("A4") << QPageSize(QPageSize::A4) << QSizeF(793.7007874, 1122.519685);
        QTest::newRow("Letter") << QPageSize(QPageSize::Letter) << QSizeF(816, 1056);
        QTest::newRow("landscape paper turned portrait")
            << QPageSize(QSizeF(297, 210), QPageSize::Millimeter)
            << QSizeF(793.7007874, 1122.519685);
        QTest::newRow("unknown paper is A4") << QPageSize() << QSizeF(793.7007874, 1122.519685);
    }

    void paperGeometry()
    {
        QFETCH(QPageSize, paper);
        QFETCH(QSizeF, pixels);
        const ReportPageGeometry geometry(paper);
        QVERIFY(qAbs(geometry.pagePixels().width() - pixels.width()) < 0.01);
        QVERIFY(qAbs(geometry.pagePixels().height() - pixels.height()) < 0.01);
        // Margins of 10 mm = 37.80 pixels.
        const QRectF area = geometry.printableRect();
        QVERIFY(qAbs(area.left() - 37.795) < 0.01);
        QVERIFY(qAbs(area.top() - 37.795) < 0.01);
        QVERIFY(qAbs(geometry.pagePixels().width() - area.right() - 37.795) < 0.01);
        QVERIFY(qAbs(geometry.pageSize().size(QPageSize::Millimeter).width() -
                     pixels.width() * 25.4 / 96) < 0.01);
    }

    void a4BandHoldsTheWidestColumns()
    {
        // The report definitions place items up to 716 pixels from the band's left edge.
        QVERIFY(ReportPageGeometry(QPageSize(QPageSize::A4)).printableRect().width() >= 716);
    }
};

QTEST_MAIN(TestReportLayout)
#include "test_report_layout.moc"
