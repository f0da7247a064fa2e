#include "platform/store/SqliteDatabase.h"
#include "platform/store/SqliteStatement.h"
#include "platform/store/Table.h"
#include "platform/store/TableStorage.h"
#include "register/CareRegister.h"
#include "register/PlainSelectors.h"
#include "register/TotalsFill.h"
#include "support/FileBytes.h"
#include "support/ReadOnlyFile.h"
#include "support/SmallFileSystem.h"
#include "support/ThrownMessage.h"
#include "tables/CareEntryTable.h"
#include "tables/TotalsSchema.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

// Odd content a user can put in the file with sqlite3: the columns are date, beneficiary, cost,
// CPAM, mutuelle, partial flag and estimate.
const QString Columns = QStringLiteral(
    R"(INSERT INTO TALO ("Date soins", Beneficiaire, Cout, "Montant CPAM", "Montant mutuelle",)"
    R"( "Mutuelle oui/non", Estimation) VALUES )");
const QString OddRows = QStringLiteral(
    "('2023-05-01', 'MARIE', 100, 60, NULL, 'Faux', NULL),"
    "('2023-02-30', 'MARIE', '12,50', 0.125, 2.675, 'Vrai', 70),"
    "('0000-01-01', 'Marie', -0.005, -10, NULL, 'vrai', 5),"
    "('31/12/2023', 'PAUL', 1.005, NULL, 0.015, 'Vrai', NULL),"
    "('', 'PAUL', 0.125, 'abc', -2.675, 'Vrai', 0.005),"
    "(NULL, NULL, NULL, NULL, NULL, NULL, NULL),"
    "('2000-06-01', 'PAUL', 1e3, 333.335, 0.5, 'Vrai ', 7),"
    "('1997-03-04', 'Marie', 45.5, 30.25, 10.125, 'Vrai', 50),"
    "('2097-12-31', 'MARIE', 20, 20, 5, 'Faux', 99),"
    "('2023-07-14', 'PAUL', 0.004999999999999999, -0.004999999999999999, 0, 'Faux', 1),"
    "('2023-08-01', 'PAUL ', ' 12.5', '1e2', X'31', 'Vrai', '7,5'),"
    "('2023-08-02', 12, 3, 2, 1, 'Vrai', 9),"
    "('abcd-01-01', 'PAUL', 8, 1, 1, 'Faux', NULL)");

} // namespace

// The totals read from the sums kept in TALO.DB against the same totals walked row by row.
class TestStoredTotals : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<Table> table_;
    PlainSelectors selectors_;
    std::unique_ptr<CareRegister> register_;

    QString file() const { return dir_.filePath("TALO.DB"); }
    // Another program writing to the file while the register is open.
    void writeElsewhere(const QStringList &statements)
    {
        SqliteDatabase db(file(), SqliteDatabase::Mode::OpenExisting);
        db.useWriteAheadLog();
        for (const QString &sql : statements)
            db.exec(sql);
        db.checkpoint();
    }
    void openRegister()
    {
        table_ = std::make_unique<Table>(CareEntryTable::definition());
        table_->setDatabaseName(dir_.path());
        table_->setIndexFieldNames(CareEntryTable::indexFieldNames());
        register_ = std::make_unique<CareRegister>(*table_, selectors_);
        table_->open();
    }
    void closeRegister()
    {
        register_.reset();
        table_.reset();
    }
    bool hasCell(const QString &beneficiary)
    {
        SqliteDatabase db(file(), SqliteDatabase::Mode::OpenExisting);
        SqliteStatement st(db.handle(), "SELECT 1 FROM TALO_TOTAUX WHERE Beneficiaire = ?1");
        st.bindText(1, beneficiary);
        return st.step();
    }
    // Every view, compared with the walk; the figures must come from the sums when `stored`.
    void compareEveryView(bool stored)
    {
        QCOMPARE(register_->usesStoredTotals(), stored);
        for (int b = 0; b < selectors_.beneficiaries.size(); ++b) {
            for (int y = 0; y < selectors_.years.size(); ++y) {
                selectors_.beneficiaryIndex = b;
                selectors_.yearIndex = y;
                register_->lstListeBeneficiairesClick();
                const QByteArray view =
                    (selectors_.beneficiaryText() + "/" + selectors_.yearText()).toUtf8();
                QVERIFY2(register_->totals().known, view.constData());
                QVERIFY2(register_->totals() == register_->sumView(), view.constData());
            }
        }
        selectors_.beneficiaryIndex = selectors_.yearIndex = 0;
        register_->lstListeBeneficiairesClick();
    }

private Q_SLOTS:
    void init()
    {
        selectors_.beneficiaries = {"TOUS", "MARIE", "Marie", "PAUL", "", "12"};
        selectors_.years = {"TOUTES", "1997", "1999", "2000", "2023", "20ab"};
        QFile::remove(file());
        TableStorage::createFile(file(), CareEntryTable::definition());
        writeElsewhere({Columns + OddRows});
        openRegister();
    }
    void cleanup()
    {
        closeRegister();
        // Every connection closed: no log is left beside the file.
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), QStringList{"TALO.DB"});
    }

    void sumsMatchTheWalk_data()
    {
        QTest::addColumn<QStringList>("tampering");
        QTest::addColumn<bool>("rebuilt");
        QTest::newRow("untouched") << QStringList() << false;
        QTest::newRow("written with a trigger dropped")
            << QStringList{"DROP TRIGGER TALO_TOTAUX_AJOUT", Columns + OddRows} << true;
        QTest::newRow("count tampered")
            << QStringList{"UPDATE TALO_TOTAUX SET Nombre = Nombre + 1"} << true;
        QTest::newRow("a sums cell raised, its count unchanged")
            << QStringList{"UPDATE TALO_TOTAUX SET Cout = Cout + 100000 WHERE Beneficiaire = "
                           "'MARIE' AND Annee = 23"}
            << true;
        QTest::newRow("a row replaced, which fires no delete trigger")
            << QStringList{R"(INSERT OR REPLACE INTO TALO (Numero, "Date soins", Beneficiaire, )"
                           R"(Cout) SELECT min(Numero), '1999-01-02', 'PAUL', 3 FROM TALO)"}
            << true;
        QTest::newRow("sums dropped, a table in the way")
            << QStringList{"DROP TABLE TALO_TOTAUX", "CREATE TABLE talo_totaux (x)"} << true;
    }
    // Sums as installed at the first open, as found at the next one, and after posts, edits
    // and deletes made by another program.
    void sumsMatchTheWalk()
    {
        QFETCH(QStringList, tampering);
        QFETCH(bool, rebuilt);
        compareEveryView(true);
        // A cell that counts nothing: only a rebuild takes it away.
        writeElsewhere({"INSERT INTO TALO_TOTAUX VALUES ('~', 50, 0, 0, 0, 0, 0, 0)"});
        closeRegister();
        writeElsewhere(tampering);
        openRegister();
        QCOMPARE(hasCell("~"), !rebuilt);
        compareEveryView(true);
        writeElsewhere(
            {Columns + OddRows, "DELETE FROM TALO WHERE Beneficiaire = 'Marie'",
             "UPDATE TALO SET Cout = '7,5', Beneficiaire = 'MARIE' WHERE Beneficiaire = 'PAUL'",
             R"(UPDATE TALO SET "Date soins" = '2023-02-28' WHERE "Date soins" = '2023-02-30')",
             R"(UPDATE TALO SET "Mutuelle oui/non" = 'Vrai', "Note soins" = 'x')"});
        compareEveryView(true);
    }

    // Whatever another program writes while the register is open, the next totals are the
    // rows' own.
    void writesTheTriggersMissAreCaughtWhileOpen_data()
    {
        QTest::addColumn<QStringList>("writes");
        QTest::newRow("sums raised by hand") << QStringList{"UPDATE TALO_TOTAUX SET Cout = Cout + "
                                                            "100000"};
        QTest::newRow("a row replaced")
            << QStringList{R"(INSERT OR REPLACE INTO TALO (Numero, "Date soins", Beneficiaire, )"
                           R"(Cout) SELECT max(Numero), '2023-05-01', 'MARIE', 7 FROM TALO)"};
        QTest::newRow("triggers dropped, rows added, triggers back") << QStringList{
            "DROP TRIGGER TALO_TOTAUX_AJOUT", Columns + OddRows, TotalsSchema::objects()[1].sql};
    }
    void writesTheTriggersMissAreCaughtWhileOpen()
    {
        QFETCH(QStringList, writes);
        writeElsewhere(writes);
        compareEveryView(true);
    }

    void foreignTriggerIsRefused_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::newRow("deletes every other entry at the next post")
            << "CREATE TRIGGER purge AFTER INSERT ON TALO BEGIN DELETE FROM TALO WHERE Numero "
               "<> NEW.Numero; END";
        QTest::newRow("a sums trigger with another body")
            << "CREATE TRIGGER TALO_TOTAUX_MODIFICATION AFTER UPDATE ON TALO BEGIN DELETE FROM "
               "TALO; END";
    }
    // Refused before anything is written, the sums' rebuild included: the file is left as it
    // was, the trigger named in the reason.
    void foreignTriggerIsRefused()
    {
        QFETCH(QString, trigger);
        closeRegister();
        writeElsewhere({"DROP TRIGGER TALO_TOTAUX_MODIFICATION", trigger});
        const QByteArray before = FileBytes::of(file());
        const QString message = thrownMessage([this] { openRegister(); });
        QVERIFY2(message.contains("le déclencheur «") && message.contains("laissé tel quel"),
                 qPrintable(message));
        QVERIFY(!table_->isActive());
        QCOMPARE(FileBytes::of(file()), before);
        QVERIFY(!register_->usesStoredTotals());
    }

    void readOnlyFileIsWalked_data()
    {
        QTest::addColumn<bool>("logMode");
        QTest::newRow("write-ahead log") << true;
        // As a copy put back from a backup is: the file cannot be switched to the log.
        QTest::newRow("rollback journal") << false;
    }
    void readOnlyFileIsWalked()
    {
        QFETCH(bool, logMode);
        closeRegister();
        // Sums that are wrong and cannot be rebuilt are not read.
        writeElsewhere({"UPDATE TALO_TOTAUX SET Cout = Cout + 100000"});
        if (!logMode)
            writeElsewhere({"PRAGMA journal_mode=DELETE"});
        const ReadOnlyFile readOnly(file());
        if (!readOnly.isReadOnly())
            QSKIP("this file system lets the file be written");
        openRegister();
        QVERIFY(table_->isActive());
        QVERIFY(table_->isReadOnly());
        compareEveryView(false);
        QCOMPARE(register_->totals().cost, qint64(120212));
    }

    // A full disk at start: the register is read, its totals walked; nothing is lost.
    // The sums a build sums as it reads the rows, against those of the one SQL statement, cell by
    // cell; amounts past what a double holds exactly are left to the statement.
    void buildAgreesWithTheStatement_data()
    {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<bool>("summedAsRead");
        QTest::newRow("odd rows") << OddRows << true;
        QTest::newRow("years around 2000, cents, no date, no name")
            << "('1999-12-31', 'MARIE', 10.01, 7.005, 2.995, 'Faux', NULL),"
               "('2000-01-01', '', 0.01, 0, 0, 'Vrai', 0.02),"
               "('2000-02-29', 'MARIE', 19.99, 13.99, 6, 'Faux', NULL),"
               "('1900-02-29', 'MARIE', 5, 1, 1, 'Faux', NULL),"
               "('2100-01-01', 'ÉLODIE', 33.33, 23.33, 10, 'Vrai', 33.34),"
               "('2000-01-01', NULL, -0.015, 0.015, NULL, 'Vrai', -0.025),"
               "('2000-01-01 ', 'MARIE', 1, 1, 1, 'Faux', NULL),"
               "(20000101, 'MARIE', 2.5, 1, 1, 'Faux', NULL)"
            << true;
        QTest::newRow("amounts too large for doubles to hold the cents")
            << "('2023-05-01', 'MARIE', 1e15, 90071992547409.91, -1e14, 'Vrai', 1e16),"
               "('2023-05-01', 'MARIE', 1.5, 1, 0, 'Faux', NULL)"
            << false;
        QTest::newRow("no rows") << QString() << false;
    }
    void buildAgreesWithTheStatement()
    {
        QFETCH(QString, rows);
        QFETCH(bool, summedAsRead);
        closeRegister();
        QFile::remove(file());
        TableStorage::createFile(file(), CareEntryTable::definition());
        if (!rows.isEmpty())
            writeElsewhere({Columns + rows});
        SqliteDatabase db(file(), SqliteDatabase::Mode::OpenExisting);
        const auto cells = [&db] {
            QStringList all;
            SqliteStatement st(db.handle(), TotalsSchema::cellsQuery());
            while (st.step()) {
                QStringList cell{st.text(0)};
                for (int i = 1; i < 8; ++i)
                    cell.append(QString::number(st.int64(i)));
                all.append(cell.join('|'));
            }
            all.sort();
            return all;
        };
        db.exec(TotalsSchema::objects().front().sql);
        db.exec(TotalsSchema::fillStatement());
        const QStringList expected = cells();
        db.exec("DELETE FROM TALO_TOTAUX");
        qint64 lastDone = -1;
        int told = 0;
        TotalsFill::run(db.handle(), [&](qint64 done, qint64 total) {
            QVERIFY(done <= total);
            lastDone = done;
            ++told;
        });
        QCOMPARE(cells(), expected);
        QCOMPARE(told > 1, summedAsRead);
        QCOMPARE(lastDone, rows.isEmpty() ? qint64(0) : qint64(rows.count("),(") + 1));
    }

    void fullDiskAtStartIsWalked()
    {
        closeRegister();
        SmallFileSystem disk(1024);
        if (!disk.skipReason().isEmpty())
            QSKIP(qPrintable(disk.skipReason()));
        QVERIFY(QFile::copy(file(), disk.filePath("TALO.DB")));
        disk.fill();
        Table table(CareEntryTable::definition());
        table.setDatabaseName(disk.path());
        CareRegister onFullDisk(table, selectors_);
        table.open();
        QVERIFY(table.isReadOnly());
        QVERIFY(table.readOnlyReason().contains("Le disque est plein."));
        QVERIFY(!onFullDisk.usesStoredTotals());
        QCOMPARE(onFullDisk.totals().cost, qint64(120212));
        QCOMPARE(onFullDisk.totals(), onFullDisk.sumView());
    }
};

QTEST_MAIN(TestStoredTotals)
#include "test_stored_totals.moc"
