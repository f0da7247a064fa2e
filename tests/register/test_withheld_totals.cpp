#include "platform/store/SqliteDatabase.h"
#include "platform/store/SqliteStatement.h"
#include "platform/store/Table.h"
#include "platform/store/TableStorage.h"
#include "register/CareRegister.h"
#include "register/CareViewReader.h"
#include "register/FollowUpLines.h"
#include "register/PlainSelectors.h"
#include "register/TotalsFill.h"
#include "register/YearSummary.h"
#include "register/YearTotals.h"
#include "tables/CareEntryTable.h"
#include "tables/CpamRules.h"
#include "tables/TotalsSchema.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

const QString Insert = QStringLiteral(
    R"(INSERT INTO TALO ("Date soins", Beneficiaire, Specialite, Cout, Base, "Montant CPAM",)"
    R"( "Date CPAM", "CPAM oui/non", "Montant mutuelle", "Date mutuelle", "Mutuelle oui/non",)"
    R"( Estimation) VALUES )");

QString literal(const QString &text)
{
    return text.isNull() ? QStringLiteral("NULL")
                         : QStringLiteral("'%1'").arg(QString(text).replace('\'', "''"));
}

QString amount(qint64 cents)
{
    return QString::number(double(cents) / 100.0, 'f', 2);
}

// Entries as families type them and as other programs leave them: shares at the usual rates
// less a few units withheld, around the changes of the law, with odd dates and flags, negative
// and huge amounts.
class RandomEntries
{
public:
    explicit RandomEntries(quint32 seed) : random_(seed) {}

    QString values()
    {
        static const char *const days[] = {"2004-12-31", "2005-01-01", "2007-12-31",
                                           "2008-01-01", "2024-03-30", "2024-03-31",
                                           "2024-05-14", "2024-05-15", "2025-06-02"};
        static const char *const oddDays[] = {"2023-02-30", "", "31/12/2023", "0000-01-01",
                                              "2024-05-15 "};
        static const char *const names[] = {"MARIE", "Paul", "ÉLODIE", ""};
        static const char *const specialities[] = {"Généraliste", "Pharmacie",
                                                   "PHARMACIE",   "Kiné",
                                                   "Infirmière",  "Taxi",
                                                   "VSL",         "Ambulance",
                                                   "Radiologie",  "",
                                                   "Orthoptiste", "pédicure-podologue",
                                                   "Dentiste",    "Ophtalmologiste"};
        QDate care = QDate::fromString(QLatin1String(pick(days)), Qt::ISODate)
                         .addDays(random_.bounded(-2, 3));
        const QString careText =
            chance(10) ? QString::fromLatin1(pick(oddDays)) : care.toString(Qt::ISODate);
        if (!QDate::fromString(careText, Qt::ISODate).isValid() || careText.size() != 10)
            care = QDate();
        const QString speciality = QString::fromUtf8(pick(specialities));
        const CareAct act = CareActs::of(speciality);
        qint64 cost = random_.bounded(1, 40000);
        if (chance(3))
            cost = -cost;
        else if (chance(2))
            cost = qint64(random_.bounded(1, 30)) * CpamRules::LargestBase / 10;
        const qint64 base = chance(33) ? 0 : chance(50) ? cost : random_.bounded(1, 40000);
        const auto rates = CpamRules::usualRates();
        const int rate = rates[size_t(random_.bounded(int(rates.size())))];
        qint64 cpam = CpamRules::atRate(base > 0 ? base : cost, rate) -
                      random_.bounded(6) * CpamRules::unit(act, care);
        if (chance(10))
            cpam += random_.bounded(-3, 4);
        const bool partial = chance(10);
        const qint64 withheldish = random_.bounded(3) * CpamRules::unit(act, care);
        const qint64 mutual = chance(40) ? cost - cpam - withheldish : random_.bounded(0, 3000);
        QStringList v{careText.isEmpty() && chance(50) ? QStringLiteral("NULL") : literal(careText),
                      chance(5) ? QStringLiteral("NULL") : literal(QString::fromUtf8(pick(names))),
                      chance(5) ? QStringLiteral("NULL") : literal(speciality),
                      amount(cost),
                      base == 0 && chance(50) ? QStringLiteral("NULL") : amount(base),
                      chance(10) ? QStringLiteral("NULL") : amount(cpam),
                      dateCpam(care),
                      chance(5)   ? QStringLiteral("'Vrai'")
                      : chance(5) ? QStringLiteral("NULL")
                                  : QStringLiteral("'Faux'"),
                      chance(30) ? QStringLiteral("NULL") : amount(mutual),
                      chance(50) ? QStringLiteral("NULL") : literal(QStringLiteral("2025-07-01")),
                      partial     ? QStringLiteral("'Vrai'")
                      : chance(3) ? QStringLiteral("'Vrai '")
                                  : QStringLiteral("'Faux'"),
                      partial || chance(10) ? amount(random_.bounded(0, 40000))
                                            : QStringLiteral("NULL")};
        return QLatin1Char('(') + v.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    bool chance(int percent) { return random_.bounded(100) < percent; }

private:
    template <size_t N> const char *pick(const char *const (&from)[N])
    {
        return from[random_.bounded(int(N))];
    }
    QString dateCpam(const QDate &care)
    {
        if (chance(10))
            return QStringLiteral("NULL");
        if (chance(5))
            return chance(50) ? QStringLiteral("''") : QStringLiteral("'2024-13-01'");
        const QDate paid = care.isValid() ? care.addDays(12) : QDate(2024, 7, 1);
        return literal(paid.toString(Qt::ISODate));
    }

    QRandomGenerator random_;
};

using Cells = QMap<QPair<QString, int>, QList<qint64>>; // count, cost, CPAM, mutual, awaited,
                                                        // withheld

} // namespace

// What is withheld by law is computed alike by the SQL triggers, the statement that fills the
// sums, the one-pass fill, the in-memory cells, the walk, CareFacts, the follow-up and the year
// summary.
class TestWithheldTotals : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    PlainSelectors selectors_;

    QString file() const { return dir_.filePath("TALO.DB"); }
    void exec(const QStringList &statements)
    {
        SqliteDatabase db(file(), SqliteDatabase::Mode::OpenExisting);
        db.useWriteAheadLog();
        for (const QString &sql : statements)
            db.exec(sql);
        db.checkpoint();
    }
    Cells storedCells()
    {
        SqliteDatabase db(file(), SqliteDatabase::Mode::OpenExisting);
        SqliteStatement st(db.handle(), TotalsSchema::cellsQuery());
        Cells cells;
        while (st.step()) {
            QList<qint64> sums;
            for (int i = 2; i < 8; ++i)
                sums << st.int64(i);
            if (sums != QList<qint64>(6, 0))
                cells.insert({st.text(0), int(st.int64(1))}, sums);
        }
        return cells;
    }
    // The register opened as the program opens it; `rebuilt` tells whether its sums were
    // built again.
    struct Opened {
        std::unique_ptr<Table> table;
        std::unique_ptr<CareRegister> rules;
        bool rebuilt = false;
    };
    std::unique_ptr<Opened> open()
    {
        auto opened = std::make_unique<Opened>();
        opened->table = std::make_unique<Table>(CareEntryTable::definition());
        opened->table->setDatabaseName(dir_.path());
        opened->table->setIndexFieldNames(CareEntryTable::indexFieldNames());
        opened->rules = std::make_unique<CareRegister>(*opened->table, selectors_);
        Opened *o = opened.get();
        opened->rules->setSumsBuildProgress([o](qint64, qint64) { o->rebuilt = true; });
        opened->table->open();
        return opened;
    }

private Q_SLOTS:
    void init()
    {
        selectors_.beneficiaries = {"TOUS"};
        selectors_.years = {"TOUTES"};
        QFile::remove(file());
        TableStorage::createFile(file(), CareEntryTable::definition());
        // Opened once: the sums and their triggers are installed.
        QVERIFY(open()->rules->usesStoredTotals());
    }

    void everyReadingAgrees_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 2u, 3u})
            QTest::addRow("tirage %u", seed) << seed;
    }
    void everyReadingAgrees()
    {
        QFETCH(quint32, seed);
        RandomEntries entries(seed);
        QStringList rows;
        for (int i = 0; i < 1500; ++i)
            rows << entries.values();
        // Written by another program: the triggers count each row, each change and each
        // delete.
        exec({Insert + rows.join(QStringLiteral(",\n")),
              QStringLiteral("UPDATE TALO SET Specialite = 'Pharmacie' WHERE Numero % 7 = 0"),
              QStringLiteral("UPDATE TALO SET \"CPAM oui/non\" = 'Vrai' WHERE Numero % 11 = 0"),
              QStringLiteral("UPDATE TALO SET \"Date CPAM\" = NULL WHERE Numero % 13 = 0"),
              QStringLiteral("UPDATE TALO SET Base = NULL WHERE Numero % 17 = 0"),
              QStringLiteral("DELETE FROM TALO WHERE Numero % 19 = 0")});
        const Cells byTriggers = storedCells();
        qint64 withheld = 0, awaited = 0;
        for (const QList<qint64> &sums : byTriggers) {
            awaited += sums[4];
            withheld += sums[5];
        }
        QVERIFY2(withheld > 10000, "the draw withholds too little to prove anything");

        {
            SqliteDatabase db(file(), SqliteDatabase::Mode::OpenExisting);
            db.exec(QStringLiteral("DELETE FROM TALO_TOTAUX"));
            db.exec(TotalsSchema::fillStatement());
        }
        QCOMPARE(storedCells(), byTriggers);
        {
            SqliteDatabase db(file(), SqliteDatabase::Mode::OpenExisting);
            db.exec(QStringLiteral("DELETE FROM TALO_TOTAUX"));
            TotalsFill::run(db.handle());
        }
        QCOMPARE(storedCells(), byTriggers);

        // The cells of the rows in memory agree with the stored ones: nothing is rebuilt.
        const auto opened = open();
        QVERIFY(!opened->rebuilt);
        CareRegister &rules = *opened->rules;
        QVERIFY(rules.usesStoredTotals());
        QCOMPARE(rules.totals(), rules.sumView());
        QCOMPARE(rules.totals().awaited, awaited);
        QCOMPARE(rules.totals().withheld, withheld);

        Cells byFacts;
        const std::vector<CareFacts> facts = CareViewReader::readAll(*opened->table);
        for (const CareFacts &f : facts) {
            QList<qint64> &sums =
                byFacts[{f.beneficiary, f.date.isValid() ? f.date.year() % 100 : -1}];
            if (sums.isEmpty())
                sums = QList<qint64>(6, 0);
            const qint64 entry[] = {1, f.cost, f.cpam, f.mutual, f.awaited(), f.withheld()};
            for (int i = 0; i < 6; ++i)
                sums[i] += entry[i];
        }
        QCOMPARE(byFacts, byTriggers);

        const FollowUpLines lines = FollowUpLines::readView(*opened->table);
        qint64 linesAwaited = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            QVERIFY(lines.awaited(i) != 0);
            linesAwaited += lines.awaited(i);
        }
        QCOMPARE(linesAwaited, awaited);

        const YearSummary all(YearTotals::readAll(*opened->table), YearSummary::AllYears);
        QCOMPARE(all.total().awaited(), awaited);
        QCOMPARE(all.total().participations + all.total().franchises, withheld);
        qint64 perPersonAndYear = 0;
        for (const YearSummary::Withheld &w : all.withheld())
            perPersonAndYear += w.participations + w.franchises;
        QCOMPARE(perPersonAndYear, withheld);
    }

    // A file whose sums were kept by an earlier version, without what is withheld: they are
    // built again at the next open, with the bar told, and then hold it.
    void earlierSumsAreBuiltAgain()
    {
        exec({Insert +
                  QStringLiteral("('2024-06-03', 'MARIE', 'Généraliste', 30, 30, 19, '2024-06-15', "
                                 "'Faux', 9, NULL, 'Faux', NULL)"),
              QStringLiteral("DROP TABLE TALO_TOTAUX"),
              QStringLiteral("CREATE TABLE \"TALO_TOTAUX\" (Beneficiaire TEXT NOT NULL, Annee "
                             "INTEGER NOT NULL, Nombre INTEGER NOT NULL, Cout INTEGER NOT NULL, "
                             "CPAM INTEGER NOT NULL, Mutuelle INTEGER NOT NULL, Attendu INTEGER "
                             "NOT NULL, PRIMARY KEY (Beneficiaire, Annee)) WITHOUT ROWID"),
              QStringLiteral("INSERT INTO TALO_TOTAUX VALUES ('MARIE', 24, 1, 3000, 1900, 900, "
                             "200)")});
        const auto opened = open();
        QVERIFY(opened->rebuilt);
        QVERIFY(opened->rules->usesStoredTotals());
        QCOMPARE(opened->rules->totals().awaited, qint64(0));
        QCOMPARE(opened->rules->totals().withheld, qint64(200));
        const Cells cells = storedCells();
        QCOMPARE(cells.value({"MARIE", 24}), (QList<qint64>{1, 3000, 1900, 900, 0, 200}));
    }
};

QTEST_MAIN(TestWithheldTotals)
#include "test_withheld_totals.moc"
