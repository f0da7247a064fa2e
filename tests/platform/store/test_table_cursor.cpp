#include "platform/store/DatabaseError.h"
#include "support/SampleTable.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// The cursor: moving, end tests, the per-row filter, bookmarks and the suspension of controls.
class TestTableCursor : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<Table> table_;

    Table &openWith(const QStringList &names)
    {
        table_ = std::make_unique<Table>(SampleTable::definition());
        table_->setDatabaseName(dir_.path());
        table_->open();
        int day = 1;
        for (const QString &name : names)
            SampleTable::addRow(*table_, name, QDate(2020, 1, day++), 100);
        return *table_;
    }
    static QString name(Table &t) { return t.fieldByName("Nom").asString(); }

private Q_SLOTS:
    void init()
    {
        QFile::remove(dir_.filePath("SAMPLE.DB"));
        SampleTable::createIn(dir_.path());
    }
    void cleanup() { table_.reset(); }

    void walkingSetsEndFlags()
    {
        Table &t = openWith({"A", "B", "C"});
        t.first();
        QVERIFY(t.bof());
        QVERIFY(!t.eof());
        QStringList seen;
        while (!t.eof()) {
            seen << name(t);
            t.next();
        }
        QCOMPARE(seen, QStringList({"A", "B", "C"}));
        QCOMPARE(name(t), QString("C")); // next past the last row stays on it
        t.last();
        t.prior();
        QCOMPARE(name(t), QString("B"));
        t.prior();
        t.prior();
        QVERIFY(t.bof());
        QCOMPARE(name(t), QString("A"));
        QCOMPARE(t.recordCount(), 3);
    }

    void emptyTableIsAtBothEnds()
    {
        Table &t = openWith({});
        t.first();
        QVERIFY(t.eof());
        QVERIFY(t.bof());
        QCOMPARE(t.recordCount(), 0);
        QVERIFY(t.fieldByName("Nom").isNull());
    }

    void filterShowsOnlyAcceptedRows()
    {
        Table &t = openWith({"A", "B", "A", "C"});
        QString wanted = "A";
        t.onFilterRecord = [&](Table &table) { return name(table) == wanted; };
        t.setFiltered(true);
        QCOMPARE(t.recordCount(), 2);
        for (t.first(); !t.eof(); t.next())
            QCOMPARE(name(t), QString("A"));
        wanted = "C";
        t.refilter();
        QCOMPARE(t.recordCount(), 1);
        QCOMPARE(name(t), QString("C"));
        t.setFiltered(false);
        QCOMPARE(t.recordCount(), 4);
        QCOMPARE(name(t), QString("C")); // the current row stays current when still in view
    }

    void filterSwitchedOnBeforeOpenApplies()
    {
        openWith({"A", "B", "A"});
        table_ = std::make_unique<Table>(SampleTable::definition());
        table_->setDatabaseName(dir_.path());
        table_->onFilterRecord = [](Table &table) { return name(table) == "B"; };
        table_->setFiltered(true);
        table_->open();
        QCOMPARE(table_->recordCount(), 1);
        QCOMPARE(name(*table_), QString("B"));
    }

    void postedRowFollowsTheFilter()
    {
        Table &t = openWith({"A", "B"});
        t.onFilterRecord = [](Table &table) { return name(table) == "A"; };
        t.setFiltered(true);
        SampleTable::addRow(t, "A", QDate(2021, 1, 1), 1);
        QCOMPARE(t.recordCount(), 2);
        SampleTable::addRow(t, "B", QDate(2021, 1, 1), 1);
        QCOMPARE(t.recordCount(), 2); // written, but not in this view
        t.setFiltered(false);
        QCOMPARE(t.recordCount(), 4);
    }

    void filterSwitchPostsAnEditFirst()
    {
        Table &t = openWith({"A", "B"});
        t.first();
        t.edit();
        t.fieldByName("Montant").setAsCents(999);
        t.onFilterRecord = [](Table &) { return true; };
        t.setFiltered(true);
        QCOMPARE(t.state(), Table::State::Browse);
        t.first();
        QCOMPARE(t.fieldByName("Montant").asCents(), 999);
    }

    void bookmarksReturnToTheRow()
    {
        Table &t = openWith({"A", "B", "C"});
        t.first();
        t.next();
        const Bookmark mark = t.bookmark();
        t.last();
        QVERIFY(t.gotoBookmark(mark));
        QCOMPARE(name(t), QString("B"));
        t.deleteRecord();
        QVERIFY(!t.gotoBookmark(mark));
        QVERIFY(!t.gotoBookmark(Bookmark{}));
    }

    void nestedDisableControlsHoldsNotifications()
    {
        Table &t = openWith({"A", "B", "C"});
        QSignalSpy moved(&t, &Table::recordChanged);
        QSignalSpy reset(&t, &Table::dataSetChanged);
        t.disableControls();
        t.disableControls();
        t.first();
        t.next();
        t.enableControls();
        QCOMPARE(moved.count(), 0);
        t.enableControls();
        QCOMPARE(moved.count(), 1); // one notice at the last enable
        QCOMPARE(reset.count(), 0);
        t.disableControls();
        SampleTable::addRow(t, "D", QDate(2022, 1, 1), 1);
        t.enableControls();
        QCOMPARE(reset.count(), 1);
    }

    void gridSeesThePendingNewRow()
    {
        Table &t = openWith({"A", "B"});
        t.append();
        QCOMPARE(t.shownRowCount(), 3);
        QCOMPARE(t.shownCurrentRow(), 2);
        t.fieldByName("Nom").setAsString("Z");
        QCOMPARE(t.shownText(2, 0), QString("Z"));
        QCOMPARE(t.shownText(0, 0), QString("A"));
        t.cancel();
        QCOMPARE(t.shownRowCount(), 2);
    }

    void gridClickAimsAtTheRecordEvenWhenAPostReorders()
    {
        Table &t = openWith({"B", "C", "D"});
        t.first();
        t.edit();
        t.fieldByName("Nom").setAsString("E"); // B becomes E and moves to the end on post
        t.moveToRow(1);                        // the row showing C when clicked
        QCOMPARE(name(t), QString("C"));
    }

    void indexFieldNamesReorder()
    {
        Table &t = openWith({"B", "A", "C"});
        t.setIndexFieldNames("Jour");
        QStringList order;
        for (t.first(); !t.eof(); t.next())
            order << name(t);
        QCOMPARE(order, QStringList({"B", "A", "C"}));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, t.setIndexFieldNames("Inconnu"));
    }

    void namesFollowFrenchCollation_data()
    {
        QTest::addColumn<QStringList>("posted");
        QTest::addColumn<QStringList>("ordered");
        QTest::newRow("accents and cedilla file with their letter")
            << QStringList{"ZOLA", "ÉMILE", "ÇA", "EVE", "CAMUS", "EMILE", "DURAND"}
            << QStringList{"ÇA", "CAMUS", "DURAND", "EMILE", "ÉMILE", "EVE", "ZOLA"};
        QTest::newRow("accents, then case, only break ties")
            << QStringList{"Eve", "émile", "EMILE", "Emile", "Emilie"}
            << QStringList{"Emile", "EMILE", "émile", "Emilie", "Eve"};
        QTest::newRow("ligature as its two letters")
            << QStringList{"ŒUVRE", "OUDIN", "ODILE", "OBERT"}
            << QStringList{"OBERT", "ODILE", "ŒUVRE", "OUDIN"};
    }
    void namesFollowFrenchCollation()
    {
        QFETCH(QStringList, posted);
        QFETCH(QStringList, ordered);
        Table &t = openWith(posted);
        QStringList shown;
        for (t.first(); !t.eof(); t.next())
            shown << name(t);
        QCOMPARE(shown, ordered);
        // Loaded from the file, the same order; the last row is the last name.
        t.close();
        t.open();
        shown.clear();
        for (t.first(); !t.eof(); t.next())
            shown << name(t);
        QCOMPARE(shown, ordered);
        t.last();
        QCOMPARE(name(t), ordered.last());
    }

    void unknownFieldIsAnError()
    {
        Table &t = openWith({});
        try {
            t.fieldByName("Absent");
            QFAIL("found a field that does not exist");
        } catch (const DatabaseError &e) {
            QCOMPARE(e.message(), QString("Champ 'Absent' non trouvé"));
        }
        QCOMPARE(&t.fieldByName("nom"), &t.fieldByName("Nom"));
    }
};

QTEST_GUILESS_MAIN(TestTableCursor)
#include "test_table_cursor.moc"
