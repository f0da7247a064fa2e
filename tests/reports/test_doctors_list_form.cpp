#include "reports/TFrmListeMedecins.h"

#include "platform/core/Today.h"
#include "platform/report/ReportPdfWriter.h"
#include "platform/store/DatabaseError.h"
#include "platform/widgets/DefaultPrinter.h"

#include "ReportFiles.h"
#include "ReportRows.h"
#include "support/PdfTools.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace DoctorFields;
using ReportFiles::Doctor;

// The doctors list form over a real MEDECINS.DB: every doctor, in alphabetical order, without
// the postal code.
class TestDoctorsListForm : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<Table> addressBook_; // the address book window's own table
    std::unique_ptr<TFrmListeMedecins> form_;

    QList<ReportPage> printout() { return form_->layOut(ReportPageGeometry()); }

    static bool hasLine(const QString &text, const QString &pattern)
    {
        return text.contains(QRegularExpression(pattern, QRegularExpression::MultilineOption));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Today::pinForTesting(QDate(2026, 3, 5));
        DefaultPrinter::overrideForTesting([] { return QPrinterInfo(); });
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
        addressBook_ = std::make_unique<Table>(DoctorTable::definition());
        addressBook_->setDatabaseName(dir_.path());
        addressBook_->setIndexFieldNames(DoctorTable::indexFieldNames());
        addressBook_->open();
        form_ = std::make_unique<TFrmListeMedecins>();
        form_->open(dir_.path());
    }

    void cleanup()
    {
        form_.reset();
        addressBook_.reset();
    }

    void opensItsOwnTableInKeyOrder()
    {
        QCOMPARE(form_->objectName(), QStringLiteral("TFrmListeMedecins"));
        QCOMPARE(form_->tableMedecin().objectName(), QStringLiteral("TableMedecin"));
        QVERIFY(form_->tableMedecin().isActive());
        QVERIFY(!form_->tableMedecin().isFiltered());
        QCOMPARE(form_->tableMedecin().indexFieldNames(), QStringLiteral("Nom;Prenom;Numero"));
        QCOMPARE(form_->quickReport().title, QStringLiteral("Liste des médecins"));
    }

    void sortedByNameThenFirstNameThenEntry()
    {
        for (const Doctor &d : QList<Doctor>{{"MARTIN", "Paul", "Pédiatre"},
                                             {"DUPONT", "Jean", "Généraliste"},
                                             {"MARTIN", "Anne", "Dentiste"},
                                             {"DUPONT", "Jean", "Cardiologue"},
                                             {"ARNAUD", "Zoé", "Radiologue"},
                                             {"MARTIN", "", "Ophtalmologiste"}})
            ReportFiles::addDoctor(*addressBook_, d);
        const QList<ReportPage> pages = printout();
        QCOMPARE(ReportRows::column(pages, Nom),
                 (QStringList{"ARNAUD", "DUPONT", "DUPONT", "MARTIN", "MARTIN", "MARTIN"}));
        QCOMPARE(ReportRows::column(pages, Prenom),
                 (QStringList{"Zoé", "Jean", "Jean", "", "Anne", "Paul"}));
        // The two Jean DUPONT in the order they were entered.
        QCOMPARE(ReportRows::column(pages, Specialite),
                 (QStringList{"Radiologue", "Généraliste", "Cardiologue", "Ophtalmologiste",
                              "Dentiste", "Pédiatre"}));
    }

    void storedTextsUnchangedAndNoPostalCode()
    {
        ReportFiles::addDoctor(*addressBook_, {"DUPONT", "Jean", "Généraliste", "12 rue des Lilas",
                                               "Lyon", "69003", "04-78-12-34-56"});
        ReportFiles::addDoctor(*addressBook_, {"MARTIN", "", "", "", "", "75001", ""});
        const QList<ReportPage> pages = printout();
        const QList<ReportRows::Row> rows = ReportRows::details(pages);
        QCOMPARE(rows.size(), 2);
        const ReportRows::Row expected{{Nom, "DUPONT"},
                                       {Prenom, "Jean"},
                                       {Specialite, "Généraliste"},
                                       {Adresse, "12 rue des Lilas"},
                                       {Ville, "Lyon"},
                                       {Tel, "04-78-12-34-56"}};
        QCOMPARE(rows[0], expected);
        const ReportRows::Row empty{{Nom, "MARTIN"}, {Prenom, ""}, {Specialite, ""},
                                    {Adresse, ""},   {Ville, ""},  {Tel, ""}};
        QCOMPARE(rows[1], empty);
        const QStringList texts = ReportRows::allTexts(pages);
        QVERIFY(!texts.contains("69003"));
        QVERIFY(!texts.contains("75001"));
    }

    void emptyAddressBookPrintsNoLine()
    {
        const QList<ReportPage> pages = printout();
        QCOMPARE(pages.size(), 1);
        QVERIFY(ReportRows::details(pages).isEmpty());
    }

    void doctorBeingEditedPrintsAsLastSaved()
    {
        ReportFiles::addDoctor(*addressBook_, {"DUPONT", "Jean", "Généraliste"});
        addressBook_->first();
        addressBook_->edit();
        addressBook_->fieldByName(Specialite).setAsString("Cardiologue");
        QCOMPARE(ReportRows::column(printout(), Specialite), QStringList{"Généraliste"});
        QCOMPARE(addressBook_->state(), Table::State::Edit);
        addressBook_->post();
        QCOMPARE(ReportRows::column(printout(), Specialite), QStringList{"Cardiologue"});
    }

    void longListPdf()
    {
        // 41 detail lines fit under the title and headings of an A4 page, 42 on later ones
        // (no summary band).
        for (int n = 1; n <= 60; ++n)
            ReportFiles::addDoctor(*addressBook_,
                                   {QStringLiteral("NOM%1").arg(n, 2, 10, QChar('0')), "Prénom",
                                    "Généraliste", "1 place du Marché", "Tours", "37000",
                                    "02-47-00-00-00"});
        const ReportPageGeometry a4;
        const QString file = dir_.filePath("medecins.pdf");
        ReportPdfWriter::write(file, form_->layOut(a4), a4, form_->quickReport().title);
        QCOMPARE(PdfTools::pageCount(file), 2);
        const QStringList pages = PdfTools::text(file).split(QLatin1Char('\f'));
        for (int i = 0; i < 2; ++i) {
            QVERIFY2(hasLine(pages[i], "^\\s*NOM\\s+PRENOM\\s+SPECIALITE\\s+ADRESSE\\s+VILLE\\s+"
                                       "TELEPHONE$"),
                     qPrintable(pages[i]));
            QVERIFY(hasLine(pages[i], QStringLiteral("^\\s*Talo 3\\.0\\s+Page %1$").arg(i + 1)));
            QCOMPARE(hasLine(pages[i], "^\\s*Liste des médecins\\s+Imprimé le 05/03/26$"), i == 0);
        }
        QVERIFY(hasLine(pages[0], "^\\s*NOM01\\s+Prénom\\s+Généraliste\\s+1 place du Marché\\s+"
                                  "Tours\\s+02-47-00-00-00$"));
        QVERIFY(hasLine(pages[1], "^\\s*NOM60\\s"));
        QVERIFY(!pages.join("").contains("37000"));
    }

    void missingFileFailsToOpen()
    {
        QTemporaryDir empty;
        TFrmListeMedecins form;
        QVERIFY_THROWS_EXCEPTION(DatabaseError, form.open(empty.path()));
        QVERIFY(!form.tableMedecin().isActive());
    }
};

QTEST_MAIN(TestDoctorsListForm)
#include "test_doctors_list_form.moc"
