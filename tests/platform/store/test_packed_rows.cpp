#include "platform/core/TextCollation.h"
#include "platform/store/Table.h"
#include "support/SampleTable.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <sqlite3.h>

// Rows as held in memory: every value comes back exactly as written (after a post and after a
// reload), the order follows the collation, the filter declared to read few fields gives the
// very view of the plain filter, and deletes and inserts keep the view and bookmarks right.
class TestPackedRows : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;

    std::unique_ptr<Table> reopened() const { return SampleTable::openIn(dir_.path()); }
    static QString name(Table &t) { return t.fieldByName("Nom").asString(); }
    static QStringList names(Table &t)
    {
        QStringList out;
        for (t.first(); !t.eof(); t.next())
            out << name(t);
        return out;
    }
    static QList<qint64> numbers(Table &t)
    {
        QList<qint64> out;
        for (t.first(); !t.eof(); t.next())
            out << t.fieldByName("Numero").value().toLongLong();
        return out;
    }
    void writeRaw(qint64 rowId, const char *name)
    {
        sqlite3 *db = nullptr;
        sqlite3_open(QFile::encodeName(dir_.filePath("SAMPLE.DB")).constData(), &db);
        const QByteArray sql = QStringLiteral("INSERT INTO SAMPLE (Numero, Nom, Jour, Montant) "
                                              "VALUES (%1, '%2', '2020-05-01', 1.5)")
                                   .arg(rowId)
                                   .arg(QString::fromUtf8(name))
                                   .toUtf8();
        QCOMPARE(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }

private Q_SLOTS:
    void init()
    {
        QFile::remove(dir_.filePath("SAMPLE.DB"));
        QFile::remove(dir_.filePath("SAMPLE.DB-wal"));
        QFile::remove(dir_.filePath("SAMPLE.DB-shm"));
        SampleTable::createIn(dir_.path());
    }

    void valuesComeBackExactly_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QDate>("jour");
        QTest::addColumn<QVariant>("cents"); // invalid: empty
        QTest::addColumn<QString>("note");
        QTest::addColumn<QVariant>("taux");
        const QString longNote = QString("Séance n°1 — remboursée\n").repeated(2000);
        QTest::newRow("typo of a huge amount")
            << "PAUL" << QDate(2024, 3, 1) << QVariant(qint64(9'999'999'999)) << "" << QVariant();
        QTest::newRow("negative") << "PAUL" << QDate(2024, 3, 1) << QVariant(qint64(-123'456)) << ""
                                  << QVariant(-0.5);
        QTest::newRow("zero") << "PAUL" << QDate(2024, 3, 1) << QVariant(qint64(0)) << ""
                              << QVariant(0.0);
        QTest::newRow("lowest 32-bit")
            << "PAUL" << QDate(2024, 3, 1) << QVariant(qint64(-2'147'483'648)) << "" << QVariant();
        QTest::newRow("past 32 bits")
            << "PAUL" << QDate(2024, 3, 1) << QVariant(qint64(2'147'483'648)) << "" << QVariant();
        QTest::newRow("empty amount")
            << "PAUL" << QDate(1900, 1, 1) << QVariant() << "" << QVariant(0.655);
        QTest::newRow("accents and a long memo")
            << "Élodie" << QDate(9999, 12, 31) << QVariant(qint64(1)) << longNote << QVariant();
    }
    void valuesComeBackExactly()
    {
        QFETCH(QString, nom);
        QFETCH(QDate, jour);
        QFETCH(QVariant, cents);
        QFETCH(QString, note);
        QFETCH(QVariant, taux);
        auto writer = reopened();
        SampleTable::addRow(*writer, "AUTRE", QDate(2000, 1, 1), 5); // shares the pools
        writer->append();
        writer->fieldByName("Nom").setAsString(nom);
        writer->fieldByName("Jour").setAsDate(jour);
        writer->fieldByName("Montant").setValue(cents);
        writer->fieldByName("Note").setAsString(note);
        writer->fieldByName("Taux").setValue(taux);
        writer->post();
        auto reader = reopened();
        for (Table *t : {writer.get(), reader.get()}) {
            t->first();
            if (name(*t) == "AUTRE")
                t->next();
            QCOMPARE(name(*t), nom);
            QCOMPARE(t->fieldByName("Jour").asDate(), jour);
            QCOMPARE(t->fieldByName("Montant").isNull(), !cents.isValid());
            QCOMPARE(t->fieldByName("Montant").asCents(), cents.toLongLong());
            QCOMPARE(t->fieldByName("Note").asString(), note);
            QCOMPARE(t->fieldByName("Taux").isNull(), !taux.isValid());
            QCOMPARE(t->fieldByName("Taux").asFloat(), taux.toDouble());
        }
    }

    void rowIdsWrittenElsewhereStayExact_data()
    {
        QTest::addColumn<qint64>("rowId");
        QTest::newRow("highest 32-bit") << qint64(2'147'483'647);
        QTest::newRow("past 32 bits") << qint64(5'000'000'000);
        QTest::newRow("lowest 32-bit") << qint64(-2'147'483'648);
        QTest::newRow("negative, past 32 bits") << qint64(-9'000'000'000);
    }
    void rowIdsWrittenElsewhereStayExact()
    {
        QFETCH(qint64, rowId);
        writeRaw(7, "A");
        writeRaw(rowId, "B");
        auto t = reopened();
        t->last();
        QCOMPARE(t->fieldByName("Numero").value().toLongLong(), rowId);
        const Bookmark mark = t->bookmark();
        QCOMPARE(mark.rowId, rowId);
        t->first();
        QVERIFY(t->gotoBookmark(mark));
        t->edit();
        t->fieldByName("Montant").setAsCents(4200);
        t->post(); // rewritten by its identity
        auto again = reopened();
        again->last();
        QCOMPARE(again->fieldByName("Numero").value().toLongLong(), rowId);
        QCOMPARE(again->fieldByName("Montant").asCents(), 4200);
        QCOMPARE(again->recordCount(), 2);
    }

    void textsFollowTheCollationAfterPostAndReload()
    {
        const QStringList typed{"ZOLA", "cote", "Côte", "CA", "ÇA", "côte", "Cote", "ca", "Éa"};
        QStringList expected = typed;
        std::sort(expected.begin(), expected.end(), [](const QString &a, const QString &b) {
            return TextCollation::compare(a, b) < 0;
        });
        auto t = reopened();
        for (const QString &n : typed)
            SampleTable::addRow(*t, n, QDate(2020, 1, 1), 1);
        QCOMPARE(names(*t), expected);
        auto reader = reopened();
        QCOMPARE(names(*reader), expected);
        reader->setIndexFieldNames("Numero");
        QCOMPARE(names(*reader), typed);
        reader->setIndexFieldNames("Nom;Jour;Numero");
        QCOMPARE(names(*reader), expected);
        // In order of the leading field (one day), shuffled within it, as a register is.
        auto byDay = std::make_unique<Table>(SampleTable::definition());
        byDay->setDatabaseName(dir_.path());
        byDay->setIndexFieldNames("Jour;Nom;Numero");
        byDay->open();
        QCOMPARE(names(*byDay), expected);
    }

    void declaredFilterGivesThePlainFiltersView()
    {
        const QStringList pool{"A", "a", "É", "E", "Zoé"};
        QRandomGenerator random(7);
        {
            auto writer = reopened();
            for (int i = 0; i < 300; ++i)
                SampleTable::addRow(
                    *writer, pool[random.bounded(pool.size())],
                    QDate(1998 + random.bounded(8), 1 + random.bounded(12), 1 + random.bounded(28)),
                    i);
        }
        QString wantedName;
        int wantedYear = 0; // 0: every year
        int calls = 0;
        const auto rule = [&](Table &t) {
            ++calls;
            const QDate day = t.fieldByName("Jour").asDate();
            return (wantedName.isEmpty() || name(t) == wantedName) &&
                   (wantedYear == 0 || day.year() % 100 == wantedYear % 100);
        };
        auto plain = reopened();
        auto declared = reopened();
        plain->onFilterRecord = rule;
        declared->onFilterRecord = rule;
        declared->setFilterFields({"Jour", "Nom"}, Table::FilterDates::ByYear);
        plain->setFiltered(true);
        declared->setFiltered(true);
        for (int round = 0; round < 30; ++round) {
            wantedName = random.bounded(3) == 0 ? QString() : pool[random.bounded(pool.size())];
            wantedYear = random.bounded(3) == 0 ? 0 : 1998 + random.bounded(8);
            plain->refilter();
            calls = 0;
            declared->refilter();
            QVERIFY(calls <= pool.size() * 8); // once per name and year, not per row
            QCOMPARE(numbers(*declared), numbers(*plain));
            if (round % 5 == 0 && declared->recordCount() > 0) {
                declared->first(); // a delete, an insert and an edit seen by both views
                declared->deleteRecord();
                SampleTable::addRow(*declared, pool[round % pool.size()], QDate(2001, 6, 1), 1);
                declared->last();
                declared->edit();
                declared->fieldByName("Nom").setAsString(pool[(round + 1) % pool.size()]);
                declared->fieldByName("Jour").setAsDate(QDate(1999 + round % 7, 2, 3));
                declared->post();
                plain->first();
                plain->refilter();
                declared->refilter();
                QCOMPARE(numbers(*declared), numbers(*plain));
            }
        }
    }

    void deletesAndInsertsKeepViewAndBookmarks()
    {
        auto t = reopened();
        for (const char *n : {"A", "B", "A", "C", "A"})
            SampleTable::addRow(*t, n, QDate(2020, 1, 1), 1);
        t->onFilterRecord = [](Table &table) { return name(table) != "B"; };
        t->setFilterFields({"Nom"});
        t->setFiltered(true);
        QList<Bookmark> marks;
        for (t->first(); !t->eof(); t->next())
            marks << t->bookmark();
        QCOMPARE(marks.size(), 4);
        QVERIFY(t->gotoBookmark(marks[1]));
        t->deleteRecord();
        // The new rows take the freed place in memory: the old bookmark must not find them.
        SampleTable::addRow(*t, "A", QDate(2019, 1, 1), 1);
        SampleTable::addRow(*t, "B", QDate(2019, 1, 1), 1);
        QVERIFY(!t->gotoBookmark(marks[1]));
        QCOMPARE(names(*t), QStringList({"A", "A", "A", "C"}));
        for (int i : {0, 2, 3}) {
            QVERIFY(t->gotoBookmark(marks[i]));
            QCOMPARE(t->bookmark().rowId, marks[i].rowId);
        }
        t->setFiltered(false);
        QCOMPARE(names(*t), QStringList({"A", "A", "A", "B", "B", "C"}));
        QCOMPARE(t->storedRowCount(), 6);
    }
};

QTEST_GUILESS_MAIN(TestPackedRows)
#include "test_packed_rows.moc"
