#include "support/PdfTools.h"

#include "followup/FollowUpReport.h"
#include "followup/YearSummaryReport.h"
#include "platform/core/Formats.h"
#include "platform/core/Today.h"
#include "platform/report/ReportPdfWriter.h"
#include "register/YearSummary.h"

#include <QTemporaryDir>
#include <QtTest>

// The printed follow-up and year summary, as laid-out pages and as a PDF.
class TestFollowUpReports : public QObject
{
    Q_OBJECT

private:
    static CareFacts entry(const QDate &date, const char *name, qint64 cost, bool cpamPaid)
    {
        CareFacts facts;
        facts.date = date;
        facts.beneficiary = QString::fromUtf8(name);
        facts.cost = cost;
        facts.cpamPaid = cpamPaid;
        return facts;
    }
    static QStringList texts(const ReportPage &page)
    {
        QStringList list;
        for (const ReportPlacedText &text : page.texts)
            list << text.text;
        return list;
    }
    static qreal footerTop(const ReportPage &page)
    {
        for (const ReportPlacedBand &band : page.bands) {
            if (band.type == ReportBand::Type::PageFooter)
                return band.rect.top();
        }
        return 1e9;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Today::pinForTesting(QDate(2026, 12, 8));
    }

    // However many lines, the age bands come whole after the last one, above the footer.
    void bandsCloseTheReport_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("pages");
        for (auto [lines, pages] : {std::pair{1, 1}, {39, 1}, {44, 2}, {120, 3}})
            QTest::addRow("%d lines", lines) << lines << pages;
    }
    void bandsCloseTheReport()
    {
        QFETCH(int, lines);
        std::vector<CareFacts> entries;
        for (int i = 0; i < lines; ++i)
            entries.push_back(entry(Today::date().addDays(-i), "ANNE", 1000, i % 2));
        const ReimbursementFollowUp followUp(entries, Today::date());
        const QList<ReportPage> pages = FollowUpReport::layOut(
            followUp, QStringLiteral("Bénéficiaire : TOUS"), ReportPageGeometry());
        QTEST(int(pages.size()), "pages");
        QVERIFY(texts(pages.first()).contains("Remboursements attendus"));
        QVERIFY(texts(pages.first()).contains("Imprimé le 08/12/26"));
        const ReportPage &last = pages.last();
        const QStringList shown = texts(last);
        const qsizetype total = shown.lastIndexOf("Total");
        QVERIFY(total > 0);
        // Total row: C.P.A.M., Mutuelle, à vérifier, all.
        const qint64 cpam = ((lines + 1) / 2) * 1000, mutual = (lines / 2) * 1000;
        QCOMPARE(shown.mid(total + 1, 4),
                 QStringList({Formats::money(cpam), Formats::money(mutual), Formats::money(0),
                              Formats::money(cpam + mutual)}));
        const qreal footer = footerTop(last);
        for (const ReportPlacedText &text : last.texts)
            QVERIFY(text.rect.top() >= footer || text.rect.bottom() <= footer + 0.5);
    }

    // A long name comes whole, over more lines, and what is left to check has its own column:
    // the awaited columns add up to what the follow-up prints.
    void yearSummaryPrintsWholeNamesAndWhatToCheck()
    {
        CareFacts overPaid = entry(QDate(2026, 3, 1), "JEAN-BAPTISTE DUPONT-LAMBERTIN", 5000, true);
        overPaid.cpam = 4000;
        overPaid.mutual = 2000;
        overPaid.mutuellePaid = true;
        const std::vector<CareFacts> entries = {overPaid,
                                                entry(QDate(2026, 4, 1), "ZOÉ", 7000, false)};
        const YearSummary summary(entries, 2026);
        const ReportPage page = YearSummaryReport::layOut(summary, ReportPageGeometry()).first();
        const QStringList shown = texts(page);
        QVERIFY2(shown.join(' ').contains("JEAN-BAPTISTE DUPONT-LAMBERTIN") ||
                     shown.join("").contains("JEAN-BAPTISTE DUPONT-LAMBERTIN"),
                 qPrintable(shown.join('|')));
        QVERIFY(shown.contains("À vérifier"));
        QVERIFY(shown.contains(Formats::money(-1000)));
        for (const QString &text : shown)
            QVERIFY2(!text.contains(QChar(0x2026)) && !text.endsWith("..."), qPrintable(text));
        const ReimbursementFollowUp followUp(entries, Today::date());
        QCOMPARE(summary.total().awaited(), followUp.total());
        QCOMPARE(summary.total().family, 0);
    }

    // What the C.P.A.M. withheld is printed per person and year against the caps, on its own
    // line across the amounts' columns.
    void yearSummaryPrintsWithheldAgainstTheCaps()
    {
        CareFacts consultation = entry(QDate(2026, 3, 1), "ZOÉ", 3000, true);
        consultation.cpam = 1900;
        CareFacts boxes = entry(QDate(2026, 4, 1), "ZOÉ", 1234, true);
        boxes.speciality = QStringLiteral("Pharmacie");
        boxes.act = CareAct::Medicine;
        boxes.cpam = 502;
        const YearSummary summary({consultation, boxes}, 2026);
        const QStringList shown =
            texts(YearSummaryReport::layOut(summary, ReportPageGeometry()).first());
        // The heading wraps in the names' column.
        QVERIFY(shown.join(' ').contains("Franchises et participations"));
        const qsizetype line = shown.indexOf("ZOÉ (2026)");
        QVERIFY2(line > 0, qPrintable(shown.join('|')));
        QCOMPARE(
            shown.indexOf(QStringLiteral("Participations : %1 sur %2   Franchises : %3 sur %2")
                              .arg(Formats::money(200), Formats::money(5000), Formats::money(300))),
            line + 2);
        QVERIFY(shown.contains(QStringLiteral("Participations : %1   Franchises : %2")
                                   .arg(Formats::money(200), Formats::money(300))));
    }

    // Ages as a person says them, and the old lines counted in their own band.
    void followUpPrintsAgesInWords()
    {
        const std::vector<CareFacts> entries = {entry(QDate(1995, 1, 10), "ANNE", 1000, false),
                                                entry(QDate(2026, 9, 1), "ANNE", 2000, false),
                                                entry(QDate(2026, 12, 1), "ANNE", 3000, false)};
        const ReimbursementFollowUp followUp(entries, Today::date());
        const QStringList shown =
            texts(FollowUpReport::layOut(followUp, QString(), ReportPageGeometry()).first());
        for (const char *age : {"31 ans", "3 mois", "7 jours"})
            QVERIFY2(shown.contains(age), age);
        const qsizetype old = shown.indexOf("Plus de 2 ans");
        QVERIFY(old > 0);
        QCOMPARE(shown.at(old + 1), Formats::money(1000));
    }

    void yearSummaryPrintsItsCharts()
    {
        const std::vector<CareFacts> entries = {entry(QDate(2026, 3, 1), "ANNE", 5000, false),
                                                entry(QDate(2026, 4, 1), "ZOÉ", 7000, true)};
        const YearSummary summary(entries, 2026);
        const QList<ReportPage> pages = YearSummaryReport::layOut(summary, ReportPageGeometry());
        QCOMPARE(pages.size(), 1);
        const ReportPage &page = pages.first();
        QCOMPARE(page.images.size(), 2);
        for (const ReportPlacedImage &image : page.images) {
            QVERIFY(!image.image.isNull());
            QVERIFY(image.rect.bottom() <= footerTop(page));
        }
        QVERIFY(texts(page).contains("Bilan annuel (2026)"));
        QVERIFY(texts(page).contains("ZOÉ"));
        QVERIFY(texts(page).contains(Formats::money(12000)));

        QTemporaryDir dir;
        const QString file = dir.filePath("bilan.pdf");
        ReportPdfWriter::write(file, pages, ReportPageGeometry(), QStringLiteral("Bilan annuel"));
        const QString pdfText = PdfTools::text(file);
        QVERIFY2(pdfText.contains("Bilan annuel (2026)"), qPrintable(pdfText));
        QVERIFY(pdfText.contains("Par spécialité"));
    }
};

QTEST_MAIN(TestFollowUpReports)
#include "test_follow_up_reports.moc"
