#include "support/SampleTable.h"

#include "platform/store/DatabaseError.h"
#include "platform/store/TableTransaction.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

namespace
{

QString nom(Table &table)
{
    return table.fieldByName(QStringLiteral("Nom")).asString();
}

QStringList names(Table &table)
{
    QStringList list;
    for (int i = 0; i < table.recordCount(); ++i)
        list.append(table.shownText(i, table.fieldByName(QStringLiteral("Nom")).index()));
    return list;
}

void moveTo(Table &table, const QString &name)
{
    for (table.first(); !table.eof(); table.next()) {
        if (nom(table) == name)
            return;
    }
    QFAIL(qPrintable(name));
}

// A write as another program makes it: its own connection, no code of ours.
void writeElsewhere(const QString &folder, const char *sql)
{
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(folder + "/SAMPLE.DB").constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

} // namespace

// The components open on one file share its rows: what one posts the others hold at once,
// each in its own order and view, and the file is read again only for another program's writes.
class TestSharedRows : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<Table> main_;

private Q_SLOTS:
    void init()
    {
        QFile::remove(dir_.filePath("SAMPLE.DB"));
        SampleTable::createIn(dir_.path());
        main_ = SampleTable::openIn(dir_.path());
        SampleTable::addRow(*main_, "BRUNO", QDate(2025, 1, 2), 200);
        SampleTable::addRow(*main_, "DAVID", QDate(2025, 1, 4), 400);
    }
    void cleanup() { main_.reset(); }

    // Posts and deletes through either component, seen by the other in its own order and
    // filter, its cursor on the same row, and no read of the file.
    void postsReachEveryComponentWithoutARead()
    {
        auto byAmount = std::make_unique<Table>(SampleTable::definition());
        byAmount->setDatabaseName(dir_.path());
        byAmount->setIndexFieldNames("Montant;Numero");
        byAmount->onFilterRecord = [](Table &t) {
            return t.fieldByName("Montant").asCents() >= 300;
        };
        byAmount->setFiltered(true);
        byAmount->open();
        const quint64 mainLoads = main_->loadCount(), otherLoads = byAmount->loadCount();
        QCOMPARE(names(*byAmount), QStringList{"DAVID"});
        moveTo(*main_, "DAVID");

        SampleTable::addRow(*byAmount, "ANNE", QDate(2025, 1, 1), 900);
        SampleTable::addRow(*byAmount, "CLARA", QDate(2025, 1, 3), 300);
        QCOMPARE(names(*main_), (QStringList{"ANNE", "BRUNO", "CLARA", "DAVID"}));
        QCOMPARE(nom(*main_), QString("DAVID")); // still on its row
        QCOMPARE(names(*byAmount), (QStringList{"CLARA", "DAVID", "ANNE"}));

        QSignalSpy changed(byAmount.get(), &Table::dataSetChanged);
        QSignalSpy mainChanged(main_.get(), &Table::dataSetChanged);
        moveTo(*main_, "BRUNO");
        main_->edit();
        main_->fieldByName("Montant").setAsCents(500);
        main_->post();
        QCOMPARE(mainChanged.count(), 1);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(names(*byAmount), (QStringList{"CLARA", "DAVID", "BRUNO", "ANNE"}));
        QCOMPARE(nom(*byAmount), QString("CLARA"));

        moveTo(*main_, "CLARA");
        main_->deleteRecord();
        QCOMPARE(names(*byAmount), (QStringList{"DAVID", "BRUNO", "ANNE"}));
        QCOMPARE(main_->loadCount(), mainLoads);
        QCOMPARE(byAmount->loadCount(), otherLoads);
        QCOMPARE(main_->storedRowCount(), 3);
        QCOMPARE(byAmount->storedRowCount(), 3);
    }

    // Another program's write is still seen, read once for every component; a component
    // opening after it sees it too.
    void writesByAnotherProgramAreReadAgain()
    {
        auto other = SampleTable::openIn(dir_.path());
        moveTo(*other, "DAVID");
        const quint64 loads = main_->loadCount();
        writeElsewhere(dir_.path(),
                       "INSERT INTO SAMPLE (Nom, Jour) VALUES ('ALAIN', '2025-01-01')");
        auto late = SampleTable::openIn(dir_.path());
        QCOMPARE(names(*late), (QStringList{"ALAIN", "BRUNO", "DAVID"}));
        QCOMPARE(names(*other), (QStringList{"ALAIN", "BRUNO", "DAVID"}));
        QCOMPARE(nom(*other), QString("DAVID"));
        QCOMPARE(main_->loadCount(), loads + 1);
        writeElsewhere(dir_.path(), "DELETE FROM SAMPLE WHERE Nom = 'BRUNO'");
        main_->first();
        QCOMPARE(names(*other), (QStringList{"ALAIN", "DAVID"}));
        QCOMPARE(main_->loadCount(), loads + 2);
    }

    // A component opened and closed beside the main one (a preview) reads nothing and makes
    // the main one read nothing either.
    void aPreviewNeverCausesAReload()
    {
        const quint64 loads = main_->loadCount();
        for (int round = 0; round < 2; ++round) {
            auto preview = SampleTable::openIn(dir_.path());
            preview->setIndexFieldNames("Jour;Numero");
            QCOMPARE(preview->recordCount(), 2);
            preview->close();
            main_->first();
        }
        SampleTable::addRow(*main_, "CLARA", QDate(2025, 1, 3), 300);
        main_->first();
        QCOMPARE(main_->loadCount(), loads);
        QCOMPARE(names(*main_), (QStringList{"BRUNO", "CLARA", "DAVID"}));
    }

    void rollbackRestoresEveryComponent()
    {
        auto other = SampleTable::openIn(dir_.path());
        moveTo(*other, "DAVID");
        {
            TableTransaction transaction(*main_);
            SampleTable::addRow(*main_, "ANNE", QDate(2025, 1, 1), 100);
            moveTo(*main_, "DAVID");
            main_->deleteRecord();
            QCOMPARE(names(*other), (QStringList{"ANNE", "BRUNO"}));
        }
        QCOMPARE(names(*main_), (QStringList{"BRUNO", "DAVID"}));
        QCOMPARE(names(*other), (QStringList{"BRUNO", "DAVID"}));
        QCOMPARE(other->storedRowCount(), 2);
    }

    // Deleted through one component while another sits on that row, browsing or editing.
    void deleteUnderAnotherComponent_data()
    {
        QTest::addColumn<bool>("editing");
        QTest::newRow("browsing") << false;
        QTest::newRow("editing") << true;
    }
    void deleteUnderAnotherComponent()
    {
        QFETCH(bool, editing);
        auto other = SampleTable::openIn(dir_.path());
        moveTo(*other, "BRUNO");
        if (editing) {
            other->edit();
            other->fieldByName("Montant").setAsCents(250);
        }
        moveTo(*main_, "BRUNO");
        main_->deleteRecord();
        QCOMPARE(other->recordCount(), 1);
        if (!editing) {
            QCOMPARE(nom(*other), QString("DAVID"));
            return;
        }
        // The record being edited stays; posting it tells that its row is gone and writes
        // nothing over the row now under the cursor.
        QCOMPARE(other->state(), Table::State::Edit);
        QCOMPARE(nom(*other), QString("BRUNO"));
        try {
            other->post();
            QFAIL("posted a deleted row");
        } catch (const DatabaseError &e) {
            QVERIFY2(e.message().contains("il a été supprimé"), qPrintable(e.message()));
        }
        other->cancel();
        QCOMPARE(nom(*other), QString("DAVID"));
        QCOMPARE(other->fieldByName("Montant").asCents(), 400);
    }

    // A file renamed over the open one is another file: read by a component opening it,
    // while the one open on the old file keeps its rows.
    void replacedFileIsReadAfresh()
    {
        QTemporaryDir other;
        SampleTable::createIn(other.path());
        SampleTable::addRow(*SampleTable::openIn(other.path()), "ZOE", QDate(2025, 2, 1), 1);
        QVERIFY(std::rename(QFile::encodeName(other.filePath("SAMPLE.DB")).constData(),
                            QFile::encodeName(dir_.filePath("SAMPLE.DB")).constData()) == 0);
        auto fresh = SampleTable::openIn(dir_.path());
        QCOMPARE(names(*fresh), QStringList{"ZOE"});
        QCOMPARE(names(*main_), (QStringList{"BRUNO", "DAVID"}));
    }

    // An open that fails on the rows (its filter) leaves the shared rows: opened again, the
    // component is told of each post once.
    void failedOpenLeavesTheSharedRows()
    {
        Table table(SampleTable::definition());
        table.setDatabaseName(dir_.path());
        table.onFilterRecord = [](Table &) -> bool { throw DatabaseError("refusé"); };
        table.setFiltered(true);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, table.open());
        QVERIFY(!table.isActive());
        table.onFilterRecord = nullptr;
        table.open();
        SampleTable::addRow(*main_, "CLARA", QDate(2025, 1, 3), 300);
        QCOMPARE(names(table), (QStringList{"BRUNO", "CLARA", "DAVID"}));
    }

    // A row moved by another component's post while this one edits it: the edit goes to it.
    void editFollowsItsRowMovedElsewhere()
    {
        auto other = SampleTable::openIn(dir_.path());
        moveTo(*other, "DAVID");
        other->edit();
        other->fieldByName("Montant").setAsCents(450);
        SampleTable::addRow(*main_, "ALAIN", QDate(2025, 1, 1), 100);
        other->post();
        QCOMPARE(nom(*other), QString("DAVID"));
        moveTo(*main_, "DAVID");
        QCOMPARE(main_->fieldByName("Montant").asCents(), 450);
        moveTo(*main_, "ALAIN");
        QCOMPARE(main_->fieldByName("Montant").asCents(), 100);
    }
};

QTEST_GUILESS_MAIN(TestSharedRows)
#include "test_shared_rows.moc"
