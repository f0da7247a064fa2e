#include "reports/TFrmListeTalo.h"

#include "platform/core/Today.h"
#include "platform/report/ReportPdfWriter.h"
#include "platform/store/DatabaseError.h"
#include "platform/widgets/DefaultPrinter.h"
#include "platform/widgets/ReportPreviewDialog.h"
#include "register/CareRegister.h"
#include "register/PlainSelectors.h"

#include "ReportFiles.h"
#include "ReportRows.h"
#include "support/PdfTools.h"

#include <QApplication>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace CareFields;
using ReportFiles::Care;

namespace
{

// Entries 1 to 7, posted in this order; the doctor's name tells which entry printed.
const QList<Care> sevenEntries = {
    {"15/03/97", "PIERRE", "DR UN", "30,00"},   {"02/01/96", "MARIE", "DR DEUX", "30,00"},
    {"15/03/97", "MARIE", "DR TROIS", "30,00"}, {"20/12/97", "PIERRE", "DR QUATRE", "30,00"},
    {"15/03/97", "MARIE", "DR CINQ", "30,00"},  {"01/01/98", "PIERRE", "DR SIX", "30,00"},
    {"31/12/05", "MARIE", "DR SEPT", "30,00"},
};

bool hasLine(const QString &text, const QString &pattern)
{
    return text.contains(QRegularExpression(pattern, QRegularExpression::MultilineOption));
}

} // namespace

// The care list form over a real TALO.DB, its filter switched by the register as the main
// window switches it: which entries print, in which order, with which sums.
class TestCareListForm : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<PlainSelectors> selectors_;
    std::unique_ptr<Table> tableTous_;
    std::unique_ptr<CareRegister> register_;
    std::unique_ptr<TFrmListeTalo> form_;

    void addAll(const QList<Care> &entries)
    {
        for (const Care &care : entries)
            ReportFiles::addCare(*tableTous_, care);
    }

    // The selectors as the user leaves them, then the switch of both filters.
    void select(const QString &beneficiary, const QString &year)
    {
        selectors_->beneficiaryIndex = int(selectors_->beneficiaries.indexOf(beneficiary));
        selectors_->yearIndex = int(selectors_->years.indexOf(year));
        QVERIFY(selectors_->beneficiaryIndex >= 0 && selectors_->yearIndex >= 0);
        register_->lstListeBeneficiairesClick();
    }

    QList<ReportPage> printout() { return form_->layOut(ReportPageGeometry()); }

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Today::pinForTesting(QDate(2026, 3, 5));
        DefaultPrinter::overrideForTesting([] { return QPrinterInfo(); }); // A4, no queue
        QVERIFY(dir_.isValid());
    }

    void cleanupTestCase()
    {
        DefaultPrinter::restore();
        Today::unpin();
    }

    void init()
    {
        QVERIFY(ReportFiles::createEmpty(dir_.path()));
        selectors_ = std::make_unique<PlainSelectors>();
        selectors_->beneficiaries = {"TOUS", "MARIE", "PIERRE", "pierre"};
        tableTous_ = std::make_unique<Table>(CareEntryTable::definition());
        tableTous_->setDatabaseName(dir_.path());
        tableTous_->setIndexFieldNames(CareEntryTable::indexFieldNames());
        register_ = std::make_unique<CareRegister>(*tableTous_, *selectors_);
        tableTous_->open();
        form_ = std::make_unique<TFrmListeTalo>(*selectors_);
        form_->open(dir_.path());
        register_->addFollower(form_->tableTalo());
    }

    void cleanup()
    {
        form_.reset();
        register_.reset();
        tableTous_.reset();
        selectors_.reset();
    }

    void opensItsOwnTableInKeyOrder()
    {
        QCOMPARE(form_->objectName(), QStringLiteral("TFrmListeTalo"));
        QCOMPARE(form_->tableTalo().objectName(), QStringLiteral("TableTalo"));
        QVERIFY(&form_->tableTalo() != tableTous_.get());
        QVERIFY(form_->tableTalo().isActive());
        QCOMPARE(form_->tableTalo().indexFieldNames(),
                 QStringLiteral("Date soins;Beneficiaire;Numero"));
        QCOMPARE(form_->quickReport().title, QStringLiteral("Liste des soins"));
    }

    void filterCombinations_data()
    {
        QTest::addColumn<QString>("beneficiary");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QStringList>("doctors");
        QTest::newRow("all: date, beneficiary, number")
            << "TOUS"
            << "TOUTES" << QStringList{"DR DEUX",   "DR TROIS", "DR CINQ", "DR UN",
                                       "DR QUATRE", "DR SIX",   "DR SEPT"};
        QTest::newRow("one beneficiary, every year")
            << "MARIE"
            << "TOUTES" << QStringList{"DR DEUX", "DR TROIS", "DR CINQ", "DR SEPT"};
        QTest::newRow("everyone in 1997")
            << "TOUS"
            << "1997" << QStringList{"DR TROIS", "DR CINQ", "DR UN", "DR QUATRE"};
        QTest::newRow("one beneficiary in 1997") << "PIERRE"
                                                 << "1997" << QStringList{"DR UN", "DR QUATRE"};
        QTest::newRow("one beneficiary in 2005") << "MARIE"
                                                 << "2005" << QStringList{"DR SEPT"};
        QTest::newRow("nothing matches both") << "PIERRE"
                                              << "1996" << QStringList{};
        QTest::newRow("case counts") << "pierre"
                                     << "TOUTES" << QStringList{};
    }

    void filterCombinations()
    {
        QFETCH(QString, beneficiary);
        QFETCH(QString, year);
        QFETCH(QStringList, doctors);
        addAll(sevenEntries);
        select(beneficiary, year);
        QCOMPARE(ReportRows::column(printout(), Medecin), doctors);
    }

    void followsTheSelectorsAsTheyStandAtPrintTime()
    {
        addAll(sevenEntries);
        select("MARIE", "TOUTES");
        QCOMPARE(ReportRows::column(printout(), Medecin),
                 (QStringList{"DR DEUX", "DR TROIS", "DR CINQ", "DR SEPT"}));
        // The beneficiary changes without a switch of the filters, the file unchanged.
        selectors_->beneficiaryIndex = int(selectors_->beneficiaries.indexOf("PIERRE"));
        QCOMPARE(ReportRows::column(printout(), Medecin),
                 (QStringList{"DR UN", "DR QUATRE", "DR SIX"}));
    }

    void sumsOfPrintedRowsOnly_data()
    {
        QTest::addColumn<QString>("beneficiary");
        QTest::addColumn<QString>("cost");
        QTest::addColumn<QString>("cpam");
        QTest::addColumn<QString>("mutual");
        // PIERRE: 30,00 + 45,50; 21,00 + 31,85; 9,00 + 13,65.
        QTest::newRow("PIERRE") << "PIERRE"
                                << "75,50 €"
                                << "52,85 €"
                                << "22,65 €";
        // MARIE: 1 500,00 + 20,00; 1 050,00 + nothing; nothing at all from the mutuelle.
        QTest::newRow("MARIE") << "MARIE"
                               << "1\u202f520,00 €"
                               << "1\u202f050,00 €"
                               << "0,00 €";
        QTest::newRow("nobody") << "pierre"
                                << "0,00 €"
                                << "0,00 €"
                                << "0,00 €";
        QTest::newRow("everyone") << "TOUS"
                                  << "1\u202f595,50 €"
                                  << "1\u202f102,85 €"
                                  << "22,65 €";
    }

    void sumsOfPrintedRowsOnly()
    {
        QFETCH(QString, beneficiary);
        QFETCH(QString, cost);
        QFETCH(QString, cpam);
        QFETCH(QString, mutual);
        addAll({{"15/03/97", "PIERRE", "DR A", "30,00", "21,00", "9,00"},
                {"16/03/97", "MARIE", "DR B", "1500,00", "1050,00", ""},
                {"20/03/97", "PIERRE", "DR C", "45,50", "31,85", "13,65"},
                {"02/01/98", "MARIE", "DR D", "20,00", "", ""}});
        select(beneficiary, "TOUTES");
        const ReportRows::Row sums = ReportRows::sums(printout());
        QCOMPARE(sums.value(Cout), cost);
        QCOMPARE(sums.value(MontantCPAM), cpam);
        QCOMPARE(sums.value(MontantMutuelle), mutual);
    }

    void emptyAmountPrintsAnEmptyCell()
    {
        addAll({{"15/03/97", "PIERRE", "DR A", "30,00", "21,00", ""},
                {"16/03/97", "PIERRE", "DR B", "40,00", "28,00", "12,00"}});
        const QList<ReportPage> pages = printout();
        const QList<ReportRows::Row> rows = ReportRows::details(pages);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].value(MontantMutuelle), QString());
        QCOMPARE(rows[0].value(DateMutuelle), QString());
        QCOMPARE(rows[0].value(Cout), QStringLiteral("30,00\u00a0€"));
        QCOMPARE(rows[1].value(MontantMutuelle), QStringLiteral("12,00\u00a0€"));
        QCOMPARE(ReportRows::sums(pages).value(MontantMutuelle), QStringLiteral("12,00 €"));
    }

    void pendingEditPrintsAsLastSaved()
    {
        addAll({{"15/03/97", "PIERRE", "DR A", "30,00"}});
        Table &tous = *tableTous_;
        tous.first();
        tous.edit();
        tous.fieldByName(Cout).setAsString("99,00");
        tous.append(); // posts the edit: the register's own order of events
        QCOMPARE(ReportRows::column(printout(), Cout), QStringList{"99,00\u00a0€"});

        // A new entry being typed, and an edit not yet posted, are not in the file.
        tous.fieldByName(DateSoins).setAsString("01/04/97");
        tous.fieldByName(Beneficiaire).setAsString("MARIE");
        tous.fieldByName(Cout).setAsString("10,00");
        QCOMPARE(ReportRows::column(printout(), Medecin), QStringList{"DR A"});
        tous.cancel();
        tous.first();
        tous.edit();
        tous.fieldByName(Cout).setAsString("55,00");
        QCOMPARE(ReportRows::column(printout(), Cout), QStringList{"99,00\u00a0€"});
        QCOMPARE(ReportRows::sums(printout()).value(Cout), QStringLiteral("99,00 €"));
        // The report neither posted nor cancelled the edit.
        QCOMPARE(tous.state(), Table::State::Edit);
        QVERIFY(tous.isModified());
        QCOMPARE(tous.fieldByName(Cout).asCents(), 5500);
    }

    void multiPagePdf()
    {
        QList<Care> entries;
        for (int n = 1; n <= 100; ++n) {
            const QString date = QDate(1997, 1, 1).addDays(n - 1).toString("dd/MM/yy");
            entries.append({date, n % 2 ? "PIERRE" : "MARIE", QStringLiteral("DR %1").arg(n),
                            "30,00", "21,00", n % 2 ? "" : "9,00"});
        }
        // Not in 1997: never printed, never summed.
        entries.append({"01/01/98", "PIERRE", "DR 1998", "5000,00", "5000,00", "5000,00"});
        addAll(entries);
        select("TOUS", "1997");
        const ReportPageGeometry a4;
        const QString file = dir_.filePath("soins.pdf");
        ReportPdfWriter::write(file, form_->layOut(a4), a4, form_->quickReport().title);

        // 40 entries fit under the title, 41 on later pages.
        QCOMPARE(PdfTools::pageCount(file), 3);
        const QStringList pages = PdfTools::text(file).split(QLatin1Char('\f'));
        QVERIFY(pages.size() >= 3);
        for (int i = 0; i < 3; ++i) {
            QVERIFY2(hasLine(pages[i], "^\\s*DATE\\s+BENEFICIAIRE\\s+MEDECIN\\s+COÛT\\s+"
                                       "C\\.P\\.A\\.M\\.\\s+MONTANT\\s+MUTUELLE\\s+MONTANT$"),
                     qPrintable(pages[i]));
            QVERIFY(hasLine(pages[i], QStringLiteral("^\\s*Talo 3\\.0\\s+Page %1$").arg(i + 1)));
            QCOMPARE(hasLine(pages[i], "^\\s*Liste des soins classés par date\\s+"
                                       "Imprimé le 05/03/26$"),
                     i == 0);
        }
        QVERIFY2(hasLine(pages[0], "^\\s*01/01/97\\s+PIERRE\\s+DR 1\\s+30,00 €\\s+01/01/97\\s+"
                                   "21,00 €$"),
                 qPrintable(pages[0]));
        QVERIFY(hasLine(pages[0], "^\\s*02/01/97\\s+MARIE\\s+DR 2\\s+30,00 €\\s+02/01/97\\s+"
                                  "21,00 €\\s+02/01/97\\s+9,00 €$"));
        QVERIFY(hasLine(pages[1], "^\\s*10/02/97\\s+PIERRE\\s+DR 41\\s"));
        QVERIFY(hasLine(pages[2], "^\\s*10/04/97\\s+MARIE\\s+DR 100\\s"));
        QVERIFY(!PdfTools::text(file).contains("DR 1998"));
        // 100 x 30,00; 100 x 21,00; 50 x 9,00.
        QVERIFY2(hasLine(pages[2], "^\\s*3 000,00 €\\s+2 100,00 €\\s+450,00 €$"),
                 qPrintable(pages[2]));
    }

    void previewShowsTheFilteredReport()
    {
        addAll(sevenEntries);
        select("PIERRE", "TOUTES");
        int pageCount = -1;
        QString title;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<ReportPreviewDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            pageCount = dialog->pageCount();
            title = dialog->windowTitle();
            dialog->reject();
        });
        form_->preview(nullptr);
        QCOMPARE(pageCount, 1);
        QCOMPARE(title, QStringLiteral(" Aperçu - Liste des soins"));
    }

    void readsTheFileOnlyWhenAReportRuns()
    {
        addAll(sevenEntries);
        TFrmListeTalo started(*selectors_);
        started.openAtStart(dir_.path());
        register_->addFollower(started.tableTalo());
        QVERIFY(!started.tableTalo().isActive());
        select("PIERRE", "1997"); // switched while the report's table is still closed
        QCOMPARE(ReportRows::column(started.layOut(ReportPageGeometry()), Medecin),
                 (QStringList{"DR UN", "DR QUATRE"}));
    }

    void fileMissingAtStartIsReportedWhenAskedFor()
    {
        QTemporaryDir empty;
        TFrmListeTalo form(*selectors_);
        form.openAtStart(empty.path());
        QVERIFY(!form.tableTalo().isActive());
        QVERIFY_THROWS_EXCEPTION(DatabaseError, form.layOut(ReportPageGeometry()));
        QVERIFY(ReportFiles::createEmpty(empty.path()));
        QCOMPARE(form.layOut(ReportPageGeometry()).size(), 1);
    }

    void missingOrBrokenFileFailsToOpen()
    {
        QTemporaryDir empty;
        TFrmListeTalo missing(*selectors_);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, missing.open(empty.path()));
        QVERIFY(!missing.tableTalo().isActive());

        QFile broken(empty.filePath("TALO.DB"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("Ceci n'est pas une table.");
        broken.close();
        TFrmListeTalo garbage(*selectors_);
        try {
            garbage.open(empty.path());
            QFAIL("a broken file opened");
        } catch (const DatabaseError &e) {
            QVERIFY2(e.message().startsWith("Impossible d'ouvrir la table."),
                     qPrintable(e.message()));
        }
        QVERIFY(!garbage.tableTalo().isActive());
    }
};

QTEST_MAIN(TestCareListForm)
#include "test_care_list_form.moc"
