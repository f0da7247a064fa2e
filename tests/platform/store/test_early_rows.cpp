#include "support/SampleTable.h"

#include "platform/store/DatabaseError.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

namespace
{

constexpr int Rows = 2000;
constexpr int Early = 20;
const char *const Order = "Jour;Nom;Numero";

void exec(const QString &folder, const QString &sql)
{
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(folder + "/SAMPLE.DB").constData(), &db), SQLITE_OK);
    char *error = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    const QString why = QString::fromUtf8(error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
    QVERIFY2(rc == SQLITE_OK, qPrintable(why));
}

// Rows as another program writes them: three a day, four names, and `odd` rows whose date
// this program cannot read (they sort first, as rows without a date).
void fill(const QString &folder, int odd = 0)
{
    QFile::remove(folder + "/SAMPLE.DB");
    SampleTable::createIn(folder);
    QStringList sql{"BEGIN"};
    const QStringList names{"BRUNO", "ALICE", "DAVID", "CLAIRE"};
    for (int i = 0; i < Rows; ++i) {
        const QString day = i < odd ? QStringLiteral("%1-13-45").arg(2000 + i)
                                    : QDate(2000, 1, 1).addDays(i / 3).toString(Qt::ISODate);
        sql.append(QStringLiteral("INSERT INTO SAMPLE (Nom, Jour, Montant) VALUES ('%1', '%2', "
                                  "%3)")
                       .arg(names[(i * 7) % 4], day)
                       .arg(double((i * 37) % 1000) / 4));
    }
    sql.append("COMMIT");
    exec(folder, sql.join(";"));
}

std::unique_ptr<Table> openTable(const QString &folder, bool early)
{
    auto table = std::make_unique<Table>(SampleTable::definition());
    table->setDatabaseName(folder);
    table->setIndexFieldNames(Order);
    table->setEarlyRows(early ? Early : 0);
    // Their classes are worked out with the rows on the second thread.
    table->setFilterFields({"Nom", "Jour"}, Table::FilterDates::ByYear);
    table->open();
    return table;
}

QString row(Table &t)
{
    if (t.eof() && t.bof() && t.isEmpty())
        return "(vide)";
    return QStringLiteral("%1 %2 %3 #%4")
        .arg(t.fieldByName("Jour").displayText(), t.fieldByName("Nom").asString(),
             t.fieldByName("Montant").displayText(), t.fieldByName("Numero").asString());
}

using Steps = std::function<QString(Table &)>;

} // namespace

// A table opened early holds the rows at both ends of its order at once, the rest read on a
// second thread: every operation gives what it gives once every row is read.
class TestEarlyRows : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir early_;
    QTemporaryDir whole_;

private Q_SLOTS:
    void sameAnswersAsAfterTheWholeRead_data()
    {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<bool>("endsOnly"); // answered from the ends, without waiting
        const auto add = [](const char *name, bool endsOnly, Steps steps) {
            QTest::newRow(name) << steps << endsOnly;
        };
        add("counts", true, [](Table &t) {
            return QStringLiteral("%1 %2").arg(t.recordCount()).arg(t.storedRowCount());
        });
        add("last, then back", true, [](Table &t) {
            QStringList seen;
            for (t.last(); seen.size() < Early && !t.bof(); t.prior())
                seen << row(t);
            return seen.join('\n') + (t.eof() ? " eof" : "");
        });
        add("first, then on", true, [](Table &t) {
            QStringList seen;
            for (t.first(); seen.size() < Early && !t.eof(); t.next())
                seen << row(t);
            return seen.join('\n');
        });
        add("rows as a grid shows them", true, [](Table &t) {
            QStringList seen;
            for (int r : {0, Early - 1, t.recordCount() - Early, t.recordCount() - 1})
                seen << t.shownText(r, 0) + t.shownText(r, 1) + t.shownText(r, 6);
            return seen.join('|');
        });
        add("into the middle", false, [](Table &t) {
            t.last();
            t.moveBy(-900);
            const QString a = row(t);
            t.moveToRow(1234);
            return a + '\n' + row(t) + QString::number(t.shownCurrentRow());
        });
        add("the middle shown", false, [](Table &t) { return t.shownText(1000, 1); });
        add("bookmark of a middle row", false, [](Table &t) {
            const bool found = t.gotoBookmark(Bookmark{1000});
            return QString::number(found) + row(t);
        });
        add("sum over the view", false, [](Table &t) {
            qint64 sum = 0;
            t.forEachRowInView([&] { sum += t.fieldByName("Montant").asCents(); });
            return QString::number(sum);
        });
        add("filter", false, [](Table &t) {
            t.onFilterRecord = [](Table &r) { return r.fieldByName("Nom").asString() == "DAVID"; };
            t.last();
            t.setFiltered(true);
            const QString shown = QString::number(t.recordCount()) + row(t);
            t.first();
            return shown + row(t);
        });
        add("filter by year", false, [](Table &t) {
            t.onFilterRecord = [](Table &r) {
                return r.fieldByName("Jour").asDate().year() == 2001;
            };
            t.setFiltered(true);
            t.last();
            return QString::number(t.recordCount()) + row(t);
        });
        add("other order", false, [](Table &t) {
            t.last();
            t.setIndexFieldNames("Montant;Numero");
            const QString at = row(t);
            t.first();
            return at + row(t);
        });
        add("post a new last row", false, [](Table &t) {
            t.last();
            SampleTable::addRow(t, "EMILE", QDate(2030, 1, 1), 100);
            const QString posted = row(t) + QString::number(t.recordCount());
            t.last();
            t.prior();
            return posted + row(t);
        });
        add("edit the last row", false, [](Table &t) {
            t.last();
            t.edit();
            t.fieldByName("Montant").setAsCents(1);
            t.post();
            return row(t) + QString::number(t.shownCurrentRow());
        });
        add("delete the first row", false, [](Table &t) {
            t.first();
            t.deleteRecord();
            return row(t) + QString::number(t.recordCount());
        });
    }
    void sameAnswersAsAfterTheWholeRead()
    {
        QFETCH(Steps, steps);
        QFETCH(bool, endsOnly);
        fill(early_.path());
        fill(whole_.path());
        auto early = openTable(early_.path(), true);
        auto whole = openTable(whole_.path(), false);
        QVERIFY(!early->rowsComplete());
        QCOMPARE(steps(*early), steps(*whole));
        QCOMPARE(early->rowsComplete(), !endsOnly);
        // And the cursor stays where it was when every row comes in.
        QTRY_VERIFY(early->rowsComplete());
        QCOMPARE(row(*early), row(*whole));
        QCOMPARE(early->shownCurrentRow(), whole->shownCurrentRow());
    }

    // Read to the end on the second thread, the rows come in by themselves, the cursor on its
    // row, the grids told.
    void rowsComeInWhenRead()
    {
        fill(early_.path());
        auto table = openTable(early_.path(), true);
        table->last();
        table->prior();
        const QString before = row(*table);
        QSignalSpy redraw(table.get(), &Table::dataSetChanged);
        QSignalSpy complete(table.get(), &Table::rowsCompleted);
        QVERIFY(complete.wait(10000));
        QCOMPARE(redraw.count(), 1);
        QCOMPARE(row(*table), before);
        QCOMPARE(table->shownCurrentRow(), Rows - 2);
        QVERIFY(!table->eof() && !table->bof());
    }

    // Another program's write while the rows are read, and rows whose date cannot be read: the
    // rows taken in are the file's, the cursor on the same row.
    void rowsThatDifferFromTheEnds_data()
    {
        QTest::addColumn<int>("odd");
        QTest::addColumn<bool>("writeElsewhere");
        QTest::newRow("another program writes") << 0 << true;
        QTest::newRow("unreadable dates") << 5 << false;
    }
    void rowsThatDifferFromTheEnds()
    {
        QFETCH(int, odd);
        QFETCH(bool, writeElsewhere);
        fill(early_.path(), odd);
        auto table = openTable(early_.path(), true);
        table->last();
        const QString last = row(*table);
        const Bookmark mark = table->bookmark();
        if (writeElsewhere)
            exec(early_.path(), "INSERT INTO SAMPLE (Nom, Jour) VALUES ('ZOE', '2001-01-01')");
        QTRY_VERIFY(table->rowsComplete());
        table->first();
        QCOMPARE(table->recordCount(), Rows + (writeElsewhere ? 1 : 0));
        fill(whole_.path(), odd);
        if (writeElsewhere)
            exec(whole_.path(), "INSERT INTO SAMPLE (Nom, Jour) VALUES ('ZOE', '2001-01-01')");
        auto whole = openTable(whole_.path(), false);
        for (whole->first(); !whole->eof(); whole->next(), table->next())
            QCOMPARE(row(*table), row(*whole));
        QVERIFY(table->gotoBookmark(mark));
        QCOMPARE(row(*table), last);
    }

    // Closed (or the program left) before the read ends: the thread stops, nothing is lost, and
    // the file opens again. A file of few rows is read whole at once.
    void closedDuringTheRead()
    {
        fill(early_.path());
        for (int i = 0; i < 3; ++i) {
            auto table = openTable(early_.path(), true);
            QVERIFY(!table->rowsComplete());
            if (i == 1)
                table->close();
        }
        auto table = openTable(early_.path(), true);
        QCOMPARE(table->recordCount(), Rows);
        // Every row waited for, then closed before the window thread tells of them: nothing is
        // told of a closed table.
        table->forEachRowInView([] {});
        QSignalSpy told(table.get(), &Table::rowsCompleted);
        table->close();
        QTest::qWait(20);
        QCOMPARE(told.count(), 0);
        exec(early_.path(), QStringLiteral("DELETE FROM SAMPLE WHERE Numero > %1").arg(7 * Early));
        table = openTable(early_.path(), true);
        QVERIFY(table->rowsComplete());
        QCOMPARE(table->recordCount(), 7 * Early);
    }
};

QTEST_GUILESS_MAIN(TestEarlyRows)
#include "test_early_rows.moc"
