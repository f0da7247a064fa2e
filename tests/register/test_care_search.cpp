#include "platform/core/Today.h"
#include "platform/store/Table.h"
#include "platform/store/TableStorage.h"
#include "register/CareSearch.h"
#include "register/CareSearchQuery.h"
#include "register/CareViewChoice.h"
#include "tables/CareEntryTable.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace CareFields;

namespace
{

using Values = QList<std::pair<QString, QString>>;

// A term as "text|amount in cents|first day-last day", "-" for what it is not.
QString describe(const CareSearchQuery::Term &term)
{
    const QString cents = term.cents ? QString::number(*term.cents) : QStringLiteral("-");
    const QString dates =
        term.from.isValid() ? term.from.toString(Qt::ISODate) + "~" + term.to.toString(Qt::ISODate)
                            : QStringLiteral("-");
    return term.text + "|" + cents + "|" + dates;
}

} // namespace

// Reading what is typed, finding entries over a real TALO.DB whatever the view, and the view
// that shows an entry found.
class TestCareSearch : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<Table> table_;

    std::unique_ptr<Table> openTable()
    {
        auto table = std::make_unique<Table>(CareEntryTable::definition());
        table->setDatabaseName(dir_.path());
        table->setIndexFieldNames(CareEntryTable::indexFieldNames());
        table->open();
        return table;
    }
    static void add(Table &table, const Values &values)
    {
        table.append();
        for (const auto &[field, text] : values)
            table.fieldByName(field).setAsString(text);
        table.post();
    }
    QStringList found(CareSearch &search, const QString &typed)
    {
        QStringList lines;
        for (const CareSearchHit &hit : search.find(CareSearchQuery::parse(typed))) {
            lines << hit.date.toString("dd/MM/yy") + " " + hit.beneficiary + " " + hit.doctor +
                         " " + (hit.cost ? QString::number(*hit.cost) : "-");
        }
        return lines;
    }

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Today::pinForTesting(QDate(2024, 6, 15));
        QFile::remove(dir_.filePath("TALO.DB"));
        TableStorage::createFile(dir_.filePath("TALO.DB"), CareEntryTable::definition());
        table_ = openTable();
    }
    void cleanup() { table_.reset(); }

    void parse_data();
    void parse();
    void find_data();
    void find();
    void findIgnoresTheView();
    void foldedTextsFollowTheTableReadAgain();
    void viewHolding_data();
    void viewHolding();
};

void TestCareSearch::parse_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("terms");
    QTest::newRow("nothing") << "  \t " << QStringList();
    QTest::newRow("words, case and accents")
        << "Élodie  CŒUR l’œil" << QStringList{"elodie|-|-", "coeur|-|-", "l'oeil|-|-"};
    QTest::newRow("accents written apart")
        << QString("E\u0301le\u0300ve Stra\u00DFe") << QStringList{"eleve|-|-", "strasse|-|-"};
    QTest::newRow("already plain") << "carie" << QStringList{"carie|-|-"};
    QTest::newRow("amount with comma") << "12,5" << QStringList{"12,5|1250|-"};
    QTest::newRow("amount with point and cents") << "12.05" << QStringList{"12.05|1205|-"};
    QTest::newRow("whole amount") << "45" << QStringList{"45|4500|-"};
    QTest::newRow("negative amount") << "-7,5" << QStringList{"-7,5|-750|-"};
    QTest::newRow("amount with euro sign") << "12,50€" << QStringList{"12,50|1250|-"};
    QTest::newRow("amount as the grid shows it")
        << QString("1\u00A0234,50 €") << QStringList{"1234,50|123450|-"};
    QTest::newRow("two numbers stay two") << "12 345" << QStringList{"12|1200|-", "345|34500|-"};
    QTest::newRow("three decimals are text") << "1,234" << QStringList{"1,234|-|-"};
    QTest::newRow("date, two-digit year")
        << "12/03/24" << QStringList{"12/03/24|-|2024-03-12~2024-03-12"};
    QTest::newRow("date, window of years")
        << "1/2/60" << QStringList{"1/2/60|-|1960-02-01~1960-02-01"};
    QTest::newRow("date, full year, points")
        << "29.02.2024" << QStringList{"29.02.2024|-|2024-02-29~2024-02-29"};
    QTest::newRow("impossible date is text") << "31/02/24" << QStringList{"31/02/24|-|-"};
    QTest::newRow("month") << "03/2024" << QStringList{"03/2024|-|2024-03-01~2024-03-31"};
    QTest::newRow("february of a leap year")
        << "2/2024" << QStringList{"2/2024|-|2024-02-01~2024-02-29"};
    QTest::newRow("month 13 is text") << "13/2024" << QStringList{"13/2024|-|-"};
    QTest::newRow("year, also an amount")
        << "2024" << QStringList{"2024|202400|2024-01-01~2024-12-31"};
    QTest::newRow("words and a period")
        << "dentiste 2023" << QStringList{"dentiste|-|-", "2023|202300|2023-01-01~2023-12-31"};
}

void TestCareSearch::parse()
{
    QFETCH(QString, typed);
    QStringList terms;
    const CareSearchQuery query = CareSearchQuery::parse(typed);
    for (const CareSearchQuery::Term &term : query.terms())
        terms << describe(term);
    QTEST(terms, "terms");
}

void TestCareSearch::find_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("lines");
    const QString a = "10/01/23 ÉLODIE DR LEFÈVRE 2000";
    const QString b = "12/03/24 PAUL DR MARTIN 1250";
    const QString c = "12/03/24 ÉLODIE  4000";
    const QString d = "20/03/24 PAUL DR MARTIN 12000";
    QTest::newRow("nothing typed") << "" << QStringList();
    QTest::newRow("beneficiary without accent or capitals") << "elodie" << QStringList{c, a};
    QTest::newRow("any part of the doctor") << "fev" << QStringList{a};
    QTest::newRow("speciality") << "ophtalmo" << QStringList{d};
    QTest::newRow("note soins") << "carie" << QStringList{c};
    QTest::newRow("note CPAM, accents typed") << "RETARDÉ" << QStringList{a};
    QTest::newRow("note mutuelle") << "devis" << QStringList{d};
    QTest::newRow("payment") << "espèces" << QStringList{b};
    QTest::newRow("cost 12,5") << "12,5" << QStringList{b};
    QTest::newRow("cost written as the grid") << "120,00 €" << QStringList{d};
    QTest::newRow("base") << "30" << QStringList{c};
    QTest::newRow("amount C.P.A.M.") << "17,5" << QStringList{a};
    QTest::newRow("amount mutuelle") << "7,5" << QStringList{a};
    QTest::newRow("estimate") << "100" << QStringList{d};
    QTest::newRow("gap, calculated") << "-5" << QStringList{a};
    QTest::newRow("empty amounts are not zero") << "0" << QStringList{};
    QTest::newRow("care date, same day in reverse order") << "12/03/24" << QStringList{b, c};
    QTest::newRow("care date, full year") << "20/03/2024" << QStringList{d};
    QTest::newRow("reimbursement date is not the care date") << "25/03/24" << QStringList{};
    QTest::newRow("month") << "03/2024" << QStringList{d, b, c};
    QTest::newRow("year") << "2023" << QStringList{a};
    QTest::newRow("every word must match") << "paul 03/2024 ophtalmo" << QStringList{d};
    QTest::newRow("one word missing") << "paul carie" << QStringList{};
    QTest::newRow("number as text") << "martin 120" << QStringList{d};
}

void TestCareSearch::find()
{
    // Stored out of order and under a filter-free table: the results come newest first.
    add(*table_, {{DateSoins, "12/03/24"},
                  {Beneficiaire, "PAUL"},
                  {Medecin, "DR MARTIN"},
                  {Paiement, "Espèces"},
                  {Cout, "12,5"}});
    add(*table_, {{DateSoins, "10/01/23"},
                  {Beneficiaire, "ÉLODIE"},
                  {Medecin, "DR LEFÈVRE"},
                  {Cout, "20"},
                  {DateCPAM, "25/03/24"},
                  {MontantCPAM, "17,5"},
                  {NoteCPAM, "Remboursement retardé"},
                  {MontantMutuelle, "7,5"},
                  {DateMutuelle, "25/03/24"},
                  {Estimation, "2,5"}});
    add(*table_, {{DateSoins, "20/03/24"},
                  {Beneficiaire, "PAUL"},
                  {Medecin, "DR MARTIN"},
                  {Specialite, "Ophtalmologie"},
                  {Cout, "120"},
                  {MutuelleOuiNon, Vrai},
                  {Estimation, "100"},
                  {NoteMutuelle, "Devis accepté"}});
    add(*table_, {{DateSoins, "12/03/24"},
                  {Beneficiaire, "ÉLODIE"},
                  {Cout, "40"},
                  {Base, "30"},
                  {NoteSoins, "Carie, deuxième séance"}});
    QFETCH(QString, typed);
    CareSearch search(*table_);
    QTEST(found(search, typed), "lines");
}

void TestCareSearch::findIgnoresTheView()
{
    add(*table_, {{DateSoins, "01/02/23"}, {Beneficiaire, "PAUL"}, {Cout, "10"}});
    add(*table_, {{DateSoins, "01/02/24"}, {Beneficiaire, "LUCIE"}, {Cout, "10"}});
    table_->onFilterRecord = [](Table &t) {
        return t.fieldByName(Beneficiaire).asString() == QLatin1String("LUCIE");
    };
    table_->setFiltered(true);
    QCOMPARE(table_->recordCount(), 1);
    const Bookmark before = table_->bookmark();
    CareSearch search(*table_);
    QCOMPARE(found(search, "paul"), QStringList{"01/02/23 PAUL  1000"});
    // Nothing moved.
    QCOMPARE(table_->bookmark().rowId, before.rowId);
    QCOMPARE(table_->recordCount(), 1);
}

void TestCareSearch::foldedTextsFollowTheTableReadAgain()
{
    add(*table_,
        {{DateSoins, "01/02/24"}, {Beneficiaire, "PAUL"}, {Cout, "10"}, {NoteSoins, "alpha"}});
    add(*table_,
        {{DateSoins, "02/02/24"}, {Beneficiaire, "PAUL"}, {Cout, "20"}, {NoteSoins, "beta"}});
    CareSearch search(*table_);
    QCOMPARE(found(search, "alpha"), QStringList{"01/02/24 PAUL  1000"});
    QCOMPARE(found(search, "beta"), QStringList{"02/02/24 PAUL  2000"});
    // Another component removes the first entry; this one reads the file again, and the note
    // "beta" gets the number "alpha" had.
    {
        std::unique_ptr<Table> other = openTable();
        other->first();
        other->deleteRecord();
    }
    table_->first();
    QCOMPARE(table_->recordCount(), 1);
    QCOMPARE(found(search, "alpha"), QStringList{});
    QCOMPARE(found(search, "beta"), QStringList{"02/02/24 PAUL  2000"});
}

void TestCareSearch::viewHolding_data()
{
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("beneficiary");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expectedYear");
    QTest::addColumn<QString>("expectedBeneficiary");
    QTest::newRow("everything shown") << "TOUTES"
                                      << "TOUS"
                                      << "12/03/2024"
                                      << "PAUL"
                                      << "TOUTES"
                                      << "TOUS";
    QTest::newRow("view holds it") << "2024"
                                   << "PAUL"
                                   << "12/03/2024"
                                   << "PAUL"
                                   << "2024"
                                   << "PAUL";
    QTest::newRow("other year, same person") << "2023"
                                             << "PAUL"
                                             << "12/03/2024"
                                             << "PAUL"
                                             << "2024"
                                             << "PAUL";
    QTest::newRow("other person, same year") << "2024"
                                             << "LUCIE"
                                             << "12/03/2024"
                                             << "PAUL"
                                             << "2024"
                                             << "PAUL";
    QTest::newRow("other person and year") << "2023"
                                           << "LUCIE"
                                           << "12/03/2024"
                                           << "PAUL"
                                           << "2024"
                                           << "PAUL";
    QTest::newRow("one person, all years") << "TOUTES"
                                           << "LUCIE"
                                           << "12/03/2024"
                                           << "PAUL"
                                           << "TOUTES"
                                           << "PAUL";
    QTest::newRow("one year, everyone") << "2023"
                                        << "TOUS"
                                        << "12/03/2024"
                                        << "PAUL"
                                        << "2024"
                                        << "TOUS";
    QTest::newRow("year not listed") << "2023"
                                     << "PAUL"
                                     << "12/03/1990"
                                     << "PAUL"
                                     << "TOUTES"
                                     << "PAUL";
    QTest::newRow("name not listed") << "2024"
                                     << "LUCIE"
                                     << "12/03/2024"
                                     << "MARC"
                                     << "2024"
                                     << "TOUS";
    QTest::newRow("listed in other capitals") << "TOUTES"
                                              << "LUCIE"
                                              << "12/03/2024"
                                              << "Paul"
                                              << "TOUTES"
                                              << "TOUS";
    QTest::newRow("no name shown") << "TOUTES"
                                   << ""
                                   << "12/03/2024"
                                   << "PAUL"
                                   << "TOUTES"
                                   << "PAUL";
    QTest::newRow("no date") << "2024"
                             << "PAUL"
                             << ""
                             << "PAUL"
                             << "TOUTES"
                             << "PAUL";
}

void TestCareSearch::viewHolding()
{
    QFETCH(QString, year);
    QFETCH(QString, beneficiary);
    QFETCH(QString, date);
    QFETCH(QString, name);
    const QDate careDate = QDate::fromString(date, "dd/MM/yyyy");
    const CareViewChoice::View view = CareViewChoice::holding(
        {year, beneficiary}, careDate, name, {"TOUTES", "2023", "2024"}, {"TOUS", "PAUL", "LUCIE"});
    QTEST(view.year, "expectedYear");
    QTEST(view.beneficiary, "expectedBeneficiary");
    QVERIFY(CareViewChoice::holds(view, careDate, name));
}

QTEST_GUILESS_MAIN(TestCareSearch)
#include "test_care_search.moc"
