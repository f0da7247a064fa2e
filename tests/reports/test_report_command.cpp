#include "reports/TFrmListeMedecins.h"
#include "reports/TFrmListeTalo.h"

#include "platform/core/PlatformError.h"
#include "platform/core/Today.h"
#include "platform/widgets/DefaultPrinter.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/ReportCommand.h"
#include "register/PlainSelectors.h"

#include "ReportFiles.h"

#include <QApplication>
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace CareFields;

namespace
{

const QString noPrinterText = QStringLiteral(
    "Aucune imprimante n'est installée. Installez une imprimante ou utilisez l'aperçu pour "
    "enregistrer le document en PDF.");

int overrideCursorDepth()
{
    // Pops every override to count them, then puts them back as they were.
    QList<Qt::CursorShape> shapes;
    while (QApplication::overrideCursor()) {
        shapes.prepend(QApplication::overrideCursor()->shape());
        QApplication::restoreOverrideCursor();
    }
    for (Qt::CursorShape shape : shapes)
        QApplication::setOverrideCursor(shape);
    return int(shapes.size());
}

} // namespace

// The print and preview command around both report forms: hourglass and suspended controls
// during the run, both restored on every way out, failures in the error box, the window's
// pending edit left alone.
class TestReportCommand : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    PlainSelectors selectors_;
    std::unique_ptr<Table> tableTous_;
    std::unique_ptr<TFrmListeTalo> form_;

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Today::pinForTesting(QDate(2026, 3, 5));
        Dialogs::startScripting();
        QVERIFY(dir_.isValid());
    }

    void cleanupTestCase()
    {
        Dialogs::stopScripting();
        Today::unpin();
    }

    void init()
    {
        // A machine without any printer.
        DefaultPrinter::overrideForTesting([] { return QPrinterInfo(); });
        Dialogs::clearShown();
        QVERIFY(ReportFiles::createEmpty(dir_.path()));
        tableTous_ = std::make_unique<Table>(CareEntryTable::definition());
        tableTous_->setDatabaseName(dir_.path());
        tableTous_->open();
        ReportFiles::addCare(*tableTous_, {"15/03/97", "PIERRE", "DR A", "30,00"});
        form_ = std::make_unique<TFrmListeTalo>(selectors_);
        form_->open(dir_.path());
    }

    void cleanup()
    {
        DefaultPrinter::restore();
        form_.reset();
        tableTous_.reset();
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    }

    void hourglassAndSuspendedControlsWhileRunning()
    {
        Qt::CursorShape during = Qt::ArrowCursor;
        bool suspended = false;
        const bool done = ReportCommand::run(nullptr, *tableTous_, [&] {
            during = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape()
                                                    : Qt::ArrowCursor;
            suspended = tableTous_->controlsDisabled();
        });
        QVERIFY(done);
        QCOMPARE(during, Qt::WaitCursor);
        QVERIFY(suspended);
        QCOMPARE(overrideCursorDepth(), 0);
        QVERIFY(!tableTous_->controlsDisabled());
        QVERIFY(Dialogs::shown().isEmpty());
    }

    void noPrinterRestoresEverythingAndSaysSo()
    {
        QSignalSpy redraws(tableTous_.get(), &Table::dataSetChanged);
        const bool done = ReportCommand::run(nullptr, *tableTous_, [&] { form_->print(); });
        QVERIFY(!done);
        QCOMPARE(overrideCursorDepth(), 0);
        QVERIFY(!tableTous_->controlsDisabled());
        QCOMPARE(Dialogs::shownTexts(), QStringList{noPrinterText});
        QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Error);
        // Nothing was posted or reloaded in the window's table.
        QCOMPARE(redraws.count(), 0);
    }

    void doctorsListFailsTheSameWay()
    {
        Table addressBook(DoctorTable::definition());
        addressBook.setDatabaseName(dir_.path());
        addressBook.open();
        TFrmListeMedecins doctors;
        doctors.open(dir_.path());
        QVERIFY(!ReportCommand::run(nullptr, addressBook, [&] { doctors.print(); }));
        QCOMPARE(overrideCursorDepth(), 0);
        QVERIFY(!addressBook.controlsDisabled());
        QCOMPARE(Dialogs::shownTexts(), QStringList{noPrinterText});
    }

    void callersCursorAndSuspensionAreKept()
    {
        QApplication::setOverrideCursor(Qt::CrossCursor);
        tableTous_->disableControls();
        QVERIFY(!ReportCommand::run(nullptr, *tableTous_, [&] { form_->print(); }));
        QCOMPARE(overrideCursorDepth(), 1);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
        QVERIFY(tableTous_->controlsDisabled()); // still the caller's own suspension
        tableTous_->enableControls();
        QVERIFY(!tableTous_->controlsDisabled());
    }

    void pendingEditIsLeftAlone()
    {
        Table &tous = *tableTous_;
        tous.first();
        tous.edit();
        tous.fieldByName(Cout).setAsString("99,00");
        QVERIFY(!ReportCommand::run(nullptr, tous, [&] { form_->print(); }));
        QCOMPARE(tous.state(), Table::State::Edit);
        QVERIFY(tous.isModified());
        QCOMPARE(tous.fieldByName(Cout).asCents(), 9900);
        // And what the report read is the saved row.
        form_->tableTalo().first();
        QCOMPARE(form_->tableTalo().fieldByName(Cout).asCents(), 3000);
    }
};

QTEST_MAIN(TestReportCommand)
#include "test_report_command.moc"
