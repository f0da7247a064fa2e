#include "register/LabelWords.h"
#include "register/LedgerKey.h"
#include "register/PayerRecognition.h"
#include "register/PaymentHistory.h"
#include "register/PaymentMatcher.h"
#include "register/SharePredictor.h"
#include "register/ShareSplit.h"
#include "register/StatementLedger.h"

#include <QtTest>

#include <optional>

namespace
{

QDate day(const char *iso)
{
    return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

// One entry as a family would have it typed: amounts in cents, dates ISO ("" for none).
struct Care {
    qint64 row;
    const char *date, *beneficiary, *doctor, *speciality;
    qint64 cost, base = 0, cpam = 0;
    const char *cpamDate = "";
    qint64 mutual = 0;
    const char *mutuelleDate = "";
    bool partial = false;
    qint64 estimate = 0;
    bool refused = false;
};

CareFacts facts(const Care &c)
{
    CareFacts f;
    f.row = Bookmark{c.row};
    f.date = day(c.date);
    f.beneficiary = QString::fromUtf8(c.beneficiary);
    f.doctor = QString::fromUtf8(c.doctor);
    f.speciality = QString::fromUtf8(c.speciality);
    f.cost = c.cost;
    f.base = c.base;
    f.cpam = c.cpam;
    f.cpamDate = day(c.cpamDate);
    f.cpamPaid = f.cpamDate.isValid();
    f.mutual = c.mutual;
    f.mutuelleDate = day(c.mutuelleDate);
    f.mutuellePaid = f.mutuelleDate.isValid();
    f.partial = c.partial;
    f.estimate = c.estimate;
    f.cpamRefused = c.refused;
    return f;
}

// A family's register: what was paid before (rows 1-3), and what is still owed.
std::vector<CareFacts> family()
{
    const Care cares[] = {
        // Dr Martin at 70 % less 2 €, the mutuelle the rest less the same 2 €.
        {1, "2025-01-10", "LEO", "MARTIN", "Généraliste", 3000, 3000, 1900, "2025-01-15", 900,
         "2025-01-20"},
        {2, "2025-02-10", "EMMA", "MARTIN", "Généraliste", 3000, 3000, 1900, "2025-02-15", 900,
         "2025-02-20"},
        // The physiotherapist at 60 % less 2 €.
        {3, "2025-03-01", "LEO", "DURAND", "Kinésithérapeute", 1613, 1613, 768, "2025-03-05"},
        // Owed.
        {10, "2025-06-02", "LEO", "MARTIN", "Généraliste", 3000, 3000},
        {11, "2025-06-03", "EMMA", "MARTIN", "Généraliste", 3000, 3000},
        {12, "2025-06-04", "LEO", "DURAND", "Kinésithérapeute", 1613, 1613},
        {13, "2025-06-20", "PAPA", "BLANC", "Dermatologue", 5000, 3000},
        {14, "2024-10-01", "MAMAN", "MARTIN", "Généraliste", 3000, 3000},
        // The C.P.A.M. paid, the mutuelle not yet.
        {15, "2025-05-01", "LEO", "MARTIN", "Généraliste", 3000, 3000, 1900, "2025-05-05"},
    };
    std::vector<CareFacts> entries;
    for (const Care &c : cares)
        entries.push_back(facts(c));
    return entries;
}

QString rowsOf(const ProposedCombination &c)
{
    QStringList rows;
    for (const ProposedShare &s : c.shares)
        rows.append(QString::number(s.entry.row.rowId));
    return rows.join(QLatin1Char(','));
}

QString sharesOf(const ProposedCombination &c)
{
    QStringList shares;
    for (const ProposedShare &s : c.shares)
        shares.append(QString::number(s.share));
    return shares.join(QLatin1Char(','));
}

StatementLine credit(const char *date, qint64 cents, const char *label, const char *id = "")
{
    return StatementLine{day(date), cents, QString::fromUtf8(label), QString::fromUtf8(id), 0};
}

} // namespace

// The matching rules on hand-made registers and statements: which payer a label is, what
// each payer is expected to pay, and which entries a payment is proposed for.
class TestPaymentMatching : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void payerOfLabel_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("payer"); // "" for none
        QTest::newRow("CPAM") << "VIR SEPA CPAM DE PARIS 751234"
                              << "C.P.A.M.";
        QTest::newRow("initials") << "REMBT C.P.A.M. HAUTS DE SEINE"
                                  << "C.P.A.M.";
        QTest::newRow("glued digits") << "CPAM92 REMB SOINS"
                                      << "C.P.A.M.";
        QTest::newRow("caisse primaire") << "VIR CAISSE PRIMAIRE D'ASSURANCE MALADIE"
                                         << "C.P.A.M.";
        QTest::newRow("assurance maladie") << "Assurance Maladie 0625"
                                           << "C.P.A.M.";
        QTest::newRow("ameli") << "AMELI.FR PAIEMENT"
                               << "C.P.A.M.";
        QTest::newRow("mutuelle by name") << "VIR HARMONIE MUTUELLE 2025/06"
                                          << "Mutuelle";
        QTest::newRow("mutuelle glued") << "PRLV HARMONIEMUTUELLE REF 55"
                                        << "Mutuelle";
        QTest::newRow("accents") << "VIR Harmonie Mutuélle"
                                 << "Mutuelle";
        QTest::newRow("learned label") << "VIR SEPA MGEN FILIA 8812 DU 03/06"
                                       << "Mutuelle";
        QTest::newRow("salary") << "VIR SALAIRE JUIN"
                                << "";
        QTest::newRow("word inside another") << "VIR CPAMX DISTRIBUTION"
                                             << "";
        QTest::newRow("caisse alone") << "CAISSE D'EPARGNE INTERETS"
                                      << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void payerOfLabel()
    {
        QFETCH(QString, label);
        const PayerRecognition payers(QStringLiteral("Harmonie Mutuelle"),
                                      {{{"MGEN", "FILIA"}, AwaitedPayer::Mutuelle}});
        const auto payer = payers.payerOf(label);
        QTEST(payer ? AwaitedPayers::text(*payer) : QString(), "payer");
    }

    void mutuelleWithoutName()
    {
        // No name stored: no credit is taken for the mutuelle's.
        const PayerRecognition payers{QString()};
        QVERIFY(!payers.payerOf(QStringLiteral("VIR HARMONIE MUTUELLE")));
        QVERIFY(!payers.payerOf(QStringLiteral("VIR SALAIRE")));
    }

    void distinctiveWords_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("words");
        QTest::newRow("references dropped") << "VIR SEPA MGEN FILIA REF XK3F9 DU 03/06/25"
                                            << "MGEN FILIA";
        QTest::newRow("accents, initials") << "Virement reçu de la S.M.É.R.E.P."
                                           << "SMEREP";
        QTest::newRow("nothing distinctive") << "VIR SEPA 123456"
                                             << "";
    }
    void distinctiveWords()
    {
        QFETCH(QString, label);
        QTEST(LabelWords::distinctive(label).join(QLatin1Char(' ')), "words");
    }

    void prediction_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("payer");
        QTest::addColumn<QString>("values"); // expected first; "" for no prediction
        QTest::addColumn<qint64>("low");
        QTest::addColumn<qint64>("high");
        QTest::addColumn<bool>("firm");
        QTest::addColumn<QString>("source");
        const QString cpam = QStringLiteral("C.P.A.M."), mutuelle = QStringLiteral("Mutuelle");
        // Dr Martin: 70 % of 30 € less 2 €, as paid twice before.
        QTest::newRow("base, rate seen")
            << 10 << cpam << "1900,2100" << qint64(1900) << qint64(2100) << true << "base et taux";
        QTest::newRow("base, rate of speciality seen")
            << 12 << cpam << "768,968" << qint64(768) << qint64(968) << true << "base et taux";
        // Nobody paid for a dermatologist yet: the usual rates, 70 % then 60 %.
        QTest::newRow("base, rate unknown") << 13 << cpam << "1900,2100,1600,1800" << qint64(1600)
                                            << qint64(2100) << false << "base et taux";
        QTest::newRow("paid already") << 1 << cpam << "" << qint64(0) << qint64(0) << false << "";
        // The mutuelle: what it paid before for the same doctor and cost.
        QTest::newRow("mutuelle, same doctor") << 15 << mutuelle << "900" << qint64(900)
                                               << qint64(900) << true << "même médecin, même coût";
        // The rest of the cost less the 2 € the C.P.A.M. withholds (predicted for it here).
        QTest::newRow("mutuelle, rest of cost")
            << 12 << mutuelle << "645,845" << qint64(645) << qint64(845) << true << "reste du coût";
    }
    void prediction()
    {
        QFETCH(int, row);
        QFETCH(QString, payer);
        QFETCH(QString, values);
        const std::vector<CareFacts> entries = family();
        const PaymentHistory history(entries);
        const SharePredictor predictor(history);
        const CareFacts &entry = *std::find_if(
            entries.begin(), entries.end(), [&](const CareFacts &e) { return e.row.rowId == row; });
        const auto p =
            predictor.predict(entry, payer == QLatin1String("C.P.A.M.") ? AwaitedPayer::Cpam
                                                                        : AwaitedPayer::Mutuelle);
        if (values.isEmpty()) {
            QVERIFY(!p);
            return;
        }
        QVERIFY(p);
        QStringList got;
        for (qint64 v : p->values)
            got.append(QString::number(v));
        QCOMPARE(got.join(QLatin1Char(',')), values);
        QCOMPARE(p->expected, p->values.front());
        QTEST(p->low, "low");
        QTEST(p->high, "high");
        QTEST(p->firm, "firm");
        QTEST(SharePrediction::sourceText(p->source), "source");
    }

    void predictionFromEntry_data()
    {
        QTest::addColumn<int>("payer"); // 0 C.P.A.M., 1 mutuelle
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("values");
        QTest::addColumn<QString>("source");
        // cost, base, cpam, cpam paid, mutual, partial, estimate, refused
        QTest::newRow("amount typed without date") << 0 << "3000,3000,1500,0,0,0,0,0"
                                                   << "1500"
                                                   << "montant saisi";
        QTest::newRow("not reimbursed by the C.P.A.M.") << 0 << "3000,3000,0,0,0,0,0,1"
                                                        << ""
                                                        << "";
        QTest::newRow("partial with estimate") << 1 << "10000,0,5000,1,0,1,7000,0"
                                               << "2000"
                                               << "estimation";
        QTest::newRow("partial without estimate") << 1 << "10000,0,5000,1,0,1,0,0"
                                                  << ""
                                                  << "";
        QTest::newRow("mutuelle alone") << 1 << "4000,0,0,0,0,0,0,1"
                                        << "4000"
                                        << "reste du coût";
        QTest::newRow("cost only") << 0 << "5000,0,0,0,0,0,0,0"
                                   << "3300,3500,2800,3000"
                                   << "estimé sur le coût";
        QTest::newRow("nothing left to pay") << 1 << "3000,0,3000,1,0,0,0,0"
                                             << ""
                                             << "";
    }
    void predictionFromEntry()
    {
        QFETCH(int, payer);
        QFETCH(QString, entry);
        QFETCH(QString, values);
        const QStringList f = entry.split(QLatin1Char(','));
        CareFacts e;
        e.row = Bookmark{1};
        e.date = day("2025-06-01");
        e.beneficiary = QStringLiteral("ANNE");
        e.cost = f[0].toLongLong();
        e.base = f[1].toLongLong();
        e.cpam = f[2].toLongLong();
        e.cpamPaid = f[3] == QLatin1String("1");
        e.cpamDate = e.cpamPaid ? day("2025-06-05") : QDate();
        e.mutual = f[4].toLongLong();
        e.partial = f[5] == QLatin1String("1");
        e.estimate = f[6].toLongLong();
        e.cpamRefused = f[7] == QLatin1String("1");
        const PaymentHistory history({});
        const auto p = SharePredictor(history).predict(e, payer == 0 ? AwaitedPayer::Cpam
                                                                     : AwaitedPayer::Mutuelle);
        QStringList got;
        if (p) {
            for (qint64 v : p->values)
                got.append(QString::number(v));
        }
        QCOMPARE(got.join(QLatin1Char(',')), values);
        if (p)
            QTEST(SharePrediction::sourceText(p->source), "source");
    }

    void rateOfPayment_data()
    {
        QTest::addColumn<qint64>("base");
        QTest::addColumn<qint64>("paid");
        QTest::addColumn<int>("percent"); // 0 for none
        QTest::addColumn<qint64>("withheld");
        QTest::newRow("70 % less 2 €") << qint64(3000) << qint64(1900) << 70 << qint64(200);
        QTest::newRow("70 %") << qint64(3000) << qint64(2100) << 70 << qint64(0);
        QTest::newRow("60 % less 1 €") << qint64(1613) << qint64(868) << 60 << qint64(100);
        QTest::newRow("100 %") << qint64(2500) << qint64(2500) << 100 << qint64(0);
        QTest::newRow("rounded cent") << qint64(1613) << qint64(1130) << 70 << qint64(0);
        QTest::newRow("no usual rate") << qint64(3000) << qint64(1234) << 0 << qint64(0);
    }
    void rateOfPayment()
    {
        QFETCH(qint64, base);
        QFETCH(qint64, paid);
        QFETCH(int, percent);
        const auto rate = PaymentHistory::rateOf(base, paid);
        QCOMPARE(rate.has_value(), percent != 0);
        if (rate) {
            QCOMPARE(rate->percent, percent);
            QTEST(rate->withheld, "withheld");
        }
    }

    void onePayment_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("rows");   // of the first proposal, "" for none
        QTest::addColumn<QString>("shares"); // idem
        QTest::addColumn<QString>("confidence");
        // Two consultations of two children at 70 % less 2 €, paid together.
        QTest::newRow("two children in one transfer")
            << "2025-06-10" << qint64(3800) << "CPAM PARIS"
            << "10,11"
            << "1900,1900"
            << "sûr";
        QTest::newRow("three entries") << "2025-06-10" << qint64(4568) << "CPAM PARIS"
                                       << "10,11,12"
                                       << "1900,1900,768"
                                       << "sûr";
        QTest::newRow("only one could be paid yet") << "2025-06-02" << qint64(1900) << "CPAM PARIS"
                                                    << "10"
                                                    << "1900"
                                                    << "sûr";
        // Either consultation: the older first, and the person told it is not sure.
        QTest::newRow("two alike, the older") << "2025-06-10" << qint64(1900) << "CPAM PARIS"
                                              << "10"
                                              << "1900"
                                              << "probable";
        QTest::newRow("mixed, the older") << "2025-06-10" << qint64(2668) << "CPAM PARIS"
                                          << "10,12"
                                          << "1900,768"
                                          << "probable";
        // Nothing withheld: another likely amount of the same entry.
        QTest::newRow("participation not withheld") << "2025-06-10" << qint64(2100) << "CPAM PARIS"
                                                    << "10"
                                                    << "2100"
                                                    << "probable";
        // Within the range but on no likely amount.
        QTest::newRow("approximate") << "2025-06-10" << qint64(2000) << "CPAM PARIS"
                                     << "10"
                                     << "2000"
                                     << "à vérifier";
        QTest::newRow("nothing fits") << "2025-06-10" << qint64(50000) << "CPAM PARIS"
                                      << ""
                                      << ""
                                      << "";
        // Row 14 (October) is the oldest owed, but beyond 180 days.
        QTest::newRow("old care out of the window") << "2025-06-25" << qint64(1900) << "CPAM PARIS"
                                                    << "10"
                                                    << "1900"
                                                    << "probable";
        QTest::newRow("mutuelle, oldest owed") << "2025-06-10" << qint64(900) << "HARMONIE MUTUELLE"
                                               << "15"
                                               << "900"
                                               << "probable";
        QTest::newRow("care after the payment is not looked at")
            << "2025-06-05" << qint64(6000) << "CPAM PARIS"
            << ""
            << ""
            << "";
    }
    void onePayment()
    {
        QFETCH(QString, date);
        QFETCH(qint64, cents);
        QFETCH(QString, label);
        QFETCH(QString, rows);
        const PaymentMatcher matcher(family());
        const MatchResult result =
            matcher.match({credit(date.toLatin1().constData(), cents, label.toUtf8().constData())},
                          PayerRecognition(QStringLiteral("Harmonie Mutuelle")), StatementLedger());
        QCOMPARE(result.payments.size(), size_t(1));
        const PaymentProposal &p = result.payments.front();
        if (rows.isEmpty()) {
            QVERIFY(!p.matched());
            return;
        }
        QVERIFY(p.matched());
        const ProposedCombination &best = p.combinations.front();
        QCOMPARE(rowsOf(best), rows);
        QTEST(sharesOf(best), "shares");
        QTEST(ProposedCombination::confidenceText(best.confidence), "confidence");
        // Whatever the fit, the shares make the payment.
        for (const ProposedCombination &c : p.combinations)
            QCOMPARE(c.sharesTotal(), cents);
    }

    void severalFitsAreShown()
    {
        const PaymentMatcher matcher(family());
        const MatchResult result = matcher.match({credit("2025-06-10", 1900, "CPAM")},
                                                 PayerRecognition(QString()), StatementLedger());
        const PaymentProposal &p = result.payments.front();
        QVERIFY(p.combinations.size() >= 2);
        QCOMPARE(rowsOf(p.combinations[0]), QStringLiteral("10"));
        QCOMPARE(rowsOf(p.combinations[1]), QStringLiteral("11"));
    }

    void statementSorted()
    {
        // The surest payment chooses first: the 38 € takes both consultations, so the 19 €
        // paid earlier is left unmatched rather than taking one of them.
        const PaymentMatcher matcher(family());
        const MatchResult result = matcher.match(
            {credit("2025-06-10", 1900, "CPAM"), credit("2025-06-12", -1250, "CB PHARMACIE"),
             credit("2025-06-12", 3800, "CPAM"), credit("2025-06-12", 250000, "VIR SALAIRE"),
             credit("2025-06-13", 900, "VIR HARMONIE MUTUELLE")},
            PayerRecognition(QStringLiteral("Harmonie Mutuelle")), StatementLedger());
        QCOMPARE(result.debits, 1);
        QCOMPARE(result.otherCredits.size(), size_t(1));
        QCOMPARE(result.otherCredits.front().cents, 250000);
        QCOMPARE(result.payments.size(), size_t(3));
        QVERIFY(!result.payments[0].matched());
        QCOMPARE(rowsOf(result.payments[1].combinations.front()), QStringLiteral("10,11"));
        // The same entries may be owed to the mutuelle too: it is another payer.
        QCOMPARE(result.payments[2].payer, AwaitedPayer::Mutuelle);
        QCOMPARE(rowsOf(result.payments[2].combinations.front()), QStringLiteral("15"));
    }

    void twoEqualPaymentsTakeTwoEntries()
    {
        const PaymentMatcher matcher(family());
        const MatchResult result =
            matcher.match({credit("2025-06-10", 1900, "CPAM"), credit("2025-06-10", 1900, "CPAM")},
                          PayerRecognition(QString()), StatementLedger());
        QCOMPARE(rowsOf(result.payments[0].combinations.front()), QStringLiteral("10"));
        QCOMPARE(rowsOf(result.payments[1].combinations.front()), QStringLiteral("11"));
        QCOMPARE(result.payments[0].key.occurrence, 1);
        QCOMPARE(result.payments[1].key.occurrence, 2);
    }

    void byHand()
    {
        const PaymentMatcher matcher(family());
        const PaymentProposal p =
            matcher.propose(credit("2025-06-10", 2500, "CPAM"), LedgerKey(), AwaitedPayer::Cpam);
        // Newest first, nothing cared for after the payment.
        const std::vector<ProposedShare> pickable = matcher.pickable(p);
        QCOMPARE(pickable.front().entry.row.rowId, 12);
        QVERIFY(std::none_of(pickable.begin(), pickable.end(),
                             [](const ProposedShare &s) { return s.entry.row.rowId == 13; }));
        const ProposedCombination c = matcher.byHand(p, {10, 12});
        QCOMPARE(c.sharesTotal(), 2500);
        QCOMPARE(ProposedCombination::confidenceText(c.confidence), QStringLiteral("à vérifier"));
    }

    void spread_data()
    {
        QTest::addColumn<qint64>("payment");
        QTest::addColumn<QString>("predictions"); // expected/low/high;...
        QTest::addColumn<QString>("shares");
        QTest::newRow("exact") << qint64(3800) << "1900/1900/2100;1900/1900/2100"
                               << "1900,1900";
        QTest::newRow("room shared") << qint64(4000) << "1900/1900/2100;1900/1900/2100"
                                     << "2000,2000";
        QTest::newRow("odd cent") << qint64(3801) << "1900/1900/2100;1900/1900/2100"
                                  << "1901,1900";
        QTest::newRow("only one has room") << qint64(2900) << "1900/1900/2100;900/900/900"
                                           << "2000,900";
        // Beyond the ranges: the ranges used up, the rest in proportion to the amounts.
        QTest::newRow("above every range") << qint64(4000) << "1900/1900/2100;900/900/900"
                                           << "2800,1200";
        QTest::newRow("below every range") << qint64(1000) << "1900/1600/2100;900/900/900"
                                           << "640,360";
    }
    void spread()
    {
        QFETCH(qint64, payment);
        QFETCH(QString, predictions);
        std::vector<SharePrediction> ps;
        for (const QString &p : predictions.split(QLatin1Char(';'))) {
            const QStringList v = p.split(QLatin1Char('/'));
            SharePrediction s;
            s.expected = v[0].toLongLong();
            s.low = v[1].toLongLong();
            s.high = v[2].toLongLong();
            ps.push_back(s);
        }
        QStringList got;
        for (qint64 s : ShareSplit::spread(payment, ps))
            got.append(QString::number(s));
        QTEST(got.join(QLatin1Char(',')), "shares");
    }

    void rebalanceKeepsTheTotal()
    {
        const std::vector<qint64> shares = ShareSplit::rebalance(3800, {2500, 1900, 1900}, 0);
        QCOMPARE(shares[0], 2500);
        QCOMPARE(shares[1] + shares[2], 1300);
        QCOMPARE(shares[1], 650);
    }

    void searchIsBounded()
    {
        // Hundreds of alike entries and a payment no few of them make: the search stops at its
        // budget instead of trying every combination.
        std::vector<CareFacts> entries;
        for (int i = 0; i < 400; ++i) {
            CareFacts e = facts({100 + i, "2025-06-01", "LEO", "", "", 2300 + i});
            e.date = e.date.addDays(i % 150);
            entries.push_back(e);
        }
        MatchOptions options;
        options.searchBudget = 5000;
        const PaymentMatcher matcher(entries, options);
        const PaymentProposal p =
            matcher.propose(credit("2025-11-30", 9999999, "CPAM"), LedgerKey(), AwaitedPayer::Cpam);
        QVERIFY(!p.matched());
    }
};

QTEST_GUILESS_MAIN(TestPaymentMatching)
#include "test_payment_matching.moc"
