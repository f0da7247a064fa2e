#include "support/CsvReadBack.h"
#include "support/ProofSamples.h"

#include "platform/core/Today.h"
#include "platform/store/Table.h"
#include "platform/store/TableStorage.h"
#include "proofs/ProofStore.h"
#include "register/CareRegister.h"
#include "register/PlainSelectors.h"
#include "reports/TableCsvExport.h"
#include "tables/CareEntryTable.h"

#include <QTemporaryDir>
#include <QTest>

using namespace CareFields;

// The register exported as the main window filters it, read back with a real CSV parser.
class TestTableCsvExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void filteredRegisterReadsBack_data();
    void filteredRegisterReadsBack();

private:
    QTemporaryDir dir_;
    CsvReadBack::Rows rows_; // the export read back once: every column's case reads it
    static void add(Table &t, const QDate &date, const QString &who, const QString &doctor,
                    qint64 cost, qint64 base, qint64 cpam, qint64 mutual, const QString &note)
    {
        t.append();
        t.fieldByName(DateSoins).setAsDate(date);
        t.fieldByName(Beneficiaire).setAsString(who);
        t.fieldByName(Medecin).setAsString(doctor);
        t.fieldByName(Cout).setAsCents(cost);
        if (base)
            t.fieldByName(Base).setAsCents(base);
        if (cpam)
            t.fieldByName(MontantCPAM).setAsCents(cpam);
        if (mutual)
            t.fieldByName(MontantMutuelle).setAsCents(mutual);
        t.fieldByName(NoteSoins).setAsString(note);
        t.post();
    }
};

void TestTableCsvExport::initTestCase()
{
    Today::pinForTesting(QDate(2025, 7, 1));
    QVERIFY(dir_.isValid());
    TableStorage::createFile(dir_.filePath("TALO.DB"), CareEntryTable::definition());
    Table care(CareEntryTable::definition());
    care.setIndexFieldNames(CareEntryTable::indexFieldNames());
    PlainSelectors selectors;
    CareRegister rules(care, selectors);
    care.setDatabaseName(dir_.path());
    care.open();
    add(care, QDate(2025, 6, 30), "DUPONT", "Dr Çava; \"fils\"", 40, 0, 0, 0, "@moi -x");
    add(care, QDate(2024, 3, 2), "MARTIN", "Dr Blanc", 4550, 0, 0, 0, "");
    add(care, QDate(2024, 1, 15), "DUPONT", "=1+1", 123450, 10500, 7000, 120000,
        "Ligne 1\r\nLigne \"2\"; fin");
    selectors.beneficiaryIndex = int(selectors.beneficiaries.indexOf("DUPONT"));
    rules.lstListeBeneficiairesClick();
    // Attached while the window's table is open: it sees them as a change from elsewhere.
    ProofStore(dir_.path())
        .attach(1, {ProofSamples::write(dir_.path(), "facture.pdf", ProofSamples::pdf()),
                    ProofSamples::write(dir_.path(), "ordonnance; mars.png", ProofSamples::png())});

    care.first();
    const QString path = dir_.filePath("Soins.csv");
    QCOMPARE(TableCsvExport::write(care, path), 2);
    // The window's row is where the user left it.
    QCOMPARE(care.fieldByName(DateSoins).asDate(), QDate(2024, 1, 15));
    rows_ = CsvReadBack::rows(path);
}

void TestTableCsvExport::filteredRegisterReadsBack_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QStringList>("cells"); // DUPONT's two entries in date order
    QTest::newRow("date") << "Date" << QStringList{"15/01/2024", "30/06/2025"};
    QTest::newRow("accents") << "Bénéficiaire" << QStringList{"DUPONT", "DUPONT"};
    QTest::newRow("formula-like name") << "Médecin" << QStringList{"'=1+1", "Dr Çava; \"fils\""};
    QTest::newRow("money") << "Coût" << QStringList{"1234,50", "0,40"};
    QTest::newRow("memo") << "Note soins" << QStringList{"Ligne 1\nLigne \"2\"; fin", "'@moi -x"};
    QTest::newRow("empty date") << "Dte CPAM" << QStringList{"", ""};
    QTest::newRow("rate") << "PourcentageCPAM" << QStringList{"66,67%", ""};
    QTest::newRow("gap") << "Ecart" << QStringList{"-35,50", "0,40"};
    QTest::newRow("proofs") << "Pièces jointes"
                            << QStringList{"", "facture.pdf; ordonnance; mars.png"};
}

void TestTableCsvExport::filteredRegisterReadsBack()
{
    QFETCH(QString, column);
    QFETCH(QStringList, cells);
    QCOMPARE(rows_.size(), 3);
    QVERIFY2(!rows_[0].contains("Numero"), qPrintable(rows_[0].join('|')));
    const qsizetype at = rows_[0].indexOf(column);
    QVERIFY2(at >= 0, qPrintable(rows_[0].join('|')));
    QCOMPARE((QStringList{rows_[1].value(at), rows_[2].value(at)}), cells);
    QCOMPARE(rows_[1].size(), rows_[0].size());
}

QTEST_GUILESS_MAIN(TestTableCsvExport)
#include "test_table_csv_export.moc"
