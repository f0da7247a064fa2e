#include "platform/store/BatchMove.h"
#include "platform/store/DatabaseError.h"
#include "platform/store/TableStorage.h"
#include "support/ReadOnlyFolder.h"
#include "support/SampleTable.h"

#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <csignal>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// The table files: several components over one file, batch copy, failures and durability.
class TestTableFiles : public QObject
{
    Q_OBJECT

private:
    static std::unique_ptr<Table> openIn(const QString &folder)
    {
        return SampleTable::openIn(folder);
    }
    static int rowsIn(const QString &folder) { return openIn(folder)->recordCount(); }

private Q_SLOTS:
    void createdFileIsOwnerOnly()
    {
        QTemporaryDir dir;
        SampleTable::createIn(dir.path());
        const QFile::Permissions p = QFile::permissions(dir.filePath("SAMPLE.DB"));
        QCOMPARE(p & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
                 QFile::Permissions());
        QVERIFY(!TableStorage::createFile(dir.filePath("SAMPLE.DB"), SampleTable::definition()));
    }

    void fileNameMatchesWithoutCase()
    {
        QTemporaryDir dir;
        SampleTable::createIn(dir.path());
        QVERIFY(QFile::rename(dir.filePath("SAMPLE.DB"), dir.filePath("sample.db")));
        QCOMPARE(rowsIn(dir.path()), 0);
    }

    void openFailuresAreFrench_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing") << QByteArray() << "Table introuvable.";
        QTest::newRow("not a table") << QByteArray(4096, 'x') << "Le fichier est endommagé";
    }
    void openFailuresAreFrench()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        if (!content.isEmpty()) {
            QFile f(dir.filePath("SAMPLE.DB"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        Table t(SampleTable::definition());
        t.setDatabaseName(dir.path());
        try {
            t.open();
            QFAIL("opened a file that is not a table");
        } catch (const DatabaseError &e) {
            QVERIFY2(e.message().contains(expected), qPrintable(e.message()));
        }
        QVERIFY(!t.isActive());
    }

    void anotherComponentSeesPostsAtOnce()
    {
        QTemporaryDir dir;
        SampleTable::createIn(dir.path());
        auto writer = openIn(dir.path());
        auto reader = openIn(dir.path());
        SampleTable::addRow(*writer, "A", QDate(2020, 1, 1), 1);
        QCOMPARE(reader->recordCount(), 1);
        reader->first();
        QCOMPARE(reader->recordCount(), 1);
        writer->deleteRecord();
        QCOMPARE(reader->recordCount(), 0);
        reader->first();
        QCOMPARE(reader->recordCount(), 0);
    }

    // A disk that refuses to grow the file mid-post (file-size limit): the post fails with a
    // French message, the record stays in insert with its values, and a later post works.
    void failedWriteKeepsTheRecord()
    {
        QTemporaryDir dir;
        SampleTable::createIn(dir.path());
        auto t = openIn(dir.path());
        SampleTable::addRow(*t, "A", QDate(2020, 1, 1), 100);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        signal(SIGXFSZ, SIG_IGN);
        t->append();
        t->fieldByName("Nom").setAsString("B");
        t->fieldByName("Jour").setAsDate(QDate(2020, 1, 2));
        t->fieldByName("Note").setAsString(QString(20000, QLatin1Char('n')));
        rlimit tight = saved;
        tight.rlim_cur = 4096;
        setrlimit(RLIMIT_FSIZE, &tight);
        bool failed = false;
        try {
            t->post();
        } catch (const DatabaseError &e) {
            failed = e.message().startsWith("Impossible d'enregistrer dans le fichier");
        }
        setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY(failed);
        QCOMPARE(t->state(), Table::State::Insert);
        QCOMPARE(t->fieldByName("Nom").asString(), QString("B"));
        t->post();
        QCOMPARE(rowsIn(dir.path()), 2);
    }

    void batchCopyReplacesTheTargetWithEveryRow()
    {
        QTemporaryDir source, target;
        SampleTable::createIn(source.path());
        auto t = openIn(source.path());
        for (int i = 0; i < 5; ++i)
            SampleTable::addRow(*t, QString("N%1").arg(i), QDate(2020, 1, 1), i);
        t->onFilterRecord = [](Table &table) {
            return table.fieldByName("Nom").asString() == "N1";
        };
        t->setFiltered(true);

        // An older copy with other rows is replaced whole.
        SampleTable::createIn(target.path());
        SampleTable::addRow(*openIn(target.path()), "OLD", QDate(1999, 1, 1), 1);

        Table copy(SampleTable::definition());
        copy.setDatabaseName(target.path());
        BatchMove(*t, copy).execute();
        copy.addIndex("ignored", "Nom;Jour;Numero", Table::IndexKind::Primary);
        auto reopened = openIn(target.path());
        QCOMPARE(reopened->recordCount(), 5);
        reopened->first();
        QCOMPARE(reopened->fieldByName("Nom").asString(), QString("N0"));
        // Nothing left over from the copy's temporary file.
        QCOMPARE(QDir(target.path()).entryList({"*.tmp*"}, QDir::Files | QDir::Hidden),
                 QStringList());
    }

    // The backup copies on a worker while the window thread goes on posting: each copy, read
    // through a connection of its own, is one moment of the file; a copy stopped between two
    // steps leaves the older copy and nothing beside it.
    void copyFromAWorker_data()
    {
        QTest::addColumn<bool>("stopped");
        QTest::newRow("posted meanwhile") << false;
        QTest::newRow("stopped by its step") << true;
    }
    void copyFromAWorker()
    {
        QFETCH(bool, stopped);
        QTemporaryDir source, target;
        SampleTable::createIn(source.path());
        SampleTable::createIn(target.path());
        SampleTable::addRow(*openIn(target.path()), "OLD", QDate(1999, 1, 1), 1);
        auto t = openIn(source.path());
        for (int i = 0; i < 5; ++i)
            SampleTable::addRow(*t, QString("A%1").arg(i), QDate(2020, 1, 1), i);
        const QString from = t->filePath();
        const QString to = target.filePath("SAMPLE.DB");
        std::atomic<bool> done = false;
        std::atomic<int> copies = 0;
        QString failure;
        std::thread worker([&] {
            try {
                for (int i = 0; i < 5; ++i) {
                    TableStorage::copyFile(from, to, [stopped](qint64, qint64) {
                        if (stopped)
                            throw std::runtime_error("stopped");
                    });
                    ++copies;
                }
            } catch (const std::runtime_error &) {
            } catch (const PlatformError &e) {
                failure = e.message();
            }
            done = true;
        });
        for (int i = 0; !done; ++i)
            SampleTable::addRow(*t, QString("B%1").arg(i), QDate(2021, 1, 1), i);
        worker.join();
        QCOMPARE(failure, QString());
        QCOMPARE(copies.load(), stopped ? 0 : 5);
        const int rows = rowsIn(target.path());
        if (stopped)
            QCOMPARE(rows, 1);
        else
            QVERIFY(rows >= 5 && rows <= t->recordCount());
        QCOMPARE(QDir(target.path()).entryList({"*.tmp*"}, QDir::Files | QDir::Hidden),
                 QStringList());
    }

    void failedCopyLeavesTheOlderCopy()
    {
        QTemporaryDir source, target;
        SampleTable::createIn(source.path());
        SampleTable::createIn(target.path());
        SampleTable::addRow(*openIn(target.path()), "OLD", QDate(1999, 1, 1), 1);
        auto t = openIn(source.path());
        {
            ReadOnlyFolder locked(target.path());
            if (!locked.isReadOnly())
                QSKIP("this file system cannot make a folder read-only");
            Table copy(SampleTable::definition());
            copy.setDatabaseName(target.path());
            QVERIFY_THROWS_EXCEPTION(DatabaseError, BatchMove(*t, copy).execute());
        }
        QCOMPARE(rowsIn(target.path()), 1);
    }

    // A process killed at any moment while posting leaves a readable file holding every row
    // whose post returned, each row whole.
    void killedWriterLeavesAConsistentFile()
    {
        QTemporaryDir dir;
        SampleTable::createIn(dir.path());
        int pipeFds[2];
        QVERIFY(pipe(pipeFds) == 0);
        const pid_t child = fork();
        if (child == 0) {
            close(pipeFds[0]);
            auto t = openIn(dir.path());
            for (int i = 1;; ++i) {
                SampleTable::addRow(*t, QString("R%1").arg(i), QDate(2020, 1, 1), i * 100);
                if (write(pipeFds[1], &i, sizeof i) != sizeof i)
                    _exit(1);
            }
        }
        close(pipeFds[1]);
        int confirmed = 0, value = 0;
        while (confirmed < 25 && read(pipeFds[0], &value, sizeof value) == sizeof value)
            confirmed = value;
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        while (read(pipeFds[0], &value, sizeof value) == sizeof value)
            confirmed = value;
        close(pipeFds[0]);

        auto t = openIn(dir.path());
        QVERIFY(t->recordCount() >= confirmed);
        QVERIFY(t->recordCount() <= confirmed + 1);
        for (t->first(); !t->eof(); t->next()) {
            const int n = t->fieldByName("Nom").asString().mid(1).toInt();
            QCOMPARE(t->fieldByName("Montant").asCents(), qint64(n) * 100);
        }
        sqlite3 *db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(dir.filePath("SAMPLE.DB")).constData(), &db),
                 SQLITE_OK);
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr);
        QCOMPARE(sqlite3_step(st), SQLITE_ROW);
        QCOMPARE(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0))),
                 QString("ok"));
        sqlite3_finalize(st);
        sqlite3_close(db);
    }
};

QTEST_GUILESS_MAIN(TestTableFiles)
#include "test_table_files.moc"
