#include "platform/report/TableReportSource.h"
#include "platform/store/DatabaseError.h"
#include "support/SampleTable.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

namespace
{

struct Seen {
    QStringList names, days, amounts;
    QList<std::optional<qint64>> cents;
};

Seen walk(ReportDataSource &source)
{
    Seen seen;
    for (source.first(); !source.eof(); source.next()) {
        seen.names << source.displayText("Nom");
        seen.days << source.displayText("Jour");
        seen.amounts << source.displayText("Montant");
        seen.cents << source.cents("Montant");
    }
    return seen;
}

} // namespace

// A report's rows read from a table component: order, filter, display texts and amounts.
class TestTableReportSource : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<Table> table_;

    Table &openTable()
    {
        table_ = std::make_unique<Table>(SampleTable::definition());
        table_->setDatabaseName(dir_.path());
        table_->open();
        return *table_;
    }

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }

    void init()
    {
        QFile::remove(dir_.filePath("SAMPLE.DB"));
        SampleTable::createIn(dir_.path());
    }
    void cleanup() { table_.reset(); }

    void rowsInIndexOrderAsDisplayed()
    {
        Table &t = openTable();
        SampleTable::addRow(t, "BERNARD", QDate(2021, 3, 5), 123450);
        SampleTable::addRow(t, "ALBERT", QDate(1997, 12, 31), -250);
        SampleTable::addRow(t, "ALBERT", QDate(1996, 1, 2), 0);
        TableReportSource source(t);
        const Seen seen = walk(source);
        QCOMPARE(seen.names, QStringList({"ALBERT", "ALBERT", "BERNARD"}));
        QCOMPARE(seen.days, QStringList({"02/01/96", "31/12/97", "05/03/21"}));
        QCOMPARE(seen.amounts,
                 QStringList({QStringLiteral("0,00\u00a0€"), QStringLiteral("-2,50\u00a0€"),
                              QStringLiteral("1\u202f234,50\u00a0€")}));
        QCOMPARE(seen.cents, (QList<std::optional<qint64>>{0, -250, 123450}));
    }

    void emptyValuesPrintNothingAndHaveNoAmount()
    {
        Table &t = openTable();
        t.append();
        t.fieldByName("Nom").setAsString("CLAUDE");
        t.fieldByName("Jour").setAsDate(QDate(2020, 6, 1));
        t.post();
        TableReportSource source(t);
        source.first();
        QVERIFY(!source.eof());
        QCOMPARE(source.displayText("Montant"), QString());
        QCOMPARE(source.displayText("Note"), QString());
        QCOMPARE(source.cents("Montant"), std::optional<qint64>());
    }

    void onlyRowsTheFilterLetsThrough()
    {
        Table &t = openTable();
        for (const char *name : {"A", "B", "A", "C"})
            SampleTable::addRow(t, name, QDate(2020, 1, 1), 100);
        t.onFilterRecord = [](Table &table) {
            return table.fieldByName("Nom").asString() != QLatin1String("A");
        };
        t.setFiltered(true);
        TableReportSource source(t);
        QCOMPARE(walk(source).names, QStringList({"B", "C"}));
    }

    void everyRunRestartsAtTheFirstRow()
    {
        Table &t = openTable();
        SampleTable::addRow(t, "A", QDate(2020, 1, 1), 100);
        SampleTable::addRow(t, "B", QDate(2020, 1, 1), 200);
        TableReportSource source(t);
        QCOMPARE(walk(source).names, QStringList({"A", "B"}));
        QVERIFY(source.eof());
        QCOMPARE(walk(source).names, QStringList({"A", "B"}));
    }

    void emptyTableIsAtItsEndAtOnce()
    {
        TableReportSource source(openTable());
        source.first();
        QVERIFY(source.eof());
    }

    void seesRowsPostedThroughAnotherComponent()
    {
        Table &reader = openTable();
        TableReportSource source(reader);
        QCOMPARE(walk(source).names, QStringList());
        Table writer(SampleTable::definition());
        writer.setDatabaseName(dir_.path());
        writer.open();
        SampleTable::addRow(writer, "DENIS", QDate(2020, 1, 1), 100);
        QCOMPARE(walk(source).names, QStringList({"DENIS"}));
    }

    void movesToAnyRow_data()
    {
        QTest::addColumn<QList<int>>("moves");
        QTest::addColumn<QStringList>("names"); // "" past the last row

        // Each walk first runs to the end, as a run laying out every page leaves the table.
        QTest::newRow("first row") << QList<int>{0} << QStringList{"A"};
        QTest::newRow("last row") << QList<int>{2} << QStringList{"C"};
        QTest::newRow("past the end") << QList<int>{3} << QStringList{""};
        QTest::newRow("back and forth")
            << QList<int>{2, 0, 1, 1, 3, 2} << QStringList{"C", "A", "B", "B", "", "C"};
    }

    void movesToAnyRow()
    {
        QFETCH(QList<int>, moves);
        QFETCH(QStringList, names);
        Table &t = openTable();
        for (const char *name : {"A", "B", "C"})
            SampleTable::addRow(t, name, QDate(2020, 1, 1), 100);
        TableReportSource source(t);
        walk(source);
        const int handle = source.fieldHandle("Nom");
        QStringList seen;
        for (int position : moves) {
            source.moveTo(position);
            seen << (source.eof() ? QString() : source.displayTextAt(handle));
        }
        QCOMPARE(seen, names);
    }

    void unknownFieldIsAnError()
    {
        Table &t = openTable();
        SampleTable::addRow(t, "A", QDate(2020, 1, 1), 100);
        TableReportSource source(t);
        source.first();
        try {
            source.displayText("Inconnu");
            QFAIL("no error");
        } catch (const DatabaseError &e) {
            QCOMPARE(e.message(), QStringLiteral("Champ 'Inconnu' non trouvé"));
        }
        QVERIFY_THROWS_EXCEPTION(DatabaseError, source.cents("Inconnu"));
        // Named once for a whole run, it is refused when read.
        const int handle = source.fieldHandle("Inconnu");
        QVERIFY_THROWS_EXCEPTION(DatabaseError, source.displayTextAt(handle));
    }
};

QTEST_GUILESS_MAIN(TestTableReportSource)
#include "test_table_report_source.moc"
