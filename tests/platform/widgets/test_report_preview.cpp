#include "platform/core/Today.h"
#include "platform/report/ReportLayout.h"
#include "platform/report/ReportPainter.h"
#include "platform/widgets/DefaultPrinter.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/LongWork.h"
#include "platform/widgets/ReportPreviewDialog.h"
#include "platform/widgets/WorkBar.h"

#include "support/PdfTools.h"
#include "support/ReportTestDefinition.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace
{

QList<ReportPage> testPages(int rows)
{
    FakeReportSource source;
    ReportTest::fill(source, rows);
    return ReportLayout::run(ReportTest::definition(), source, ReportTest::testPage());
}

} // namespace

// The preview window: paging, zoom, printing without a printer, saving as PDF.
class TestReportPreview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Today::pinForTesting(QDate(2026, 3, 5));
        // No test may reach a real print queue.
        DefaultPrinter::overrideForTesting([] { return QPrinterInfo(); });
        Dialogs::startScripting();
    }

    void cleanupTestCase()
    {
        DefaultPrinter::restore();
        Dialogs::stopScripting();
        Today::unpin();
    }

    void init()
    {
        Dialogs::clearShown();
        dialog_ = new ReportPreviewDialog(testPages(45), ReportTest::testPage(),
                                          QStringLiteral("Rapport d'essai"));
        dialog_->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog_));
    }

    void cleanup()
    {
        ReportPreviewDialog::setFileNameQueryForTesting(nullptr);
        delete dialog_;
        dialog_ = nullptr;
    }

    void titleAndFirstPage()
    {
        QCOMPARE(dialog_->windowTitle(), QStringLiteral(" Aperçu - Rapport d'essai"));
        QCOMPARE(dialog_->pageCount(), 3);
        QCOMPARE(label(), QStringLiteral("Page 1 sur 3"));
        QVERIFY(!button("btnPremiere")->isEnabled());
        QVERIFY(!button("btnPrecedente")->isEnabled());
        QVERIFY(button("btnSuivante")->isEnabled());
    }

    void paging()
    {
        QTest::mouseClick(button("btnSuivante"), Qt::LeftButton);
        QCOMPARE(label(), QStringLiteral("Page 2 sur 3"));
        QVERIFY(button("btnPrecedente")->isEnabled());
        QTest::mouseClick(button("btnDerniere"), Qt::LeftButton);
        QCOMPARE(label(), QStringLiteral("Page 3 sur 3"));
        QVERIFY(!button("btnSuivante")->isEnabled());
        QVERIFY(!button("btnDerniere")->isEnabled());
        dialog_->nextPage(); // stays on the last page
        QCOMPARE(dialog_->currentPage(), 2);
        QTest::mouseClick(button("btnPrecedente"), Qt::LeftButton);
        QCOMPARE(label(), QStringLiteral("Page 2 sur 3"));
        QTest::mouseClick(button("btnPremiere"), Qt::LeftButton);
        QCOMPARE(dialog_->currentPage(), 0);
    }

    void pageKeys()
    {
        QTest::keyClick(dialog_, Qt::Key_PageDown);
        QTest::keyClick(dialog_, Qt::Key_PageDown);
        QCOMPARE(dialog_->currentPage(), 2);
        QTest::keyClick(dialog_, Qt::Key_PageUp);
        QCOMPARE(dialog_->currentPage(), 1);
    }

    void zoom()
    {
        QCOMPARE(dialog_->fit(), ReportPreviewDialog::Fit::Page);
        const qreal fitted = dialog_->zoom();
        QTest::mouseClick(button("btnZoomPlus"), Qt::LeftButton);
        QCOMPARE(dialog_->fit(), ReportPreviewDialog::Fit::None);
        QCOMPARE(dialog_->zoom(), fitted * 1.25);
        QTest::mouseClick(button("btnZoomMoins"), Qt::LeftButton);
        QTest::mouseClick(button("btnZoomMoins"), Qt::LeftButton);
        QCOMPARE(dialog_->zoom(), fitted / 1.25);
        for (int i = 0; i < 20; ++i)
            dialog_->zoomIn();
        QCOMPARE(dialog_->zoom(), 4.0);
        QTest::mouseClick(button("btnLargeur"), Qt::LeftButton);
        QCOMPARE(dialog_->fit(), ReportPreviewDialog::Fit::Width);
        // The shown page is as wide as the fitted zoom says.
        const QLabel *image = dialog_->findChild<QLabel *>(QStringLiteral("etqImage"));
        const QPixmap pixmap = image->pixmap();
        QCOMPARE(pixmap.width() / pixmap.devicePixelRatio(), qRound(500 * dialog_->zoom()));
    }

    void printWithoutPrinter()
    {
        QTest::mouseClick(button("btnImprimer"), Qt::LeftButton);
        QCOMPARE(Dialogs::shownTexts(),
                 QStringList{QStringLiteral("Aucune imprimante n'est installée. Installez une "
                                            "imprimante ou utilisez l'aperçu pour enregistrer le "
                                            "document en PDF.")});
        QVERIFY(dialog_->isVisible()); // the preview stays open
    }

    void saveAsPdf()
    {
        QTemporaryDir dir;
        QString suggested;
        ReportPreviewDialog::setFileNameQueryForTesting([&](QWidget *, const QString &name) {
            suggested = name;
            return dir.filePath(QStringLiteral("liste"));
        });
        QTest::mouseClick(button("btnPdf"), Qt::LeftButton);
        QVERIFY(suggested.endsWith(QStringLiteral("/Rapport d'essai.pdf")));
        QVERIFY(Dialogs::shownTexts().isEmpty());
        QCOMPARE(PdfTools::pageCount(dir.filePath(QStringLiteral("liste.pdf"))), 3);
    }

    void saveAsPdfAddsSuffixButAsksBeforeReplacing()
    {
        QTemporaryDir dir;
        const QString existing = dir.filePath(QStringLiteral("liste.pdf"));
        QFile old(existing);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("ancien");
        old.close();
        ReportPreviewDialog::setFileNameQueryForTesting(
            [&](QWidget *, const QString &) { return dir.filePath(QStringLiteral("liste")); });
        Dialogs::queueAnswer(Dialogs::Answer::No);
        QTest::mouseClick(button("btnPdf"), Qt::LeftButton);
        QCOMPARE(Dialogs::shown().size(), 1);
        QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Question);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("ancien"));
        old.close();

        Dialogs::queueAnswer(Dialogs::Answer::Yes);
        QTest::mouseClick(button("btnPdf"), Qt::LeftButton);
        QCOMPARE(PdfTools::pageCount(existing), 3);
    }

    void saveAsPdfCancelled()
    {
        QTemporaryDir dir;
        ReportPreviewDialog::setFileNameQueryForTesting(
            [](QWidget *, const QString &) { return QString(); });
        QTest::mouseClick(button("btnPdf"), Qt::LeftButton);
        QVERIFY(Dialogs::shownTexts().isEmpty());
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }

    // Annuler on the progress bar leaves the older file as it was, and nothing beside it.
    void saveAsPdfStoppedByTheUser()
    {
        QTemporaryDir dir;
        const QString existing = dir.filePath(QStringLiteral("liste.pdf"));
        QFile old(existing);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("ancien");
        old.close();
        ReportPreviewDialog::setFileNameQueryForTesting(
            [&](QWidget *, const QString &) { return existing; });
        LongWork::setShowDelayForTesting(0);
        QString label, title;
        QTimer annuler;
        connect(&annuler, &QTimer::timeout, [&] {
            WorkBar *bar = LongWork::currentBar();
            if (label.isEmpty() && bar != nullptr && bar->isVisible()) {
                label = bar->findChild<QLabel *>(QStringLiteral("etqTravail"))->text();
                // Not the file dialog's title, which a person has just left.
                title = bar->windowTitle();
                for (QPushButton *button : bar->findChildren<QPushButton *>())
                    if (button->text() == QStringLiteral("Annuler"))
                        QTest::mouseClick(button, Qt::LeftButton);
            }
        });
        annuler.start(0);
        QTest::mouseClick(button("btnPdf"), Qt::LeftButton);
        LongWork::setShowDelayForTesting(-1);
        QVERIFY2(QRegularExpression(QStringLiteral("^Écriture du PDF : page [12] sur 3$"))
                     .match(label)
                     .hasMatch(),
                 qPrintable(label));
        QCOMPARE(title, QStringLiteral("Enregistrement en PDF"));
        QVERIFY(Dialogs::shownTexts().isEmpty());
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("ancien"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("liste.pdf")});
    }

    void saveAsPdfFails()
    {
        QTemporaryDir dir;
        const QString blocker = dir.filePath(QStringLiteral("fichier"));
        QFile block(blocker);
        QVERIFY(block.open(QIODevice::WriteOnly));
        block.close();
        const QString target = blocker + QStringLiteral("/liste.pdf");
        ReportPreviewDialog::setFileNameQueryForTesting(
            [&](QWidget *, const QString &) { return target; });
        QTest::mouseClick(button("btnPdf"), Qt::LeftButton);
        const QStringList shown = Dialogs::shownTexts();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first(), QStringLiteral("Impossible d'écrire le fichier %1.\nLe dossier %2 "
                                               "n'existe pas.")
                                    .arg(target, blocker));
        QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Error);
    }

    void previewRunsModallyFromTheSource()
    {
        FakeReportSource source;
        ReportTest::fill(source, 3);
        source.runToEnd();
        QString title;
        int pages = 0;
        int rowsSeen = 0;
        QTimer::singleShot(0, this, [&] {
            auto *shown = qobject_cast<ReportPreviewDialog *>(QApplication::activeModalWidget());
            if (!shown)
                return;
            title = shown->windowTitle();
            pages = shown->pageCount();
            rowsSeen = source.firstCalls();
            shown->reject();
        });
        ReportPreviewDialog::preview(ReportTest::definition(), source, nullptr);
        QCOMPARE(title, QStringLiteral(" Aperçu - Rapport d'essai"));
        QCOMPARE(pages, 1);    // A4 without a printer: three rows fit
        QCOMPARE(rowsSeen, 2); // restarted once more for the preview
    }

    void longReportPagedFromItsSource()
    {
        FakeReportSource source;
        ReportTest::fill(source, 300);
        const ReportPageGeometry a4 = DefaultPrinter::pageGeometry();
        const QList<ReportPage> expected = ReportLayout::run(ReportTest::definition(), source, a4);
        QCOMPARE(expected.size(), 4);
        QStringList labels;
        QList<bool> sameImage;
        QTimer::singleShot(0, this, [&] {
            auto *shown = qobject_cast<ReportPreviewDialog *>(QApplication::activeModalWidget());
            if (!shown || !QTest::qWaitForWindowActive(shown))
                return;
            const auto shows = [&](int page) {
                labels << shown->findChild<QLabel *>(QStringLiteral("etqPage"))->text();
                const QPixmap pixmap =
                    shown->findChild<QLabel *>(QStringLiteral("etqImage"))->pixmap();
                sameImage << (pixmap.toImage() ==
                              ReportPainter::image(expected.at(page), a4.pagePixels(),
                                                   shown->zoom() * pixmap.devicePixelRatio()));
            };
            shows(0);
            QTest::mouseClick(shown->findChild<QPushButton *>("btnDerniere"), Qt::LeftButton);
            shows(3);
            QTest::keyClick(shown, Qt::Key_PageUp);
            shows(2);
            QTest::mouseClick(shown->findChild<QPushButton *>("btnPremiere"), Qt::LeftButton);
            QTest::keyClick(shown, Qt::Key_PageDown);
            shows(1);
            shown->reject();
        });
        ReportPreviewDialog::preview(ReportTest::definition(), source, nullptr);
        QCOMPARE(labels,
                 (QStringList{"Page 1 sur 4", "Page 4 sur 4", "Page 3 sur 4", "Page 2 sur 4"}));
        QCOMPARE(sameImage, (QList<bool>{true, true, true, true}));
    }

private:
    QPushButton *button(const char *name) const
    {
        auto *found = dialog_->findChild<QPushButton *>(QString::fromLatin1(name));
        Q_ASSERT(found);
        return found;
    }
    QString label() const
    {
        return dialog_->findChild<QLabel *>(QStringLiteral("etqPage"))->text();
    }

    ReportPreviewDialog *dialog_ = nullptr;
};

QTEST_MAIN(TestReportPreview)
#include "test_report_preview.moc"
