#include "platform/store/SqliteDatabase.h"
#include "register/StoredTotals.h"
#include "support/FileBytes.h"
#include "support/ThrownMessage.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The sums kept in a TALO.DB of a later format are that program's: never rebuilt here. Those of
// the files earlier versions wrote are this program's to rebuild.
class TestFormatSamples : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void earlierSumsAreRebuilt_data()
    {
        QTest::addColumn<QString>("sample");
        QTest::newRow("before the ledger") << "TALO-avant-releves.DB";
        QTest::newRow("unnumbered") << "TALO-format0.DB";
        QTest::newRow("format 1") << "TALO-format1.DB";
    }
    void earlierSumsAreRebuilt()
    {
        QFETCH(QString, sample);
        QTemporaryDir dir;
        const QString path = dir.filePath("TALO.DB");
        QVERIFY(QFile::copy(QFINDTESTDATA("../tables/samples/" + sample), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        {
            StoredTotals sums(path);
        }
        SqliteDatabase db(path, SqliteDatabase::Mode::OpenExisting);
        // The withheld amounts have their column, and a post keeps it: today's triggers.
        db.exec(QStringLiteral("SELECT Retenu FROM TALO_TOTAUX"));
        db.exec(QStringLiteral("UPDATE TALO SET \"Cout\" = \"Cout\" + 1"));
        QCOMPARE(thrownMessage([&] { StoredTotals reopened(path); }), QStringLiteral("<none>"));
    }

    void newerFileKeepsItsSums_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("sums as ours") << QString();
        // What would make this program rebuild them in a file of its own format.
        QTest::newRow("a trigger of theirs")
            << QStringLiteral("DROP TRIGGER \"TALO_TOTAUX_AJOUT\"");
        QTest::newRow("a column more")
            << QStringLiteral("ALTER TABLE \"TALO_TOTAUX\" ADD COLUMN \"Tiers\" INTEGER");
    }
    void newerFileKeepsItsSums()
    {
        QFETCH(QString, change);
        QTemporaryDir dir;
        const QString path = dir.filePath("TALO.DB");
        QVERIFY(QFile::copy(QFINDTESTDATA("../tables/samples/TALO-format1.DB"), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        {
            SqliteDatabase db(path, SqliteDatabase::Mode::OpenExisting);
            if (!change.isEmpty())
                db.exec(change);
            db.exec(QStringLiteral("PRAGMA user_version = 2"));
        }
        const QByteArray bytes = FileBytes::of(path);
        QVERIFY(thrownMessage([&] { StoredTotals sums(path); }).contains("format 2"));
        QCOMPARE(FileBytes::of(path), bytes);
    }
};

QTEST_GUILESS_MAIN(TestFormatSamples)
#include "test_format_samples.moc"
