#include "reports/CareListReport.h"
#include "reports/DoctorsListReport.h"

#include "platform/core/Formats.h"
#include "platform/core/Today.h"
#include "platform/report/ReportLayout.h"

#include "support/FakeReportSource.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QTest>

namespace
{

using Type = ReportBand::Type;
using Kind = ReportItem::Kind;

const ReportItem *findItem(const ReportBand &band, Kind kind, const QString &key)
{
    for (const ReportItem &item : band.items) {
        if (item.kind == kind && (item.text == key || item.fieldName == key))
            return &item;
    }
    return nullptr;
}

QList<Type> bandTypes(const ReportDefinition &report)
{
    QList<Type> types;
    for (const ReportBand &band : report.bands)
        types.append(band.type);
    return types;
}

QList<qreal> bandHeights(const ReportDefinition &report)
{
    QList<qreal> heights;
    for (const ReportBand &band : report.bands)
        heights.append(band.height);
    return heights;
}

} // namespace

Q_DECLARE_METATYPE(ReportDefinition)

// The two report definitions: every band and item where the reports' layout puts them.
class TestReportDefinitions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Today::pinForTesting(QDate(2026, 3, 5));
    }
    void cleanupTestCase() { Today::unpin(); }

    void careListBands()
    {
        const ReportDefinition report = CareListReport::definition();
        QCOMPARE(report.title, QStringLiteral("Liste des soins"));
        QCOMPARE(bandTypes(report), (QList<Type>{Type::Title, Type::ColumnHeader, Type::Detail,
                                                 Type::Summary, Type::PageFooter}));
        QCOMPARE(bandHeights(report), (QList<qreal>{37, 24, 24, 24, 24}));

        checkTitle(report, QStringLiteral("Liste des soins classés par date"), 342, 608, 705);
    }

    void careListHeadings_data() { headingsData(careHeadings()); }
    void careListHeadings() { checkHeading(CareListReport::definition()); }

    void careListDetail_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<qreal>("edge"); // the left edge, or the right one when right-aligned
        QTest::addColumn<bool>("right");
        QTest::addColumn<bool>("bold");
        QTest::newRow("Date soins") << "Date soins" << 10.0 << false << false;
        QTest::newRow("Beneficiaire") << "Beneficiaire" << 70.0 << false << false;
        QTest::newRow("Medecin") << "Medecin" << 180.0 << false << false;
        QTest::newRow("Cout") << "Cout" << 350.0 << true << true;
        QTest::newRow("Date CPAM") << "Date CPAM" << 395.0 << false << false;
        QTest::newRow("Montant CPAM") << "Montant CPAM" << 525.0 << true << true;
        QTest::newRow("Date mutuelle") << "Date mutuelle" << 578.0 << false << false;
        QTest::newRow("Montant mutuelle") << "Montant mutuelle" << 709.0 << true << true;
    }

    void careListDetail() { checkDetail(CareListReport::definition(), 8); }

    void careListSums_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<qreal>("right");
        QTest::newRow("Cout") << "Cout" << 349.0;
        QTest::newRow("Montant CPAM") << "Montant CPAM" << 523.0;
        QTest::newRow("Montant mutuelle") << "Montant mutuelle" << 706.0;
    }

    void careListSums()
    {
        QFETCH(QString, field);
        QFETCH(qreal, right);
        const ReportDefinition report = CareListReport::definition();
        const ReportBand &summary = *report.band(Type::Summary);
        const ReportItem *sum = findItem(summary, Kind::Sum, field);
        QVERIFY(sum);
        QCOMPARE(sum->left + sum->width, right);
        QCOMPARE(sum->alignment, Qt::AlignRight);
        QCOMPARE(sum->mask, QStringLiteral("#,##0.00 €"));
        QCOMPARE(sum->font, ReportFont::boldFont(12));
        QCOMPARE(summary.items.first().kind, Kind::Shape);
        QCOMPARE(summary.items.first().shapeKind, ReportItem::ShapeKind::HorizontalLine);
    }

    void careListFooter() { checkFooter(CareListReport::definition()); }

    void doctorsListBands()
    {
        const ReportDefinition report = DoctorsListReport::definition();
        QCOMPARE(report.title, QStringLiteral("Liste des médecins"));
        QCOMPARE(bandTypes(report),
                 (QList<Type>{Type::Title, Type::ColumnHeader, Type::Detail, Type::PageFooter}));
        QCOMPARE(bandHeights(report), (QList<qreal>{37, 24, 24, 24}));

        checkTitle(report, QStringLiteral("Liste des médecins"), 206, 618, 715);
    }

    void doctorsListHeadings_data() { headingsData(doctorHeadings()); }
    void doctorsListHeadings() { checkHeading(DoctorsListReport::definition()); }

    void doctorsListDetail_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<qreal>("edge");
        QTest::addColumn<bool>("right");
        QTest::addColumn<bool>("bold");
        QTest::newRow("Nom") << "Nom" << 10.0 << false << false;
        QTest::newRow("Prenom") << "Prenom" << 125.0 << false << false;
        QTest::newRow("Specialite") << "Specialite" << 225.0 << false << false;
        QTest::newRow("Adresse") << "Adresse" << 346.0 << false << false;
        QTest::newRow("Ville") << "Ville" << 530.0 << false << false;
        QTest::newRow("Tel") << "Tel" << 716.0 << true << false;
    }

    // Six fields: the postal code is not among them.
    void doctorsListDetail() { checkDetail(DoctorsListReport::definition(), 6); }

    void doctorsListFooter() { checkFooter(DoctorsListReport::definition()); }

    void everyItemFitsAnA4Band_data()
    {
        QTest::addColumn<ReportDefinition>("report");
        QTest::newRow("care list") << CareListReport::definition();
        QTest::newRow("doctors list") << DoctorsListReport::definition();
    }

    void everyItemFitsAnA4Band()
    {
        QFETCH(ReportDefinition, report);
        const qreal bandWidth =
            ReportPageGeometry(QPageSize(QPageSize::A4)).printableRect().width();
        for (const ReportBand &band : report.bands) {
            for (const ReportItem &item : band.items) {
                QVERIFY(item.left >= 0);
                QVERIFY2(item.left + item.width <= bandWidth,
                         qPrintable(item.text + item.fieldName));
            }
        }
    }

    void detailTextsDoNotOverlap_data() { everyItemFitsAnA4Band_data(); }

    void detailTextsDoNotOverlap()
    {
        QFETCH(ReportDefinition, report);
        QList<ReportItem> items = report.band(Type::Detail)->items;
        std::sort(items.begin(), items.end(),
                  [](const ReportItem &a, const ReportItem &b) { return a.left < b.left; });
        // A visible gap between two columns, whatever they hold.
        for (qsizetype i = 1; i < items.size(); ++i)
            QVERIFY2(items.at(i - 1).left + items.at(i - 1).width + 4 <= items.at(i).left,
                     qPrintable(items.at(i).fieldName));
        for (const ReportItem &item : std::as_const(items)) {
            // Amounts are never cut nor wrapped: the widest one fits its box. Texts either
            // wrap or, for dates and telephone numbers of a fixed shape, fit.
            const QFontMetricsF metrics(item.font.toQFont(1));
            if (item.alignment == Qt::AlignRight && !item.elide) {
                QVERIFY(!item.wrap);
                const qreal widest = metrics.horizontalAdvance(Formats::money(-99999999));
                QVERIFY2(widest <= item.width,
                         qPrintable(QStringLiteral("%1: %2").arg(item.fieldName).arg(widest)));
            } else if (item.fieldName.startsWith("Date") || item.fieldName == "Tel") {
                QVERIFY(metrics.horizontalAdvance(
                            item.fieldName == "Tel" ? "00-00-00-00-00" : "00/00/00") <= item.width);
            } else {
                QVERIFY2(item.wrap && !item.elide, qPrintable(item.fieldName));
            }
        }
    }

private:
    using Headings = QList<std::pair<qreal, QString>>;

    static Headings careHeadings()
    {
        return {{10, "DATE"},      {70, "BENEFICIAIRE"}, {180, "MEDECIN"},  {305, "COÛT"},
                {396, "C.P.A.M."}, {466, "MONTANT"},     {576, "MUTUELLE"}, {654, "MONTANT"}};
    }

    static Headings doctorHeadings()
    {
        return {{10, "NOM"},      {125, "PRENOM"}, {225, "SPECIALITE"},
                {346, "ADRESSE"}, {529, "VILLE"},  {630, "TELEPHONE"}};
    }

    // The caption centred in its box from 10, the date of printing right-aligned in its box.
    static void checkTitle(const ReportDefinition &report, const QString &caption, qreal width,
                           qreal dateLeft, qreal dateRight)
    {
        const ReportBand &title = *report.band(Type::Title);
        const ReportItem *label = findItem(title, Kind::Label, caption);
        QVERIFY(label);
        QCOMPARE(label->left, 10.0);
        QCOMPARE(label->width, width);
        QCOMPARE(label->alignment, Qt::AlignHCenter);
        QCOMPARE(label->font, ReportFont::regular(24));
        const ReportItem *date = findItem(title, Kind::Date, QStringLiteral("Imprimé le "));
        QVERIFY(date);
        QCOMPARE(date->left, dateLeft);
        QCOMPARE(date->left + date->width, dateRight);
        QCOMPARE(date->alignment, Qt::AlignRight);
        QCOMPARE(date->font, ReportFont::italicFont(11));
    }

    static void headingsData(const Headings &headings)
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<qreal>("left");
        QTest::addColumn<QString>("text");
        for (qsizetype i = 0; i < headings.size(); ++i)
            QTest::addRow("%s at %d", qPrintable(headings.at(i).second), int(headings.at(i).first))
                << int(i) << headings.at(i).first << headings.at(i).second;
    }

    static void checkHeading(const ReportDefinition &report)
    {
        QFETCH(int, index);
        QFETCH(qreal, left);
        QFETCH(QString, text);
        const ReportBand &header = *report.band(Type::ColumnHeader);
        // A rule along the top and bottom, then the headings from left to right.
        QCOMPARE(header.items.first().kind, Kind::Shape);
        QCOMPARE(header.items.first().shapeKind, ReportItem::ShapeKind::TopAndBottom);
        const ReportItem &item = header.items.at(index + 1);
        QCOMPARE(item.kind, Kind::Label);
        QCOMPARE(item.text, text);
        QCOMPARE(item.left, left);
        QCOMPARE(item.alignment, Qt::AlignLeft);
        QCOMPARE(item.font, ReportFont::boldFont(12));
    }

    static void checkDetail(const ReportDefinition &report, int fieldCount)
    {
        QFETCH(QString, field);
        QFETCH(qreal, edge);
        QFETCH(bool, right);
        QFETCH(bool, bold);
        const ReportBand &detail = *report.band(Type::Detail);
        QCOMPARE(detail.items.size(), fieldCount);
        const ReportItem *item = findItem(detail, Kind::Field, field);
        QVERIFY(item);
        QCOMPARE(right ? item->left + item->width : item->left, edge);
        QCOMPARE(item->alignment, right ? Qt::AlignRight : Qt::AlignLeft);
        QCOMPARE(item->font, bold ? ReportFont::boldFont(12) : ReportFont::regular(12));
    }

    static void checkFooter(const ReportDefinition &report)
    {
        const ReportBand &footer = *report.band(Type::PageFooter);
        QCOMPARE(footer.items.size(), 2);
        const ReportItem *label = findItem(footer, Kind::Label, QStringLiteral("Talo 3.0"));
        QVERIFY(label);
        QCOMPARE(label->left, 12.0);
        QCOMPARE(label->font, ReportFont::italicFont(11));
        const ReportItem *number = findItem(footer, Kind::PageNumber, QStringLiteral("Page "));
        QVERIFY(number);
        QVERIFY(number->anchoredRight);
        QCOMPARE(number->alignment, Qt::AlignRight);
    }
};

QTEST_MAIN(TestReportDefinitions)
#include "test_report_definitions.moc"
