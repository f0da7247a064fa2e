#include "reports/CareListReport.h"
#include "reports/DoctorsListReport.h"

#include "platform/core/Today.h"
#include "platform/report/ReportLayout.h"
#include "platform/report/ReportPdfWriter.h"
#include "platform/widgets/DefaultPrinter.h"

#include "support/FakeReportSource.h"
#include "support/PdfTools.h"

#include <QDir>
#include <QFontMetricsF>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace
{

using Type = ReportBand::Type;

// Care entry n (from 1): on day n of 1997 counted from 01/01/97, beneficiary PIERRE or
// MARIE, 30,00 paid, 21,00 back from the CPAM, 9,00 from the mutuelle on even entries only.
void fillCare(FakeReportSource &source, int count)
{
    for (int n = 1; n <= count; ++n) {
        const QString date = QDate(1997, 1, 1).addDays(n - 1).toString(QStringLiteral("dd/MM/yy"));
        const bool even = n % 2 == 0;
        source.addRow({{"Date soins", date},
                       {"Beneficiaire", even ? "MARIE" : "PIERRE"},
                       {"Medecin", QStringLiteral("DR %1").arg(n)},
                       {"Cout", "30,00 €"},
                       {"Date CPAM", date},
                       {"Montant CPAM", "21,00 €"},
                       {"Date mutuelle", even ? date : QString()},
                       {"Montant mutuelle", even ? "9,00 €" : QString()}},
                      {{"Cout", 3000},
                       {"Montant CPAM", 2100},
                       {"Montant mutuelle", even ? std::optional<qint64>(900) : std::nullopt}});
    }
}

QList<int> detailsPerPage(const QList<ReportPage> &pages)
{
    QList<int> counts;
    for (const ReportPage &page : pages) {
        int n = 0;
        for (const ReportPlacedBand &band : page.bands)
            n += band.type == Type::Detail ? 1 : 0;
        counts.append(n);
    }
    return counts;
}

const ReportPlacedText *findText(const ReportPage &page, const QString &text)
{
    for (const ReportPlacedText &placed : page.texts) {
        if (placed.text == text)
            return &placed;
    }
    return nullptr;
}

// Rows as a household fills them over years: long names, towns and addresses, amounts of
// every size up to 999 999,99 €.
void fillLongCare(FakeReportSource &source)
{
    const QStringList amounts{"30,00 €", "12\u202F345,67 €", "999\u202F999,99 €",
                              "-1\u202F234,50 €"};
    for (int n = 0; n < 90; ++n) {
        const QString amount = amounts.at(n % amounts.size());
        source.addRow({{"Date soins", "31/12/26"},
                       {"Beneficiaire", n % 3 ? "PIERRE" : "MARIE-CHRISTINE DUPO"},
                       {"Medecin", n % 2 ? "DR JEAN-BAPTISTE DE LA ROCHEFOUCAULD" : "DR NOËL"},
                       {"Cout", amount},
                       {"Date CPAM", "31/12/26"},
                       {"Montant CPAM", amount},
                       {"Date mutuelle", "31/12/26"},
                       {"Montant mutuelle", amount}},
                      {{"Cout", 3000}, {"Montant CPAM", 2100}, {"Montant mutuelle", 900}});
    }
}

void fillLongDoctors(FakeReportSource &source)
{
    for (int n = 0; n < 150; ++n)
        source.addRow({{"Nom", n % 2 ? "DE LA ROCHEFOUCAULD-MONTMORENCY" : "NOËL"},
                       {"Prenom", "Jean-Baptiste-Emmanuel"},
                       {"Specialite", "Oto-rhino-laryngologiste"},
                       {"Adresse", "3 bis, avenue du Maréchal-de-Lattre-de-Tassigny, bâtiment C"},
                       {"Ville", "Saint-Germain-en-Laye-sur-Seine"},
                       {"Tel", "04-77-12-34-56"}});
}

// Where the ink of a placed text runs, from its alignment and its width in the 96-dpi font.
std::pair<qreal, qreal> inkOf(const ReportPlacedText &text)
{
    const qreal advance =
        std::min(QFontMetricsF(text.font.toQFont(1)).horizontalAdvance(text.text),
                 text.elide ? text.rect.width() : std::numeric_limits<qreal>::max());
    if (text.alignment & Qt::AlignRight)
        return {text.rect.right() - advance, text.rect.right()};
    return {text.rect.left(), text.rect.left() + advance};
}

bool hasLine(const QString &text, const QString &pattern)
{
    return text.contains(QRegularExpression(pattern, QRegularExpression::MultilineOption));
}

} // namespace

// Both reports run over fake rows on A4: pages, sums, and the PDF read back.
class TestReportPrintouts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Today::pinForTesting(QDate(2026, 3, 5));
        DefaultPrinter::overrideForTesting([] { return QPrinterInfo(); }); // A4 paper
        QVERIFY(dir_.isValid());
    }

    void cleanupTestCase()
    {
        DefaultPrinter::restore();
        Today::unpin();
    }

    void careListPages_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("details");
        // A4 with 10 mm margins: 1046.9 pixels of height, of which 24 for the footer. Page 1
        // has 37 + 24 for title and header, room for 40 details; later pages 41.
        QTest::newRow("empty") << 0 << QList<int>{0};
        QTest::newRow("one page with summary") << 39 << QList<int>{39};
        QTest::newRow("summary pushed to page 2") << 40 << QList<int>{40, 0};
        QTest::newRow("two full pages, summary on page 3") << 81 << QList<int>{40, 41, 0};
        QTest::newRow("three pages") << 100 << QList<int>{40, 41, 19};
    }

    void careListPages()
    {
        QFETCH(int, rows);
        QFETCH(QList<int>, details);
        FakeReportSource source;
        fillCare(source, rows);
        const QList<ReportPage> pages =
            ReportLayout::run(CareListReport::definition(), source, DefaultPrinter::pageGeometry());
        QCOMPARE(detailsPerPage(pages), details);
        int summaries = 0;
        for (const ReportPage &page : pages) {
            for (const ReportPlacedBand &band : page.bands)
                summaries += band.type == Type::Summary ? 1 : 0;
        }
        QCOMPARE(summaries, 1);
    }

    void careListPlacesOnA4()
    {
        FakeReportSource source;
        fillCare(source, 1);
        const ReportPage page =
            ReportLayout::run(CareListReport::definition(), source, DefaultPrinter::pageGeometry())
                .first();
        const qreal margin = 37.795; // 10 mm
        const ReportPlacedText *cost = findText(page, QStringLiteral("30,00 €"));
        QVERIFY(cost);
        QVERIFY(qAbs(cost->rect.right() - (margin + 350)) < 0.01);
        QVERIFY(qAbs(cost->rect.top() - (margin + 37 + 24)) < 0.01);
        const ReportPlacedText *number = findText(page, QStringLiteral("Page 1"));
        QVERIFY(number);
        // Against the band's right edge, the page's right margin.
        QVERIFY(qAbs(number->rect.right() - (793.701 - margin)) < 0.01);
        QVERIFY(qAbs(number->rect.bottom() - (1122.520 - margin)) < 0.01);
    }

    void careListPdf()
    {
        FakeReportSource source;
        fillCare(source, 81);
        const QString file = dir_.filePath(QStringLiteral("soins.pdf"));
        ReportPdfWriter::write(file, CareListReport::definition(), source,
                               DefaultPrinter::pageGeometry());

        QCOMPARE(PdfTools::pageCount(file), 3);
        QVERIFY(hasLine(PdfTools::info(file), QStringLiteral("^Title:\\s+Liste des soins$")));
        const QStringList pages = PdfTools::text(file).split(QLatin1Char('\f'));
        QVERIFY(pages.size() >= 3);
        const QString headings = QStringLiteral(
            "^\\s*DATE\\s+BENEFICIAIRE\\s+MEDECIN\\s+COÛT\\s+C\\.P\\.A\\.M\\.\\s+MONTANT\\s+"
            "MUTUELLE\\s+MONTANT$");
        for (int i = 0; i < 3; ++i) {
            const QString &page = pages.at(i);
            QVERIFY2(hasLine(page, headings), qPrintable(page));
            QVERIFY2(hasLine(page, QStringLiteral("^\\s*Talo 3\\.0\\s+Page %1$").arg(i + 1)),
                     qPrintable(page));
            QCOMPARE(hasLine(page, QStringLiteral("^\\s*Liste des soins classés par date\\s+"
                                                  "Imprimé le 05/03/26$")),
                     i == 0);
        }
        QVERIFY2(hasLine(pages.at(0), QStringLiteral("^\\s*01/01/97\\s+PIERRE\\s+DR 1\\s+30,00 €"
                                                     "\\s+01/01/97\\s+21,00 €$")),
                 qPrintable(pages.at(0)));
        QVERIFY(
            hasLine(pages.at(0), QStringLiteral("^\\s*02/01/97\\s+MARIE\\s+DR 2\\s+30,00 €"
                                                "\\s+02/01/97\\s+21,00 €\\s+02/01/97\\s+9,00 €$")));
        QVERIFY(hasLine(pages.at(1), QStringLiteral("^\\s*22/03/97\\s+PIERRE\\s+DR 81\\s")));
        // 81 x 30,00; 81 x 21,00; 40 x 9,00. The text extractor turns the narrow no-break
        // space grouping the thousands into a plain one.
        QVERIFY2(hasLine(pages.at(2), QStringLiteral("^\\s*2 430,00 €\\s+1 701,00 €\\s+"
                                                     "360,00 €$")),
                 qPrintable(pages.at(2)));
    }

    void doctorsListPdf()
    {
        FakeReportSource source;
        source.addRow({{"Nom", "DUPONT"},
                       {"Prenom", "Jean"},
                       {"Specialite", "Généraliste"},
                       {"Adresse", "12 rue des Lilas"},
                       {"Ville", "Lyon"},
                       {"Code postale", "69003"},
                       {"Tel", "04-78-12-34-56"}});
        source.addRow({{"Nom", "MARTIN"}, {"Code postale", "75001"}});
        const QString file = dir_.filePath(QStringLiteral("medecins.pdf"));
        ReportPdfWriter::write(file, DoctorsListReport::definition(), source,
                               DefaultPrinter::pageGeometry());

        QCOMPARE(PdfTools::pageCount(file), 1);
        QVERIFY(hasLine(PdfTools::info(file), QStringLiteral("^Title:\\s+Liste des médecins$")));
        const QString text = PdfTools::text(file);
        QVERIFY2(hasLine(text, QStringLiteral("^\\s*Liste des médecins\\s+Imprimé le 05/03/26$")),
                 qPrintable(text));
        QVERIFY(hasLine(text, QStringLiteral("^\\s*NOM\\s+PRENOM\\s+SPECIALITE\\s+ADRESSE\\s+"
                                             "VILLE\\s+TELEPHONE$")));
        QVERIFY(hasLine(text, QStringLiteral("^\\s*DUPONT\\s+Jean\\s+Généraliste\\s+12 rue des "
                                             "Lilas\\s+Lyon\\s+04-78-12-34-56$")));
        QVERIFY(hasLine(text, QStringLiteral("^\\s*MARTIN$"))); // empty fields print nothing
        QVERIFY(hasLine(text, QStringLiteral("^\\s*Talo 3\\.0\\s+Page 1$")));
        QVERIFY(!text.contains(QStringLiteral("69003")));
        QVERIFY(!text.contains(QStringLiteral("75001")));
    }

    void longTextsWrapAndColumnsKeepApart_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("care");
        QTest::newRow("care list") << "liste-des-soins" << true;
        QTest::newRow("doctors list") << "liste-des-medecins" << false;
    }
    void longTextsWrapAndColumnsKeepApart()
    {
        QFETCH(QString, name);
        QFETCH(bool, care);
        FakeReportSource source;
        care ? fillLongCare(source) : fillLongDoctors(source);
        const ReportDefinition report =
            care ? CareListReport::definition() : DoctorsListReport::definition();
        const QList<ReportPage> pages =
            ReportLayout::run(report, source, DefaultPrinter::pageGeometry());
        QVERIFY(pages.size() >= 3);
        for (const ReportPage &page : pages) {
            QVERIFY(findText(page, QStringLiteral("Page %1").arg(page.number)));
            QMultiMap<qreal, std::pair<qreal, qreal>> lines; // ink of the detail texts by line
            for (const ReportPlacedText &text : page.texts) {
                if (text.kind == ReportItem::Kind::Field && !text.text.isEmpty()) {
                    const auto ink = inkOf(text);
                    QVERIFY2(ink.second - ink.first <= text.rect.width() + 0.01,
                             qPrintable(text.text)); // nothing runs out of its column
                    lines.insert(text.rect.top(), ink);
                }
            }
            for (const qreal top : lines.uniqueKeys()) {
                QList<std::pair<qreal, qreal>> inks = lines.values(top);
                std::sort(inks.begin(), inks.end());
                for (qsizetype i = 1; i < inks.size(); ++i)
                    QVERIFY2(inks.at(i).first - inks.at(i - 1).second >= 4,
                             qPrintable(QStringLiteral("%1 at %2").arg(name).arg(top)));
            }
        }

        // Page images for a person to look at, kept in the build folder.
        const QString folder = QCoreApplication::applicationDirPath() + "/../report-pages";
        QVERIFY(QDir().mkpath(folder));
        const QString pdf = folder + "/" + name + ".pdf";
        ReportPdfWriter::write(pdf, report, source, DefaultPrinter::pageGeometry());
        for (const qsizetype page : {qsizetype(1), (pages.size() + 1) / 2, pages.size()}) {
            const QString prefix = QStringLiteral("%1/%2-page%3").arg(folder, name).arg(page);
            const QString n = QString::number(page);
            PdfTools::run("pdftoppm",
                          {"-png", "-r", "60", "-f", n, "-l", n, "-singlefile", pdf, prefix});
            QVERIFY2(QFileInfo::exists(prefix + ".png"), qPrintable(prefix));
        }
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(TestReportPrintouts)
#include "test_report_printouts.moc"
