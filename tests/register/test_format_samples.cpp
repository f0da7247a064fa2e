#include "platform/store/SqliteDatabase.h"
#include "register/StoredTotals.h"
#include "support/FileBytes.h"
#include "support/ThrownMessage.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The sums kept in a TALO.DB of a later format are that program's: never rebuilt here.
class TestFormatSamples : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
