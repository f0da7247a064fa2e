#include "platform/core/ParseError.h"
#include "platform/core/Today.h"
#include "platform/store/DatabaseError.h"
#include "support/SampleTable.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// Editing through a table component: states, required fields, events, posting on moves.
class TestTableEditing : public QObject
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
    QStringList names(Table &t)
    {
        QStringList list;
        for (t.first(); !t.eof(); t.next())
            list.append(t.fieldByName("Nom").asString());
        return list;
    }

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Today::pinForTesting(QDate(2026, 12, 8));
        QVERIFY(dir_.isValid());
        QFile::remove(dir_.filePath("SAMPLE.DB"));
        SampleTable::createIn(dir_.path());
    }
    void cleanup() { table_.reset(); }

    void postedValuesComeBackFromDisk()
    {
        Table &t = openTable();
        t.append();
        t.fieldByName("Nom").setAsString("DUPONT");
        t.fieldByName("Jour").setAsString("05/03/24");
        t.fieldByName("Montant").setAsString("1 234,56");
        t.fieldByName("Note").setAsString(QString(600, QLatin1Char('x')));
        t.fieldByName("Taux").setAsFloat(12.5);
        t.post();
        table_.reset();

        Table &again = openTable();
        QCOMPARE(again.recordCount(), 1);
        QCOMPARE(again.fieldByName("Nom").asString(), QString("DUPONT"));
        QCOMPARE(again.fieldByName("Jour").asDate(), QDate(2024, 3, 5));
        QCOMPARE(again.fieldByName("Montant").asCents(), 123456);
        QCOMPARE(again.fieldByName("Montant").displayText(), QString("1\u202F234,56\u00A0€"));
        QCOMPARE(again.fieldByName("Note").asString().size(), 600);
        QCOMPARE(again.fieldByName("Taux").asFloat(), 12.5);
        QVERIFY(again.fieldByName("Numero").asCents() > 0);
    }

    void requiredFieldRefusalKeepsTheRecord_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("message");
        QTest::newRow("no name") << ""
                                 << "01/02/25"
                                 << "Le champ 'Nom du patient' doit avoir une valeur";
        QTest::newRow("no date") << "MARTIN"
                                 << ""
                                 << "Le champ 'Date' doit avoir une valeur";
        QTest::newRow("neither: first in field order")
            << ""
            << ""
            << "Le champ 'Nom du patient' doit avoir une valeur";
    }
    void requiredFieldRefusalKeepsTheRecord()
    {
        QFETCH(QString, name);
        QFETCH(QString, date);
        QFETCH(QString, message);
        Table &t = openTable();
        int beforePostCalls = 0;
        t.beforePost = [&](Table &) { ++beforePostCalls; };
        t.append();
        t.fieldByName("Nom").setAsString(name);
        t.fieldByName("Jour").setAsString(date);
        t.fieldByName("Montant").setAsString("10");
        try {
            t.post();
            QFAIL("post accepted an empty required field");
        } catch (const DatabaseError &e) {
            QCOMPARE(e.message(), message);
        }
        QCOMPARE(beforePostCalls, 0);
        QCOMPARE(t.state(), Table::State::Insert);
        QCOMPARE(t.fieldByName("Nom").asString(), name);
        QCOMPARE(t.fieldByName("Montant").asCents(), 1000);
        t.cancel();
        QCOMPARE(t.recordCount(), 0);
    }

    void tooLongTextIsRefusedNotTruncated()
    {
        Table &t = openTable();
        t.append();
        try {
            t.fieldByName("Nom").setAsString("ABCDEFGHIJK");
            QFAIL("an 11-character text went into a 10-character field");
        } catch (const DatabaseError &e) {
            QCOMPARE(
                e.message(),
                QString("Le champ 'Nom du patient' ne peut pas contenir plus de 10 caractères"));
        }
        QVERIFY(t.fieldByName("Nom").isNull());
        t.fieldByName("Nom").setAsString("ABCDEFGHIJ");
        QCOMPARE(t.fieldByName("Nom").asString(), QString("ABCDEFGHIJ"));
    }

    void badTypedValuesGiveFrenchMessages_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("date") << "Jour"
                              << "31/02/24"
                              << "'31/02/24' n'est pas une date correcte";
        QTest::newRow("letters in date") << "Jour"
                                         << "ab/cd/ef"
                                         << "'ab/cd/ef' n'est pas une date correcte";
        QTest::newRow("amount") << "Montant"
                                << "12a"
                                << "'12a' n'est pas un montant correct";
        QTest::newRow("number") << "Taux"
                                << "x"
                                << "'x' n'est pas une valeur numérique correcte";
    }
    void badTypedValuesGiveFrenchMessages()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        Table &t = openTable();
        t.append();
        try {
            t.fieldByName(field).setAsString(text);
            QFAIL("the value was accepted");
        } catch (const ParseError &e) {
            QCOMPARE(e.message(), message);
        }
        QVERIFY(t.fieldByName(field).isNull());
    }

    void eventsRunInOrder()
    {
        Table &t = openTable();
        QStringList calls;
        t.beforePost = [&](Table &) { calls << "beforePost"; };
        t.afterPost = [&](Table &) { calls << "afterPost"; };
        t.beforeDelete = [&](Table &) { calls << "beforeDelete"; };
        t.afterDelete = [&](Table &) { calls << "afterDelete"; };
        SampleTable::addRow(t, "A", QDate(2020, 1, 1), 100);
        t.deleteRecord();
        QCOMPARE(calls, QStringList({"beforePost", "afterPost", "beforeDelete", "afterDelete"}));
        QCOMPARE(t.recordCount(), 0);
    }

    void beforePostMayFillFields()
    {
        Table &t = openTable();
        t.beforePost = [](Table &table) {
            if (table.fieldByName("Note").isNull())
                table.fieldByName("Note").setAsString("auto");
        };
        SampleTable::addRow(t, "A", QDate(2020, 1, 1), 100);
        table_.reset();
        QCOMPARE(openTable().fieldByName("Note").asString(), QString("auto"));
    }

    void failingBeforePostChangesNothing()
    {
        Table &t = openTable();
        t.beforePost = [](Table &) { throw DatabaseError("refusé"); };
        t.append();
        t.fieldByName("Nom").setAsString("A");
        t.fieldByName("Jour").setAsDate(QDate(2020, 1, 1));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, t.post());
        QCOMPARE(t.state(), Table::State::Insert);
        t.beforePost = nullptr;
        t.cancel();
        table_.reset();
        QCOMPARE(openTable().recordCount(), 0);
    }

    void movingPostsModifiedAndDropsUntouched()
    {
        Table &t = openTable();
        SampleTable::addRow(t, "A", QDate(2020, 1, 1), 100);
        SampleTable::addRow(t, "B", QDate(2020, 1, 2), 200);

        t.append(); // untouched new record: dropped by a move
        t.first();
        QCOMPARE(t.recordCount(), 2);
        QCOMPARE(t.state(), Table::State::Browse);

        t.edit(); // modified record: posted by a move
        t.fieldByName("Montant").setAsCents(150);
        t.next();
        QCOMPARE(t.state(), Table::State::Browse);
        t.first();
        QCOMPARE(t.fieldByName("Montant").asCents(), 150);

        t.edit(); // untouched edit: simply left
        t.next();
        QCOMPARE(t.state(), Table::State::Browse);
    }

    void cancelRestoresAndIsHarmlessOutsideEdit()
    {
        Table &t = openTable();
        t.cancel();
        SampleTable::addRow(t, "A", QDate(2020, 1, 1), 100);
        t.edit();
        t.fieldByName("Nom").setAsString("Z");
        t.cancel();
        QCOMPARE(t.fieldByName("Nom").asString(), QString("A"));
        QVERIFY(!t.isModified());
    }

    void writingTheSameValueDoesNotModify()
    {
        Table &t = openTable();
        SampleTable::addRow(t, "A", QDate(2020, 1, 1), 100);
        t.edit();
        t.fieldByName("Nom").setAsString("A");
        t.fieldByName("Note").setAsString("");
        QVERIFY(!t.isModified());
    }

    void writingOutsideEditIsRefused()
    {
        Table &t = openTable();
        SampleTable::addRow(t, "A", QDate(2020, 1, 1), 100);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, t.fieldByName("Nom").setAsString("B"));
        QCOMPARE(t.fieldByName("Nom").asString(), QString("A"));
    }

    void editOnEmptyTableStartsANewRecord()
    {
        Table &t = openTable();
        t.edit();
        QCOMPARE(t.state(), Table::State::Insert);
        QCOMPARE(t.shownRowCount(), 1);
    }

    void deleteWhileInsertingCancels()
    {
        Table &t = openTable();
        SampleTable::addRow(t, "A", QDate(2020, 1, 1), 100);
        int deletes = 0;
        t.beforeDelete = [&](Table &) { ++deletes; };
        t.append();
        t.deleteRecord();
        QCOMPARE(deletes, 0);
        QCOMPARE(t.recordCount(), 1);
    }

    void deleteOnEmptyTableSaysSo()
    {
        Table &t = openTable();
        QVERIFY_THROWS_EXCEPTION(DatabaseError, t.deleteRecord());
    }

    void postedRowTakesItsPlaceInIndexOrder()
    {
        Table &t = openTable();
        SampleTable::addRow(t, "C", QDate(2020, 1, 1), 1);
        SampleTable::addRow(t, "A", QDate(2020, 1, 1), 2);
        SampleTable::addRow(t, "B", QDate(2020, 1, 1), 3);
        QCOMPARE(t.fieldByName("Nom").asString(), QString("B")); // the posted row stays current
        QCOMPARE(names(t), QStringList({"A", "B", "C"}));
        // Editing the key moves the row.
        t.first();
        t.edit();
        t.fieldByName("Nom").setAsString("D");
        t.post();
        QCOMPARE(t.fieldByName("Nom").asString(), QString("D"));
        QCOMPARE(names(t), QStringList({"B", "C", "D"}));
    }

    void equalKeysKeepTheirEntryOrder()
    {
        Table &t = openTable();
        for (qint64 cents : {300, 100, 200})
            SampleTable::addRow(t, "SAME", QDate(2021, 5, 5), cents);
        QList<qint64> amounts;
        for (t.first(); !t.eof(); t.next())
            amounts.append(t.fieldByName("Montant").asCents());
        QCOMPARE(amounts, QList<qint64>({300, 100, 200}));
    }

    void calculatedFieldsFollowTheRecord()
    {
        Table &t = openTable();
        int calls = 0;
        t.onCalcFields = [&](Table &table) {
            ++calls;
            table.fieldByName("Double").setAsCents(table.fieldByName("Montant").asCents() * 2);
        };
        SampleTable::addRow(t, "A", QDate(2020, 1, 1), 150);
        QCOMPARE(t.fieldByName("Double").asCents(), 300);
        t.edit();
        t.fieldByName("Montant").setAsCents(10);
        QCOMPARE(t.fieldByName("Double").asCents(), 20);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, t.fieldByName("Double").setAsCents(1));
        t.cancel();
        QCOMPARE(t.fieldByName("Double").asCents(), 300);
        QVERIFY(calls >= 3);
    }
};

QTEST_GUILESS_MAIN(TestTableEditing)
#include "test_table_editing.moc"
