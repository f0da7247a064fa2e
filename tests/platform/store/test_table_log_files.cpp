#include "platform/store/BatchMove.h"
#include "platform/store/DatabaseError.h"
#include "support/FileBytes.h"
#include "support/SampleTable.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

// The companion files of a table (its write-ahead log and the log's index): short-lived beside
// the program's tables, never mixed with a copy, and a file that is not a table never written.
class TestTableLogFiles : public QObject
{
    Q_OBJECT

private:
    static QStringList namesIn(const QString &folder)
    {
        QStringList names;
        auto t = SampleTable::openIn(folder);
        for (t->first(); !t->eof(); t->next())
            names.append(t->fieldByName("Nom").asString());
        return names;
    }

    static QStringList entriesOf(const QString &folder)
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    static void sql(sqlite3 *db, const char *statement)
    {
        QCOMPARE(sqlite3_exec(db, statement, nullptr, nullptr, nullptr), SQLITE_OK);
    }

    // A table in `folder` whose log holds a row "OLD" not yet moved into the file, as a
    // program that died would leave it; returns the log's bytes.
    static QByteArray logOfAnOlderTable(const QString &folder)
    {
        SampleTable::createIn(folder);
        const QString path = folder + "/SAMPLE.DB";
        sqlite3 *db = nullptr;
        sqlite3_open(QFile::encodeName(path).constData(), &db);
        sql(db, "PRAGMA journal_mode=WAL");
        sql(db, "PRAGMA wal_autocheckpoint=0");
        sql(db, "INSERT INTO SAMPLE (Nom, Jour) VALUES ('OLD', '1999-01-01')");
        sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        sqlite3_close(db);
        return FileBytes::of(path + "-wal");
    }

private Q_SLOTS:
    void postsLeaveTheLogEmpty()
    {
        QTemporaryDir dir;
        SampleTable::createIn(dir.path());
        auto t = SampleTable::openIn(dir.path());
        const QString log = dir.filePath("SAMPLE.DB-wal");
        SampleTable::addRow(*t, "A", QDate(2020, 1, 1), 100);
        QCOMPARE(QFileInfo(log).size(), 0);
        t->edit();
        t->fieldByName("Montant").setAsCents(200);
        t->post();
        QCOMPARE(QFileInfo(log).size(), 0);
        t->deleteRecord();
        QCOMPARE(QFileInfo(log).size(), 0);
    }

    // A program that died left its last post in the log: opening finds it and empties the log.
    void openingMovesALeftLogIntoTheFile()
    {
        QTemporaryDir dir;
        QVERIFY(!logOfAnOlderTable(dir.path()).isEmpty());
        auto t = SampleTable::openIn(dir.path());
        QCOMPARE(QFileInfo(dir.filePath("SAMPLE.DB-wal")).size(), 0);
        QCOMPARE(t->recordCount(), 1);
    }

    void copyIsNeverMixedWithAnOlderLog()
    {
        QTemporaryDir older, source, target;
        const QByteArray staleLog = logOfAnOlderTable(older.path());
        QVERIFY(!staleLog.isEmpty());
        SampleTable::createIn(target.path());
        FileBytes::put(target.filePath("SAMPLE.DB-wal"), staleLog);
        FileBytes::put(target.filePath("SAMPLE.DB-shm"), QByteArray(32768, '\0'));

        SampleTable::createIn(source.path());
        auto t = SampleTable::openIn(source.path());
        for (const char *name : {"N1", "N2", "N3"})
            SampleTable::addRow(*t, name, QDate(2020, 1, 1), 1);
        Table copy(SampleTable::definition());
        copy.setDatabaseName(target.path());
        BatchMove(*t, copy).execute();
        copy.addIndex("ignored", "Nom;Jour;Numero", Table::IndexKind::Primary);

        // The copy stands alone, and reads as what was copied.
        QCOMPARE(entriesOf(target.path()), QStringList{"SAMPLE.DB"});
        QCOMPARE(namesIn(target.path()), QStringList({"N1", "N2", "N3"}));
    }

    void copyRemovesLeftoversOfAKilledCopyOnly()
    {
        QTemporaryDir source, target;
        SampleTable::createIn(source.path());
        const QStringList kept{".notes.Ab12Cd.tmp", ".SAMPLE.DB.tmp", "SAMPLE.DB.Ab12Cd"};
        for (const QString &name :
             kept + QStringList{".SAMPLE.DB.Xy34Zw.tmp", ".sample.db.Qr56St.tmp-journal",
                                ".SAMPLE.DB.0123456789ab.tmp"})
            FileBytes::put(target.filePath(name), QByteArray(8192, 'x'));
        Table copy(SampleTable::definition());
        copy.setDatabaseName(target.path());
        BatchMove(*SampleTable::openIn(source.path()), copy).execute();
        QStringList expected = kept + QStringList{"SAMPLE.DB"};
        expected.sort();
        QCOMPARE(entriesOf(target.path()), expected);
    }

    void fileThatIsNotATableIsNeverWritten_data()
    {
        QTest::addColumn<QString>("made");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << "empty"
                               << "Le fichier est vide (0 octet)";
        QTest::newRow("not a database") << "garbage"
                                        << "n'est pas une table";
        QTest::newRow("another database") << "other"
                                          << "La table SAMPLE est absente du fichier";
    }
    void fileThatIsNotATableIsNeverWritten()
    {
        QFETCH(QString, made);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("SAMPLE.DB");
        if (made == "other") {
            sqlite3 *db = nullptr;
            sqlite3_open(QFile::encodeName(path).constData(), &db);
            sql(db, "CREATE TABLE AUTRE (x)");
            sqlite3_close(db);
        } else {
            FileBytes::put(path, made == "empty" ? QByteArray() : QByteArray(4096, 'x'));
        }
        const QByteArray before = FileBytes::of(path);
        Table t(SampleTable::definition());
        t.setDatabaseName(dir.path());
        QVERIFY_THROWS_EXCEPTION(DatabaseError, t.open());
        try {
            t.open();
        } catch (const DatabaseError &e) {
            QVERIFY2(e.message().contains(reason), qPrintable(e.message()));
        }
        QCOMPARE(FileBytes::of(path), before);
        QCOMPARE(entriesOf(dir.path()), QStringList{"SAMPLE.DB"});
    }
};

QTEST_GUILESS_MAIN(TestTableLogFiles)
#include "test_table_log_files.moc"
