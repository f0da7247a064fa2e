#include "platform/core/PlatformError.h"
#include "platform/core/Today.h"
#include "platform/report/ReportLayout.h"
#include "platform/report/ReportPainter.h"
#include "platform/report/ReportPdfWriter.h"
#include "platform/widgets/DefaultPrinter.h"
#include "platform/widgets/ReportPrinter.h"

#include "support/PdfTools.h"
#include "support/ReadOnlyFolder.h"
#include "support/ReportTestDefinition.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

namespace
{

QList<ReportPage> testPages(int rows)
{
    FakeReportSource source;
    ReportTest::fill(source, rows);
    return ReportLayout::run(ReportTest::definition(), source, ReportTest::testPage());
}

QString messageOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const PlatformError &error) {
        return error.message();
    }
    return QStringLiteral("<no error>");
}

} // namespace

// The laid-out pages as they reach paper: PDF files, a printer writing PDF, an image.
class TestReportOutput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Today::pinForTesting(QDate(2026, 3, 5));
        QVERIFY(dir_.isValid());
    }
    void cleanupTestCase() { Today::unpin(); }
    void cleanup() { DefaultPrinter::restore(); }

    void pdfHasPagesAndText()
    {
        const QString file = dir_.filePath(QStringLiteral("essai.pdf"));
        ReportPdfWriter::write(file, testPages(45), ReportTest::testPage(),
                               QStringLiteral("Rapport d'essai"));

        const QString info = PdfTools::info(file);
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n"))),
                 qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Title:\\s+Rapport d'essai"))),
                 qPrintable(info));
        // 500 x 300 pixels at 96 dpi.
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+375 x 225 pts"))),
                 qPrintable(info));

        const QString text = PdfTools::text(file);
        const QStringList pages = text.split(QLatin1Char('\f'));
        QVERIFY2(pages.size() >= 3, qPrintable(text));
        QVERIFY(pages.at(0).contains(QStringLiteral("Titre d'essai")));
        QVERIFY(pages.at(0).contains(QStringLiteral("Imprimé le 05/03/26")));
        QVERIFY(!pages.at(1).contains(QStringLiteral("Titre d'essai")));
        QVERIFY(!pages.at(1).contains(QStringLiteral("Imprimé le")));
        for (int i = 0; i < 3; ++i) {
            QVERIFY2(pages.at(i).contains(QRegularExpression(QStringLiteral("NOM\\s+MONTANT"))),
                     qPrintable(pages.at(i)));
            QVERIFY2(pages.at(i).contains(
                         QRegularExpression(QStringLiteral("Pied\\s+Page %1").arg(i + 1))),
                     qPrintable(pages.at(i)));
        }
        QVERIFY(pages.at(0).contains(QRegularExpression(QStringLiteral("Nom 20\\s+1,00 €"))));
        QVERIFY(pages.at(1).contains(QRegularExpression(QStringLiteral("Nom 21\\s+1,00 €"))));
        QVERIFY(pages.at(2).contains(QRegularExpression(QStringLiteral("Nom 45\\s+1,00 €"))));
        QVERIFY(pages.at(2).contains(QStringLiteral("45,00 F")));
    }

    void longTextIsElidedNotOverlapping()
    {
        FakeReportSource source;
        source.addRow({{"Nom", "UN NOM BEAUCOUP TROP LONG POUR TENIR DANS SA COLONNE ETROITE"},
                       {"Montant", "7,00 €"}},
                      {{"Montant", 700}});
        const QList<ReportPage> pages =
            ReportLayout::run(ReportTest::definition(), source, ReportTest::testPage());
        const QString file = dir_.filePath(QStringLiteral("long.pdf"));
        ReportPdfWriter::write(file, pages, ReportTest::testPage(), QStringLiteral("Long"));
        const QString text = PdfTools::text(file);
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("UN NOM BEAU[^\\n]*…\\s+7,00 €"))),
                 qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("ETROITE")));
    }

    void newPdfIsPrivate()
    {
        const QString file = dir_.filePath(QStringLiteral("prive.pdf"));
        ReportPdfWriter::write(file, testPages(1), ReportTest::testPage(), QStringLiteral("P"));
        QCOMPARE(QFile::permissions(file) & 0x0077, QFileDevice::Permissions());
        QVERIFY(QFile::permissions(file) & QFileDevice::ReadOwner);
    }

    void pdfReplacesAnOlderFile()
    {
        const QString file = dir_.filePath(QStringLiteral("ancien.pdf"));
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("pas un PDF");
        old.close();
        ReportPdfWriter::write(file, testPages(30), ReportTest::testPage(), QStringLiteral("P"));
        QCOMPARE(PdfTools::pageCount(file), 2);
    }

    void pdfIntoAFileInsteadOfAFolder()
    {
        // A path through a plain file cannot be created, whoever runs the test.
        const QString blocker = dir_.filePath(QStringLiteral("fichier"));
        QFile block(blocker);
        QVERIFY(block.open(QIODevice::WriteOnly));
        block.close();
        const QString file = blocker + QStringLiteral("/rapport.pdf");
        const QString message = messageOf([&] {
            ReportPdfWriter::write(file, testPages(1), ReportTest::testPage(), QStringLiteral("P"));
        });
        QCOMPARE(message, QStringLiteral("Impossible d'écrire le fichier %1.\nLe dossier %2 "
                                         "n'existe pas.")
                              .arg(file, blocker));
        QVERIFY(!QFile::exists(file));
    }

    void pdfInReadOnlyFolderKeepsTheOldFile()
    {
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("rapport.pdf"));
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("ancien contenu");
        old.close();
        QString message;
        {
            ReadOnlyFolder readOnly(folder.path());
            if (!readOnly.isReadOnly())
                QSKIP("this machine cannot make a folder read-only");
            message = messageOf([&] {
                ReportPdfWriter::write(file, testPages(1), ReportTest::testPage(),
                                       QStringLiteral("P"));
            });
        }
        // The folder is named as the one that refuses the new file.
        QCOMPARE(message, QStringLiteral("Impossible d'écrire le fichier %1.\nLe dossier %2 est "
                                         "protégé en écriture : aucun fichier ne peut y être créé "
                                         "ni remplacé. L'ancien fichier est conservé tel quel.")
                              .arg(file, folder.path()));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("ancien contenu"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("rapport.pdf")}); // no temporary left behind
    }

    void printerPrintsEveryPage()
    {
        const QString file = dir_.filePath(QStringLiteral("imprimante.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        ReportPrinter::printOn(printer, testPages(45), ReportTest::testPage(),
                               QStringLiteral("Rapport d'essai"));
        QCOMPARE(printer.docName(), QStringLiteral("Rapport d'essai"));
        const QString info = PdfTools::info(file);
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n"))),
                 qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+375 x 225 pts"))),
                 qPrintable(info));
        // Full page: the 10-pixel margin is ours, not added to the printer's.
        const QString text = PdfTools::text(file);
        QVERIFY(text.contains(QStringLiteral("Page 3")));
    }

    void printerThatFails()
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir_.filePath(QStringLiteral("absent/sortie.pdf")));
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        const QString message = messageOf([&] {
            ReportPrinter::printOn(printer, testPages(1), ReportTest::testPage(),
                                   QStringLiteral("P"));
        });
        QCOMPARE(message,
                 QStringLiteral("L'impression a échoué. Vérifiez l'imprimante puis recommencez."));
    }

    void noPrinterInstalled()
    {
        DefaultPrinter::overrideForTesting([] { return QPrinterInfo(); });
        const QString expected =
            QStringLiteral("Aucune imprimante n'est installée. Installez une imprimante ou "
                           "utilisez l'aperçu pour enregistrer le document en PDF.");
        FakeReportSource source;
        ReportTest::fill(source, 3);
        QCOMPARE(messageOf([&] { ReportPrinter::print(ReportTest::definition(), source); }),
                 expected);
        QCOMPARE(messageOf([&] {
                     ReportPrinter::print(testPages(1), ReportTest::testPage(),
                                          QStringLiteral("P"));
                 }),
                 expected);
    }

    void paintedImage()
    {
        const QList<ReportPage> pages = testPages(1);
        const QImage image = ReportPainter::image(pages.first(), QSizeF(500, 300), 2.0);
        QCOMPARE(image.size(), QSize(1000, 600));
        // The header's top rule at y 50, across the band from x 10 to 490.
        QVERIFY(qGray(image.pixel(400, 100)) < 128);
        QVERIFY(qGray(image.pixel(15, 100)) == 255);  // left of the band
        QVERIFY(qGray(image.pixel(985, 100)) == 255); // right of the band
        // Between the header's bottom rule (y 70) and the summary's top rule (y 80) only the
        // detail's text: nothing in its empty middle.
        QVERIFY(qGray(image.pixel(500, 150)) == 255);
        int dark = 0; // the title's ink, 20-pixel characters centred between x 10 and 310
        for (int x = 20; x < 620; ++x)
            dark += qGray(image.pixel(x, 60)) < 128 ? 1 : 0;
        QVERIFY(dark > 10);
    }

    void noPrinterMeansA4()
    {
        DefaultPrinter::overrideForTesting([] { return QPrinterInfo(); });
        QCOMPARE(DefaultPrinter::paperSize().id(), QPageSize::A4);
        QVERIFY(qAbs(DefaultPrinter::pageGeometry().pagePixels().height() - 1122.52) < 0.01);
        DefaultPrinter::restore();
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(TestReportOutput)
#include "test_report_output.moc"
