#include "platform/core/PlatformError.h"
#include "platform/core/Today.h"
#include "platform/report/LazyReportPages.h"
#include "platform/report/ReportLayout.h"

#include "support/ReportTestDefinition.h"

#include <QLocale>
#include <QTest>

namespace
{

// Everything a page holds, one line per band, text and rule, to compare pages readably.
QStringList dump(const ReportPage &page)
{
    const auto rect = [](const QRectF &r) {
        return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    };
    QStringList lines{QStringLiteral("page %1").arg(page.number)};
    for (const ReportPlacedBand &band : page.bands)
        lines << QStringLiteral("band %1 %2 row %3")
                     .arg(int(band.type))
                     .arg(rect(band.rect))
                     .arg(band.row);
    for (const ReportPlacedText &text : page.texts)
        lines << QStringLiteral("text %1 '%2' %3 font %4 align %5 elide %6 field %7")
                     .arg(int(text.kind))
                     .arg(text.text, rect(text.rect))
                     .arg(text.font.key())
                     .arg(int(text.alignment))
                     .arg(text.elide)
                     .arg(text.fieldName);
    for (const QLineF &line : page.lines)
        lines << QStringLiteral("line %1,%2 %3,%4")
                     .arg(line.x1())
                     .arg(line.y1())
                     .arg(line.x2())
                     .arg(line.y2());
    return lines;
}

const QString longName =
    QStringLiteral("Jean-Baptiste de la Rochefoucauld-Montmorency de Saint-Germain");

} // namespace

// Pages laid out one at a time, when asked for, are the pages a whole run lays out.
class TestLazyReportPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Today::pinForTesting(QDate(2026, 3, 5));
    }
    void cleanupTestCase() { Today::unpin(); }

    void sameAsEveryPageAtOnce_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("grownRow"); // a row whose name goes on over more lines, or -1
        QTest::addColumn<bool>("footerSum");
        QTest::addColumn<int>("pages");

        // Page 1 holds 20 details, later pages 24; the summary needs 3 details' room.
        QTest::newRow("no rows") << 0 << -1 << false << 1;
        QTest::newRow("summary fills page 1 exactly") << 17 << -1 << false << 1;
        QTest::newRow("summary spills onto page 2") << 18 << -1 << false << 2;
        QTest::newRow("page 1 exactly full of details") << 20 << -1 << false << 2;
        QTest::newRow("one page and one row") << 21 << -1 << false << 2;
        QTest::newRow("many pages") << 200 << -1 << false << 9;
        QTest::newRow("a grown row moves to the next page") << 21 << 19 << false << 2;
        QTest::newRow("a grown row in the middle") << 200 << 100 << false << 9;
        QTest::newRow("running sum in every footer") << 200 << 30 << true << 9;
    }

    void sameAsEveryPageAtOnce()
    {
        QFETCH(int, rows);
        QFETCH(int, grownRow);
        QFETCH(bool, footerSum);
        QFETCH(int, pages);

        ReportDefinition report = ReportTest::definition();
        ReportItem &name = report.bands[2].items[0];
        name.elide = false;
        name.wrap = true;
        if (footerSum)
            report.bands.last().items
                << ReportItem::sum(QStringLiteral("Montant"), QStringLiteral("#,##0.00 €"),
                                   ReportFont::regular(8))
                       .from(150, 100);
        FakeReportSource source;
        for (int i = 0; i < rows; ++i)
            source.addRow({{"Nom", i == grownRow ? longName : QStringLiteral("Nom %1").arg(i)},
                           {"Montant", "1,00"}},
                          {{"Montant", 100 + i}});
        const QList<ReportPage> expected =
            ReportLayout::run(report, source, ReportTest::testPage());
        QCOMPARE(expected.size(), pages);

        LazyReportPages lazy(report, source, ReportTest::testPage());
        QCOMPARE(lazy.count(), pages);
        // Last page first, then backwards past what is kept, then forwards again, as a user
        // pages through: each page always the same.
        QList<int> order{pages - 1};
        for (int i = pages - 1; i >= 0; --i)
            order << i;
        for (int i = 0; i < pages; ++i)
            order << i;
        for (int index : order)
            QCOMPARE(dump(lazy.page(index)), dump(expected.at(index)));
    }

    void pageTooSmallIsRefusedAtOnce()
    {
        FakeReportSource source;
        ReportTest::fill(source, 2);
        const ReportPageGeometry tiny(QSizeF(500, 109), QMarginsF(10, 10, 10, 10));
        QVERIFY_THROWS_EXCEPTION(PlatformError,
                                 LazyReportPages(ReportTest::definition(), source, tiny));
    }
};

QTEST_MAIN(TestLazyReportPages)
#include "test_lazy_report_pages.moc"
