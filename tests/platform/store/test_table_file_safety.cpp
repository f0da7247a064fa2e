#include "platform/store/DatabaseError.h"
#include "platform/store/TableStorage.h"
#include "support/FileBytes.h"
#include "support/PermissionsEnforced.h"
#include "support/ReadOnlyFile.h"
#include "support/ReadOnlyFolder.h"
#include "support/SampleTable.h"
#include "support/SmallFileSystem.h"
#include "support/ThrownMessage.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <sqlite3.h>

namespace
{

// A trigger the sample table's definition declares as its own companion.
const QString OwnTrigger =
    QStringLiteral("CREATE TRIGGER SAMPLE_JOURNAL AFTER DELETE ON SAMPLE BEGIN SELECT 1; END");

TableDefinition definitionWithCompanion()
{
    TableDefinition def = SampleTable::definition();
    def.addCompanions({{QStringLiteral("trigger"), QStringLiteral("SAMPLE_JOURNAL"), OwnTrigger}});
    return def;
}

// Statements run on the file as another program would (sqlite3), with no check of ours.
void runOn(const QString &path, const QStringList &statements)
{
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    for (const QString &sql : statements) {
        char *error = nullptr;
        const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error);
        QVERIFY2(rc == SQLITE_OK, error);
    }
    sqlite3_close(db);
}

} // namespace

// Table files that someone else has changed: SQL objects of their own in them, or files the
// program can read but not write.
class TestTableFileSafety : public QObject
{
    Q_OBJECT

private:
    // Two rows posted through the program, in the log mode it leaves files in.
    static void twoRowsIn(const QString &folder)
    {
        SampleTable::createIn(folder);
        auto table = SampleTable::openIn(folder);
        SampleTable::addRow(*table, "DURAND", QDate(2024, 3, 1), 1250);
        SampleTable::addRow(*table, "MARTIN", QDate(2024, 3, 2), 4000);
    }

    // Opened for reading: both rows there, every change refused with the reason, nothing
    // written to or beside the file.
    static void checkReadOnly(const QString &folder, const QString &reason)
    {
        const QString path = folder + "/SAMPLE.DB";
        const QByteArray before = FileBytes::of(path);
        const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        {
            auto table = SampleTable::openIn(folder);
            QVERIFY(table->isReadOnly());
            QVERIFY2(table->readOnlyReason().contains(reason), qPrintable(table->readOnlyReason()));
            QCOMPARE(table->recordCount(), 2);
            QCOMPARE(table->fieldByName("Nom").asString(), QString("DURAND"));
            for (const auto &change : std::vector<std::function<void()>>{
                     [&] { table->edit(); }, [&] { table->append(); }, [&] { table->insert(); },
                     [&] { table->deleteRecord(); }}) {
                const QString message = thrownMessage(change);
                QVERIFY2(message.contains("lecture seule") && message.contains(reason),
                         qPrintable(message));
                QCOMPARE(table->state(), Table::State::Browse);
            }
            QCOMPARE(table->recordCount(), 2);
        }
        QCOMPARE(FileBytes::of(path), before);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), files);
    }

    static void useRollbackJournal(const QString &folder)
    {
        runOn(folder + "/SAMPLE.DB", {"PRAGMA journal_mode=DELETE"});
    }

private Q_SLOTS:
    void foreignObjectsAreRefused_data()
    {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("named");
        QTest::newRow("trigger deleting the other rows")
            << QStringList{"CREATE TRIGGER purge AFTER INSERT ON SAMPLE BEGIN DELETE FROM SAMPLE "
                           "WHERE Numero <> NEW.Numero; END"}
            << QStringList{"le déclencheur « purge »", "DROP TRIGGER \"purge\";"};
        QTest::newRow("our trigger's name, another body")
            << QStringList{"CREATE TRIGGER SAMPLE_JOURNAL AFTER DELETE ON SAMPLE BEGIN DELETE "
                           "FROM SAMPLE; END"}
            << QStringList{"le déclencheur « SAMPLE_JOURNAL »"};
        QTest::newRow("view") << QStringList{"CREATE VIEW chers AS SELECT * FROM SAMPLE"}
                              << QStringList{"la vue « chers »"};
        QTest::newRow("table and index")
            << QStringList{"CREATE TABLE notes (x)", "CREATE UNIQUE INDEX un ON SAMPLE (Nom)"}
            << QStringList{"la table « notes », l'index « un »"};
        QTest::newRow("our index's name on another kind")
            << QStringList{"DROP INDEX SAMPLE_cle", "CREATE VIEW sample_cle AS SELECT 1"}
            << QStringList{"la vue « sample_cle »"};
    }
    // Refused with the objects named and the way to repair; the file is left byte for byte.
    void foreignObjectsAreRefused()
    {
        QFETCH(QStringList, added);
        QFETCH(QStringList, named);
        QTemporaryDir dir;
        twoRowsIn(dir.path());
        const QString path = dir.filePath("SAMPLE.DB");
        runOn(path, added);
        const QByteArray before = FileBytes::of(path);
        Table table(definitionWithCompanion());
        table.setDatabaseName(dir.path());
        const QString message = thrownMessage([&] { table.open(); });
        for (const QString &text :
             named + QStringList{"SAMPLE.DB", "laissé tel quel", "copie de sauvegarde", "sqlite3"})
            QVERIFY2(message.contains(text), qPrintable(message));
        QVERIFY(!table.isActive());
        QCOMPARE(FileBytes::of(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"SAMPLE.DB"});
    }

    // The declared companion, SQLite's statistics and an older file's own index are the
    // program's: the table opens and takes posts.
    void ownObjectsAreAccepted()
    {
        QTemporaryDir dir;
        twoRowsIn(dir.path());
        runOn(dir.filePath("SAMPLE.DB"), {OwnTrigger, "ANALYZE"});
        Table table(definitionWithCompanion());
        table.setDatabaseName(dir.path());
        table.open();
        QVERIFY(!table.isReadOnly());
        SampleTable::addRow(table, "PETIT", QDate(2024, 3, 3), 100);
        QCOMPARE(table.recordCount(), 3);
    }

    void readOnlyFileIsOpenedForReading_data()
    {
        QTest::addColumn<bool>("logMode");
        QTest::newRow("write-ahead log") << true;
        // As a copy put back from a backup is.
        QTest::newRow("rollback journal") << false;
    }
    void readOnlyFileIsOpenedForReading()
    {
        QFETCH(bool, logMode);
        QTemporaryDir dir;
        twoRowsIn(dir.path());
        if (!logMode)
            useRollbackJournal(dir.path());
        const ReadOnlyFile locked(dir.filePath("SAMPLE.DB"));
        if (!locked.isReadOnly())
            QSKIP("this file system lets the file be written");
        checkReadOnly(dir.path(), "Le fichier est en lecture seule.");
    }

    void readOnlyFolderIsOpenedForReading_data() { readOnlyFileIsOpenedForReading_data(); }
    void readOnlyFolderIsOpenedForReading()
    {
        QFETCH(bool, logMode);
        QTemporaryDir dir;
        twoRowsIn(dir.path());
        if (!logMode)
            useRollbackJournal(dir.path());
        const ReadOnlyFolder locked(dir.path());
        if (!locked.isReadOnly())
            QSKIP("this file system lets the folder be written");
        checkReadOnly(dir.path(), "");
    }

    void fullDiskIsOpenedForReading_data() { readOnlyFileIsOpenedForReading_data(); }
    void fullDiskIsOpenedForReading()
    {
        QFETCH(bool, logMode);
        SmallFileSystem disk(512);
        if (!disk.skipReason().isEmpty())
            QSKIP(qPrintable(disk.skipReason()));
        twoRowsIn(disk.path());
        if (!logMode)
            useRollbackJournal(disk.path());
        disk.fill();
        checkReadOnly(disk.path(), "Le disque est plein.");
        // Once there is room again, the file is written as before.
        disk.free();
        for (const char *companion : {"-wal", "-shm"})
            QFile::remove(disk.filePath(QString("SAMPLE.DB") + companion));
        auto table = SampleTable::openIn(disk.path());
        QVERIFY(!table->isReadOnly());
        SampleTable::addRow(*table, "PETIT", QDate(2024, 3, 3), 100);
    }

    // A file that cannot even be read is refused, not opened for reading.
    void unreadableFileIsStillRefused()
    {
        QTemporaryDir dir;
        twoRowsIn(dir.path());
        const QString path = dir.filePath("SAMPLE.DB");
        QFile::setPermissions(path, QFile::Permissions());
        {
            const PermissionsEnforced enforced;
            if (QFile(path).open(QIODevice::ReadOnly))
                QSKIP("permission bits do not apply to this process");
            Table table(SampleTable::definition());
            table.setDatabaseName(dir.path());
            const QString message = thrownMessage([&] { table.open(); });
            QVERIFY2(message.contains("Impossible d'ouvrir la table."), qPrintable(message));
            QVERIFY(!table.isActive());
        }
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }
};

QTEST_GUILESS_MAIN(TestTableFileSafety)
#include "test_table_file_safety.moc"
