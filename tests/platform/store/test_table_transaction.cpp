#include "support/SampleTable.h"

#include "platform/store/DatabaseError.h"
#include "platform/store/SqliteDatabase.h"
#include "platform/store/SqliteStatement.h"
#include "platform/store/TableTransaction.h"

#include <QtTest>

namespace
{

QStringList namesOnDisk(const QString &folder)
{
    SqliteDatabase db(folder + QStringLiteral("/SAMPLE.DB"), SqliteDatabase::Mode::OpenExisting);
    SqliteStatement st(db.handle(), QStringLiteral("SELECT Nom FROM SAMPLE ORDER BY Numero"));
    QStringList names;
    while (st.step())
        names.append(st.text(0));
    return names;
}

QStringList namesInMemory(Table &table)
{
    QStringList names;
    for (table.first(); !table.eof(); table.next())
        names.append(table.fieldByName(QStringLiteral("Nom")).asString());
    return names;
}

void rename(Table &table, const QString &from, const QString &to)
{
    for (table.first(); !table.eof(); table.next()) {
        if (table.fieldByName(QStringLiteral("Nom")).asString() == from)
            break;
    }
    table.edit();
    table.fieldByName(QStringLiteral("Nom")).setAsString(to);
    table.post();
}

} // namespace

// Several posts and other writes to a table's file as one: committed together, or, when the
// transaction ends without its commit, the file and the rows in memory as before it began.
class TestTableTransaction : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<Table> table_;

private Q_SLOTS:
    void init()
    {
        QFile::remove(dir_.filePath(QStringLiteral("SAMPLE.DB")));
        SampleTable::createIn(dir_.path());
        table_ = SampleTable::openIn(dir_.path());
        SampleTable::addRow(*table_, QStringLiteral("ANNE"), QDate(2025, 1, 1), 100);
        SampleTable::addRow(*table_, QStringLiteral("BRUNO"), QDate(2025, 1, 2), 200);
    }
    void cleanup() { table_.reset(); }

    void committedTogether()
    {
        {
            TableTransaction transaction(*table_);
            rename(*table_, QStringLiteral("ANNE"), QStringLiteral("ANNA"));
            SampleTable::addRow(*table_, QStringLiteral("CLARA"), QDate(2025, 1, 3), 300);
            transaction.database().exec(QStringLiteral("CREATE TABLE EXTRA (x)"));
            // Nothing reaches the file before the commit.
            QCOMPARE(namesOnDisk(dir_.path()), (QStringList{"ANNE", "BRUNO"}));
            transaction.commit();
        }
        QCOMPARE(namesOnDisk(dir_.path()), (QStringList{"ANNA", "BRUNO", "CLARA"}));
        QCOMPARE(namesInMemory(*table_), (QStringList{"ANNA", "BRUNO", "CLARA"}));
        // The log is emptied by the commit, as after any post.
        QCOMPARE(QFileInfo(dir_.filePath(QStringLiteral("SAMPLE.DB-wal"))).size(), 0);
    }

    void endedWithoutCommit_data()
    {
        QTest::addColumn<int>("stop");
        QTest::newRow("after an edit") << 1;
        QTest::newRow("after an insert") << 2;
        QTest::newRow("with a record being edited") << 3;
        QTest::newRow("after a refused post") << 4;
    }
    void endedWithoutCommit()
    {
        QFETCH(int, stop);
        table_->last();
        const qint64 current = table_->bookmark().rowId;
        try {
            TableTransaction transaction(*table_);
            rename(*table_, QStringLiteral("ANNE"), QStringLiteral("ANNA"));
            if (stop >= 2)
                SampleTable::addRow(*table_, QStringLiteral("CLARA"), QDate(2025, 1, 3), 300);
            if (stop >= 3) {
                table_->edit();
                table_->fieldByName(QStringLiteral("Nom")).setAsString(QStringLiteral("X"));
            }
            if (stop >= 4) {
                table_->fieldByName(QStringLiteral("Nom")).clear();
                table_->post(); // required field empty
            }
            throw std::runtime_error("stopped");
        } catch (const std::exception &) {
        }
        QCOMPARE(table_->state(), Table::State::Browse);
        QCOMPARE(table_->bookmark().rowId, current);
        QCOMPARE(namesInMemory(*table_), (QStringList{"ANNE", "BRUNO"}));
        QCOMPARE(namesOnDisk(dir_.path()), (QStringList{"ANNE", "BRUNO"}));
        // The table goes on as before.
        SampleTable::addRow(*table_, QStringLiteral("DAVID"), QDate(2025, 1, 4), 400);
        QCOMPARE(namesOnDisk(dir_.path()), (QStringList{"ANNE", "BRUNO", "DAVID"}));
    }

    void busyFile()
    {
        SqliteDatabase other(dir_.filePath(QStringLiteral("SAMPLE.DB")),
                             SqliteDatabase::Mode::OpenExisting);
        other.exec(QStringLiteral("BEGIN IMMEDIATE"));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, TableTransaction transaction(*table_));
        other.exec(QStringLiteral("ROLLBACK"));
        QCOMPARE(namesInMemory(*table_), (QStringList{"ANNE", "BRUNO"}));
    }
};

QTEST_GUILESS_MAIN(TestTableTransaction)
#include "test_table_transaction.moc"
