#include "platform/store/SqliteDatabase.h"
#include "platform/store/SqliteStatement.h"
#include "tables/CareAct.h"
#include "tables/CpamRules.h"
#include "tables/CpamRulesSql.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(CareAct)

// The withholdings as the law fixes them, and their SQL reading, which must give the same cents.
class TestCpamRules : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<SqliteDatabase> db_;

    std::unique_ptr<SqliteStatement> withheld_;

    qint64 sqlWithheld(const CpamRules::WrittenShare &w, bool written)
    {
        SqliteStatement &st = *withheld_;
        st.reset();
        if (w.care.isValid())
            st.bindText(1, w.care.toString(Qt::ISODate));
        else
            st.bindNull(1);
        st.bindInt(2, int(w.act));
        const qint64 values[] = {w.base, w.cost, w.paid, w.room, written ? 1 : 0};
        for (int i = 0; i < 5; ++i)
            st.bindInt(3 + i, values[i]);
        if (!st.step())
            return -1;
        return st.int64(1);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        db_ = std::make_unique<SqliteDatabase>(dir_.filePath(QStringLiteral("r.db")),
                                               SqliteDatabase::Mode::Create);
        const QString source = QStringLiteral(
            "SELECT 1 AS k, ?1 AS care, ?2 AS act, ?3 AS base, ?4 AS cost, ?5 AS paid, ?6 AS "
            "room, ?7 AS written");
        withheld_ = std::make_unique<SqliteStatement>(
            db_->handle(), CpamRulesSql::withheldIn(source, QStringLiteral("k")));
    }
    void cleanupTestCase()
    {
        withheld_.reset();
        db_.reset();
    }

    void actOfSpeciality_data()
    {
        QTest::addColumn<QString>("speciality");
        QTest::addColumn<CareAct>("act");
        const std::pair<const char *, CareAct> rows[] = {
            {"Généraliste", CareAct::Consultation},
            {"", CareAct::Consultation},
            {"Radiologie", CareAct::Consultation},
            {"Laboratoire", CareAct::Consultation},
            {"Pharmacie", CareAct::Medicine},
            {"PHARMACIE", CareAct::Medicine},
            {"Kiné", CareAct::Paramedical},
            {"Kinésithérapeute", CareAct::Paramedical},
            {"INFIRMIÈRE", CareAct::Paramedical},
            {"Orthophoniste", CareAct::Paramedical},
            {"Orthoptiste", CareAct::Paramedical},
            {"Pédicure-podologue", CareAct::Paramedical},
            {"Ambulance", CareAct::Transport},
            {"Taxi conventionné", CareAct::Transport},
            {"VSL", CareAct::Transport},
        };
        for (const auto &[text, act] : rows)
            QTest::newRow(text[0] ? text : "vide") << QString::fromUtf8(text) << act;
    }
    void actOfSpeciality()
    {
        QFETCH(QString, speciality);
        QFETCH(CareAct, act);
        QCOMPARE(CareActs::of(speciality), act);
        SqliteStatement st(db_->handle(),
                           QStringLiteral("SELECT %1").arg(CareActs::sqlOf(QStringLiteral("?1"))));
        st.bindText(1, speciality);
        QVERIFY(st.step());
        QCOMPARE(st.int64(0), qint64(act));
    }

    // The units on both sides of each change of the law, in C++ and in SQL.
    void unitByDate_data()
    {
        QTest::addColumn<CareAct>("act");
        QTest::addColumn<QDate>("care");
        QTest::addColumn<qint64>("cents");
        const auto c = CareAct::Consultation, p = CareAct::Paramedical, m = CareAct::Medicine,
                   t = CareAct::Transport;
        QTest::newRow("consultation 2004") << c << QDate(2004, 12, 31) << qint64(0);
        QTest::newRow("consultation 2005") << c << QDate(2005, 1, 1) << qint64(100);
        QTest::newRow("consultation 14/05/24") << c << QDate(2024, 5, 14) << qint64(100);
        QTest::newRow("consultation 15/05/24") << c << QDate(2024, 5, 15) << qint64(200);
        QTest::newRow("consultation sans date") << c << QDate() << qint64(0);
        QTest::newRow("boîte 2007") << m << QDate(2007, 12, 31) << qint64(0);
        QTest::newRow("boîte 2008") << m << QDate(2008, 1, 1) << qint64(50);
        QTest::newRow("boîte 30/03/24") << m << QDate(2024, 3, 30) << qint64(50);
        QTest::newRow("boîte 31/03/24") << m << QDate(2024, 3, 31) << qint64(100);
        QTest::newRow("kiné 30/03/24") << p << QDate(2024, 3, 30) << qint64(50);
        QTest::newRow("kiné 31/03/24") << p << QDate(2024, 3, 31) << qint64(100);
        QTest::newRow("transport 2007") << t << QDate(2007, 6, 1) << qint64(0);
        QTest::newRow("transport 30/03/24") << t << QDate(2024, 3, 30) << qint64(200);
        QTest::newRow("transport 31/03/24") << t << QDate(2024, 3, 31) << qint64(400);
    }
    void unitByDate()
    {
        QFETCH(CareAct, act);
        QFETCH(QDate, care);
        QFETCH(qint64, cents);
        QCOMPARE(CpamRules::unit(act, care), cents);
        SqliteStatement st(db_->handle(), QStringLiteral("SELECT %1")
                                              .arg(CpamRulesSql::unit(QStringLiteral("?1"),
                                                                      QStringLiteral("?2"))));
        st.bindInt(1, int(act));
        if (care.isValid())
            st.bindText(2, care.toString(Qt::ISODate));
        else
            st.bindNull(2);
        QVERIFY(st.step());
        QCOMPARE(st.int64(0), cents);
    }

    void dailyLimits()
    {
        const QDate june24(2024, 6, 1);
        QCOMPARE(CpamRules::mostPerEntry(CareAct::Consultation, june24), qint64(800));
        QCOMPARE(CpamRules::mostPerEntry(CareAct::Paramedical, june24), qint64(400));
        QCOMPARE(CpamRules::mostPerEntry(CareAct::Transport, june24), qint64(800));
        QCOMPARE(CpamRules::mostPerEntry(CareAct::Medicine, june24), CpamRules::YearlyCap);
        QCOMPARE(CpamRules::YearlyCap, qint64(5000));
    }

    // Amounts in cents; room is what the entry showed as awaited.
    void withheldInShare_data()
    {
        QTest::addColumn<CareAct>("act");
        QTest::addColumn<QDate>("care");
        QTest::addColumn<qint64>("base");
        QTest::addColumn<qint64>("cost");
        QTest::addColumn<qint64>("paid");
        QTest::addColumn<qint64>("room");
        QTest::addColumn<qint64>("withheld");
        const auto c = CareAct::Consultation, m = CareAct::Medicine, t = CareAct::Transport,
                   p = CareAct::Paramedical;
        const QDate june24(2024, 6, 1), april24(2024, 4, 2), may24(2024, 5, 14);
        // 70 % of 30 € is 21 €, less the participation.
        QTest::newRow("2 € depuis le 15 mai 2024") << c << june24 << qint64(3000) << qint64(3000)
                                                   << qint64(1900) << qint64(1100) << qint64(200);
        QTest::newRow("1 € avant") << c << may24 << qint64(3000) << qint64(3000) << qint64(2000)
                                   << qint64(1000) << qint64(100);
        QTest::newRow("rien avant 2005") << c << QDate(2004, 6, 1) << qint64(3000) << qint64(3000)
                                         << qint64(2000) << qint64(1000) << qint64(0);
        QTest::newRow("base tapée plutôt que coût") << c << june24 << qint64(2500) << qint64(5000)
                                                    << qint64(1550) << qint64(3450) << qint64(200);
        QTest::newRow("taux exact : rien retenu") << c << june24 << qint64(1000) << qint64(1000)
                                                  << qint64(700) << qint64(300) << qint64(0);
        QTest::newRow("le plus petit nombre d'unités")
            << c << june24 << qint64(2000) << qint64(2000) << qint64(1000) << qint64(1000)
            << qint64(200);
        QTest::newRow("plus de 4 par jour") << c << june24 << qint64(3000) << qint64(3000)
                                            << qint64(1100) << qint64(1900) << qint64(0);
        // 65 % of 12,34 € is 8,02 €: three boxes.
        QTest::newRow("3 boîtes à 1 €") << m << april24 << qint64(0) << qint64(1234) << qint64(502)
                                        << qint64(732) << qint64(300);
        QTest::newRow("3 boîtes à 0,50 €") << m << QDate(2024, 3, 30) << qint64(0) << qint64(1234)
                                           << qint64(652) << qint64(582) << qint64(150);
        QTest::newRow("boîtes avant 2008") << m << QDate(2007, 3, 30) << qint64(0) << qint64(1234)
                                           << qint64(652) << qint64(582) << qint64(0);
        QTest::newRow("boîtes au-delà du plafond") << m << april24 << qint64(0) << qint64(20000)
                                                   << qint64(6900) << qint64(13100) << qint64(0);
        QTest::newRow("kiné 4 actes") << p << april24 << qint64(0) << qint64(2000) << qint64(800)
                                      << qint64(1200) << qint64(400);
        QTest::newRow("2 transports à 4 €") << t << april24 << qint64(10000) << qint64(10000)
                                            << qint64(5700) << qint64(4300) << qint64(800);
        QTest::newRow("transport à 2 € avant")
            << t << QDate(2023, 1, 5) << qint64(10000) << qint64(10000) << qint64(6300)
            << qint64(3700) << qint64(200);
        QTest::newRow("pas plus que l'attendu") << c << june24 << qint64(3000) << qint64(3000)
                                                << qint64(1900) << qint64(150) << qint64(150);
        QTest::newRow("rien d'attendu") << c << june24 << qint64(3000) << qint64(3000)
                                        << qint64(1900) << qint64(0) << qint64(0);
        QTest::newRow("rien payé") << c << june24 << qint64(3000) << qint64(3000) << qint64(0)
                                   << qint64(3000) << qint64(0);
        QTest::newRow("coût négatif") << c << june24 << qint64(0) << qint64(-3000) << qint64(1900)
                                      << qint64(100) << qint64(0);
        QTest::newRow("sans date") << c << QDate() << qint64(3000) << qint64(3000) << qint64(1900)
                                   << qint64(1100) << qint64(0);
        QTest::newRow("base démesurée") << c << june24 << CpamRules::LargestBase + 1 << qint64(0)
                                        << CpamRules::atRate(CpamRules::LargestBase + 1, 100) - 200
                                        << qint64(1000) << qint64(0);
        QTest::newRow("grande base")
            << c << june24 << CpamRules::LargestBase << qint64(0)
            << CpamRules::atRate(CpamRules::LargestBase, 100) - 200 << qint64(1000) << qint64(200);
    }
    void withheldInShare()
    {
        QFETCH(CareAct, act);
        QFETCH(QDate, care);
        QFETCH(qint64, base);
        QFETCH(qint64, cost);
        QFETCH(qint64, paid);
        QFETCH(qint64, room);
        QFETCH(qint64, withheld);
        const CpamRules::WrittenShare share{care, act, base, cost, paid, room};
        QCOMPARE(CpamRules::withheldIn(share), withheld);
        QCOMPARE(sqlWithheld(share, true), withheld);
        QCOMPARE(sqlWithheld(share, false), qint64(0));
    }

    // Shares written at the usual rates less a few units, around the changes of the law.
    void sqlAgreesOnManyShares()
    {
        QRandomGenerator random(29);
        const QDate days[] = {QDate(2004, 12, 31), QDate(2005, 1, 1),  QDate(2007, 12, 31),
                              QDate(2008, 1, 1),   QDate(2024, 3, 30), QDate(2024, 3, 31),
                              QDate(2024, 5, 14),  QDate(2024, 5, 15), QDate()};
        const auto rates = CpamRules::usualRates();
        int nonZero = 0;
        for (int i = 0; i < 3000; ++i) {
            CpamRules::WrittenShare w;
            w.care = days[random.bounded(int(std::size(days)))];
            w.act = CareAct(random.bounded(4));
            w.cost = random.bounded(-500, 40000);
            w.base = random.bounded(3) == 0 ? 0 : random.bounded(-100, 40000);
            const qint64 base = w.base > 0 ? w.base : w.cost;
            const int rate = rates[size_t(random.bounded(int(rates.size())))];
            w.paid = CpamRules::atRate(base, rate) -
                     random.bounded(6) * CpamRules::unit(w.act, w.care) - random.bounded(2);
            w.room = random.bounded(-100, 2000);
            const qint64 expected = CpamRules::withheldIn(w);
            nonZero += expected != 0;
            QCOMPARE(sqlWithheld(w, true), expected);
        }
        QVERIFY(nonZero > 300);
    }
};

QTEST_GUILESS_MAIN(TestCpamRules)
#include "test_cpam_rules.moc"
