#include "platform/core/Today.h"
#include "platform/store/DatabaseError.h"
#include "platform/store/Table.h"
#include "platform/store/TableStorage.h"
#include "tables/CareEntryTable.h"
#include "register/CareRegister.h"
#include "register/PlainSelectors.h"
#include "register/YearItems.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace CareFields;

struct Entry {
    QString date, beneficiary, cost, cpam, mutual, partial, estimate;
};
Q_DECLARE_METATYPE(Entry)

// The care-entry rules and the register's view over a real TALO.DB.
class TestCareRegister : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<Table> table_;
    std::unique_ptr<PlainSelectors> selectors_;
    std::unique_ptr<CareRegister> register_;

    void openRegister()
    {
        table_ = std::make_unique<Table>(CareEntryTable::definition());
        table_->setDatabaseName(dir_.path());
        table_->setIndexFieldNames(CareEntryTable::indexFieldNames());
        selectors_ = std::make_unique<PlainSelectors>();
        register_ = std::make_unique<CareRegister>(*table_, *selectors_);
        table_->open();
    }
    void add(const Entry &e)
    {
        Table &t = *table_;
        t.append();
        t.fieldByName(DateSoins).setAsString(e.date);
        t.fieldByName(Beneficiaire).setAsString(e.beneficiary);
        t.fieldByName(Cout).setAsString(e.cost);
        t.fieldByName(MontantCPAM).setAsString(e.cpam);
        t.fieldByName(MontantMutuelle).setAsString(e.mutual);
        t.fieldByName(MutuelleOuiNon).setAsString(e.partial);
        t.fieldByName(Estimation).setAsString(e.estimate);
        t.post();
    }
    void select(const QString &beneficiary, const QString &year)
    {
        selectors_->beneficiaryIndex = int(selectors_->beneficiaries.indexOf(beneficiary));
        selectors_->yearIndex = int(selectors_->years.indexOf(year));
        QVERIFY(selectors_->beneficiaryIndex >= 0 && selectors_->yearIndex >= 0);
        register_->lstListeBeneficiairesClick();
    }
    QStringList shownDates()
    {
        QStringList dates;
        for (table_->first(); !table_->eof(); table_->next())
            dates << table_->fieldByName(DateSoins).asString() + " " +
                         table_->fieldByName(Beneficiaire).asString();
        return dates;
    }

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Today::pinForTesting(QDate(2026, 12, 8));
        QFile::remove(dir_.filePath("TALO.DB"));
        TableStorage::createFile(dir_.filePath("TALO.DB"), CareEntryTable::definition());
        openRegister();
    }
    void cleanup()
    {
        register_.reset();
        table_.reset();
    }

    void yearSelectorRunsThroughThisYear()
    {
        const QStringList items = YearItems::items(2026);
        QCOMPARE(items.first(), QString("TOUTES"));
        QCOMPARE(items.at(1), QString("1995"));
        QCOMPARE(items.last(), QString("2026"));
        QCOMPARE(items.size(), 1 + 32);
    }

    void calculatedRateAndGap_data()
    {
        QTest::addColumn<QString>("cost");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("cpam");
        QTest::addColumn<QString>("mutual");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("gap");
        QTest::newRow("no base: no rate") << "150"
                                          << ""
                                          << ""
                                          << ""
                                          << ""
                                          << "150,00";
        QTest::newRow("base 0: no rate") << "150"
                                         << "0"
                                         << "100"
                                         << ""
                                         << ""
                                         << "50,00";
        QTest::newRow("65%") << "80"
                             << "80"
                             << "52"
                             << ""
                             << "65%"
                             << "28,00";
        QTest::newRow("5.3 shows 05%") << "100"
                                       << "100"
                                       << "5,30"
                                       << ""
                                       << "05%"
                                       << "94,70";
        QTest::newRow("100%") << "50"
                              << "50"
                              << "50"
                              << "0"
                              << "100%"
                              << "0,00";
        QTest::newRow("fully covered") << "150"
                                       << "150"
                                       << "100"
                                       << "50"
                                       << "67%"
                                       << "0,00";
        QTest::newRow("over-reimbursed") << "20"
                                         << ""
                                         << "15"
                                         << "10"
                                         << ""
                                         << "-5,00";
    }
    void calculatedRateAndGap()
    {
        QFETCH(QString, cost);
        QFETCH(QString, base);
        QFETCH(QString, cpam);
        QFETCH(QString, mutual);
        QFETCH(QString, rate);
        QFETCH(QString, gap);
        Table &t = *table_;
        t.append();
        t.fieldByName(DateSoins).setAsString("01/02/25");
        t.fieldByName(Beneficiaire).setAsString("PAUL");
        t.fieldByName(Cout).setAsString(cost);
        t.fieldByName(Base).setAsString(base);
        t.fieldByName(MontantCPAM).setAsString(cpam);
        t.fieldByName(MontantMutuelle).setAsString(mutual);
        QCOMPARE(t.fieldByName(PourcentageCPAM).displayText(), rate);
        QCOMPARE(t.fieldByName(Balance).asString(), gap);
        t.post();
        QCOMPARE(t.fieldByName(PourcentageCPAM).displayText(), rate);
        QCOMPARE(t.fieldByName(Balance).asString(), gap);
    }

    void flagsAreNormalisedOnPost_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("untouched") << ""
                                   << "Faux";
        QTest::newRow("Vrai stays") << "Vrai"
                                    << "Vrai";
        QTest::newRow("Faux stays") << "Faux"
                                    << "Faux";
        QTest::newRow("small letters") << "vrai"
                                       << "Faux";
        QTest::newRow("English") << "True"
                                 << "Faux";
    }
    void flagsAreNormalisedOnPost()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        add({"01/02/25", "PAUL", "10", "", "", typed, ""});
        table_->edit();
        table_->fieldByName(CPAMOuiNon).setAsString(typed);
        table_->post();
        table_.reset();
        register_.reset();
        openRegister();
        QCOMPARE(table_->fieldByName(MutuelleOuiNon).asString(), stored);
        QCOMPARE(table_->fieldByName(CPAMOuiNon).asString(), stored);
    }

    void newBeneficiaryJoinsTheSelector()
    {
        selectors_->beneficiaries << "PAUL";
        add({"01/02/25", "Paul", "10", "", "", "", ""});
        QCOMPARE(selectors_->beneficiaries, QStringList({"TOUS", "PAUL"}));
        add({"01/02/25", "MARIE", "10", "", "", "", ""});
        QCOMPARE(selectors_->beneficiaries, QStringList({"TOUS", "PAUL", "MARIE"}));
    }

    void requiredValuesNameTheFirstMissingField_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("cost");
        QTest::addColumn<QString>("message");
        QTest::newRow("no cost") << "01/02/25"
                                 << ""
                                 << "Le champ 'Coût' doit avoir une valeur";
        QTest::newRow("no date, no cost") << ""
                                          << ""
                                          << "Le champ 'Date' doit avoir une valeur";
    }
    void requiredValuesNameTheFirstMissingField()
    {
        QFETCH(QString, date);
        QFETCH(QString, cost);
        QFETCH(QString, message);
        try {
            add({date, "NEWNAME", cost, "", "", "", ""});
            QFAIL("posted without a required value");
        } catch (const DatabaseError &e) {
            QCOMPARE(e.message(), message);
        }
        QCOMPARE(table_->state(), Table::State::Insert);
        QCOMPARE(selectors_->beneficiaries, QStringList({"TOUS"})); // refused post changed nothing
    }

    void deletingTheLastEntryOfANameRemovesIt()
    {
        add({"01/02/25", "PAUL", "10", "", "", "", ""});
        add({"02/02/25", "PAUL", "10", "", "", "", ""});
        add({"03/02/25", "MARIE", "10", "", "", "", ""});
        QCOMPARE(selectors_->beneficiaries, QStringList({"TOUS", "PAUL", "MARIE"}));
        table_->first();
        table_->deleteRecord(); // one of PAUL's two
        QCOMPARE(selectors_->beneficiaries, QStringList({"TOUS", "PAUL", "MARIE"}));
        QCOMPARE(table_->fieldByName(Beneficiaire).asString(), QString("PAUL"));
        table_->deleteRecord(); // PAUL's last
        QCOMPARE(selectors_->beneficiaries, QStringList({"TOUS", "MARIE"}));
        QCOMPARE(table_->recordCount(), 1);
    }

    void deleteCountsOnlyTheEntriesInView()
    {
        add({"01/02/24", "PAUL", "10", "", "", "", ""});
        add({"01/02/25", "PAUL", "10", "", "", "", ""});
        select("TOUS", "2025");
        QCOMPARE(table_->recordCount(), 1);
        table_->deleteRecord();
        QCOMPARE(selectors_->beneficiaries, QStringList({"TOUS"}));
        add({"05/05/24", "PAUL", "10", "", "", "", ""}); // the name comes back with a post
        QCOMPARE(selectors_->beneficiaries, QStringList({"TOUS", "PAUL"}));
    }

    void selectorsNarrowTheView_data()
    {
        QTest::addColumn<QString>("beneficiary");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("everything")
            << "TOUS"
            << "TOUTES"
            << QStringList{"15/06/97 PAUL", "01/01/98 MARIE", "20/03/24 Paul", "05/04/24 PAUL",
                           "31/12/97 MARIE"};
        QTest::newRow("one beneficiary, all years")
            << "PAUL"
            << "TOUTES" << QStringList{"15/06/97 PAUL", "05/04/24 PAUL"};
        QTest::newRow("name in another case shows nothing")
            << "Paul"
            << "TOUTES" << QStringList{"20/03/24 Paul"};
        QTest::newRow("all beneficiaries, 1997")
            << "TOUS"
            << "1997" << QStringList{"15/06/97 PAUL", "31/12/97 MARIE"};
        QTest::newRow("both") << "MARIE"
                              << "1997" << QStringList{"31/12/97 MARIE"};
        QTest::newRow("nothing matches") << "MARIE"
                                         << "2024" << QStringList{};
    }
    void selectorsNarrowTheView()
    {
        QFETCH(QString, beneficiary);
        QFETCH(QString, year);
        QFETCH(QStringList, shown);
        for (const auto &[date, name] : {std::pair{"15/06/97", "PAUL"},
                                         {"01/01/98", "MARIE"},
                                         {"20/03/24", "Paul"},
                                         {"05/04/24", "PAUL"},
                                         {"31/12/97", "MARIE"}})
            add({date, name, "1", "", "", "", ""});
        selectors_->beneficiaries = {"TOUS", "PAUL", "MARIE", "Paul"};
        select(beneficiary, year);
        QStringList expected = shown;
        if (beneficiary == "TOUS" && year == "TOUTES") {
            QVERIFY(!table_->isFiltered());
            expected = {"15/06/97 PAUL", "31/12/97 MARIE", "01/01/98 MARIE", "20/03/24 Paul",
                        "05/04/24 PAUL"};
        }
        QStringList actual = shownDates();
        QCOMPARE(actual, expected);
    }

    void totalsOfTheView_data()
    {
        QTest::addColumn<QList<Entry>>("entries");
        QTest::addColumn<QStringList>("status");
        QTest::addColumn<QString>("awaited");
        QTest::newRow("empty register")
            << QList<Entry>{}
            << QStringList{"Total coût : 0,00\u00A0€", "Total C.P.A.M.: 0,00\u00A0€",
                           "Total mutuelle : 0,00\u00A0€", "Total écart : 0,00\u00A0€"}
            << "0,00\u00A0€";
        QTest::newRow("awaiting the mutual insurer")
            << QList<Entry>{{"01/02/25", "PAUL", "100", "60", "", "", ""}}
            << QStringList{"Total coût : 100,00\u00A0€", "Total C.P.A.M.: 60,00\u00A0€",
                           "Total mutuelle : 0,00\u00A0€", "Total écart : 40,00\u00A0€"}
            << "40,00\u00A0€";
        QTest::newRow("partial with an estimate")
            << QList<Entry>{{"01/02/25", "PAUL", "100", "60", "", "Vrai", "70"}}
            << QStringList{"Total coût : 100,00\u00A0€", "Total C.P.A.M.: 60,00\u00A0€",
                           "Total mutuelle : 0,00\u00A0€", "Total écart : 40,00\u00A0€"}
            << "10,00\u00A0€";
        QTest::newRow("partial without an estimate")
            << QList<Entry>{{"01/02/25", "PAUL", "100", "60", "", "Vrai", ""}}
            << QStringList{"Total coût : 100,00\u00A0€", "Total C.P.A.M.: 60,00\u00A0€",
                           "Total mutuelle : 0,00\u00A0€", "Total écart : 40,00\u00A0€"}
            << "-60,00\u00A0€";
        QTest::newRow("over-reimbursed lowers the totals")
            << QList<Entry>{{"01/02/25", "PAUL", "100", "60", "30", "", ""},
                            {"02/02/25", "PAUL", "20", "15", "10", "", ""}}
            << QStringList{"Total coût : 120,00\u00A0€", "Total C.P.A.M.: 75,00\u00A0€",
                           "Total mutuelle : 40,00\u00A0€", "Total écart : 5,00\u00A0€"}
            << "5,00\u00A0€";
        QTest::newRow("gaps cancelling out never show -0")
            << QList<Entry>{{"01/02/25", "PAUL", "0,10", "0,20", "", "", ""},
                            {"02/02/25", "PAUL", "0,20", "0,10", "", "", ""}}
            << QStringList{"Total coût : 0,30\u00A0€", "Total C.P.A.M.: 0,30\u00A0€",
                           "Total mutuelle : 0,00\u00A0€", "Total écart : 0,00\u00A0€"}
            << "0,00\u00A0€";
    }
    void totalsOfTheView()
    {
        QFETCH(QList<Entry>, entries);
        QFETCH(QStringList, status);
        QFETCH(QString, awaited);
        for (const Entry &e : entries)
            add(e);
        QCOMPARE(register_->totals().statusTexts(), status);
        QCOMPARE(register_->totals().awaitedText(), awaited);
    }

    void sumsOfManyCentsAreExact()
    {
        table_->disableControls();
        for (int i = 0; i < 300; ++i)
            add({"01/02/25", "PAUL", "0,10", "0,07", "", "", ""});
        table_->enableControls();
        QCOMPARE(register_->totals().cost, qint64(3000));
        QCOMPARE(register_->totals().statusTexts().at(0), QString("Total coût : 30,00\u00A0€"));
        QCOMPARE(register_->totals().statusTexts().at(3), QString("Total écart : 9,00\u00A0€"));
    }

    void awaitedShowsAtMostSevenDigits()
    {
        add({"01/02/25", "PAUL", "1234567,89", "", "", "", ""});
        QCOMPARE(register_->totals().awaitedText(), QString("1\u202F234\u202F568,00\u00A0€"));
        QCOMPARE(register_->totals().statusTexts().at(0),
                 QString("Total coût : 1\u202F234\u202F567,89\u00A0€"));
    }

    void totalsFollowAPostAndKeepTheCurrentRecord()
    {
        add({"01/02/25", "PAUL", "100", "", "", "", ""});
        add({"03/02/25", "PAUL", "50", "", "", "", ""});
        table_->first();
        QSignalSpy spy(register_.get(), &CareRegister::totalsChanged);
        table_->edit();
        table_->fieldByName(MontantCPAM).setAsString("30");
        table_->post();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(register_->totals().awaited, qint64(12000));
        QCOMPARE(table_->fieldByName(DateSoins).asString(), QString("01/02/25"));
        QCOMPARE(table_->state(), Table::State::Browse);
    }

    void selectorTotalsCoverTheViewOnly()
    {
        add({"01/02/25", "PAUL", "100", "", "", "", ""});
        add({"01/02/24", "MARIE", "40", "", "", "", ""});
        select("TOUS", "2024");
        QCOMPARE(register_->totals().cost, qint64(4000));
        select("PAUL", "TOUTES");
        QCOMPARE(register_->totals().cost, qint64(10000));
        select("TOUS", "TOUTES");
        QCOMPARE(register_->totals().cost, qint64(14000));
    }

    void reportTableFollowsTheFilterSwitch()
    {
        add({"01/02/25", "PAUL", "100", "", "", "", ""});
        Table report(CareEntryTable::definition());
        report.setDatabaseName(dir_.path());
        report.open();
        register_->addFollower(report);
        select("PAUL", "TOUTES");
        QVERIFY(report.isFiltered());
        select("TOUS", "TOUTES");
        QVERIFY(!report.isFiltered());
    }
};

QTEST_GUILESS_MAIN(TestCareRegister)
#include "test_care_register.moc"
