#include "platform/core/PlatformError.h"
#include "platform/core/Today.h"
#include "platform/store/SqliteDatabase.h"
#include "platform/store/SqliteStatement.h"
#include "platform/store/Table.h"
#include "platform/store/TableStorage.h"
#include "register/CareRegister.h"
#include "register/CareViewReader.h"
#include "register/PayerRecognition.h"
#include "register/PaymentMatcher.h"
#include "register/PlainSelectors.h"
#include "register/ReimbursementApplier.h"
#include "register/StatementLedger.h"
#include "tables/CareEntryTable.h"
#include "tables/TotalsSchema.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace CareFields;

namespace
{

StatementLine line(const char *date, qint64 cents, const char *label, const char *id = "")
{
    return StatementLine{QDate::fromString(QString::fromLatin1(date), Qt::ISODate), cents,
                         QString::fromUtf8(label), QString::fromUtf8(id), 0};
}

ConfirmedPayment payment(const StatementLine &l, AwaitedPayer payer,
                         std::vector<ConfirmedPayment::Share> shares)
{
    ConfirmedPayment p;
    p.line = l;
    p.key = LedgerKey::of({l}).front();
    p.payer = payer;
    p.shares = std::move(shares);
    return p;
}

const QDateTime appliedAt(QDate(2025, 6, 20), QTime(10, 0), Qt::UTC);

} // namespace

// Confirmed payments written into a real TALO.DB through the register's rules, all or nothing,
// and the ledger that keeps a statement line from being applied twice.
class TestReimbursementApply : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<Table> table_;
    std::unique_ptr<PlainSelectors> selectors_;
    std::unique_ptr<CareRegister> register_;
    qint64 leo_ = 0, emma_ = 0, paid_ = 0;

    QString path() const { return dir_.filePath(QStringLiteral("TALO.DB")); }

    qint64 add(const QString &date, const QString &name, const QString &cost, const QString &base,
               const QString &cpam = QString(), const QString &cpamDate = QString())
    {
        Table &t = *table_;
        t.append();
        t.fieldByName(DateSoins).setAsString(date);
        t.fieldByName(Beneficiaire).setAsString(name);
        t.fieldByName(Medecin).setAsString(QStringLiteral("MARTIN"));
        t.fieldByName(Cout).setAsString(cost);
        t.fieldByName(Base).setAsString(base);
        t.fieldByName(MontantCPAM).setAsString(cpam);
        t.fieldByName(DateCPAM).setAsString(cpamDate);
        t.post();
        return t.bookmark().rowId;
    }

    // Everything the apply may change, as the file holds it.
    QStringList fileState() const
    {
        SqliteDatabase db(path(), SqliteDatabase::Mode::OpenExisting);
        QStringList state;
        SqliteStatement rows(db.handle(),
                             QStringLiteral("SELECT Numero, \"Date CPAM\", \"Montant CPAM\", "
                                            "\"Date mutuelle\", \"Montant mutuelle\" FROM TALO "
                                            "ORDER BY Numero"));
        while (rows.step())
            state.append(
                QStringLiteral("%1|%2|%3|%4|%5")
                    .arg(rows.text(0), rows.text(1), rows.text(2), rows.text(3), rows.text(4)));
        SqliteStatement sums(db.handle(), TotalsSchema::cellsQuery());
        while (sums.step())
            state.append(
                QStringLiteral("%1|%2|%3|%4|%5")
                    .arg(sums.text(0), sums.text(1), sums.text(3), sums.text(4), sums.text(6)));
        for (const QString &table : {StatementLedger::LinesTable, StatementLedger::LabelsTable}) {
            if (!db.hasTable(table))
                continue;
            SqliteStatement st(db.handle(),
                               QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table));
            st.step();
            state.append(table + QStringLiteral(": ") + st.text(0));
        }
        return state;
    }

    // The same, as the table in memory and the totals shown hold it.
    QStringList memoryState() const
    {
        QStringList state;
        for (const CareFacts &f : CareViewReader::readAll(*table_))
            state.append(QStringLiteral("%1|%2|%3|%4|%5")
                             .arg(f.row.rowId)
                             .arg(f.cpamDate.toString(Qt::ISODate))
                             .arg(f.cpam)
                             .arg(f.mutuelleDate.toString(Qt::ISODate))
                             .arg(f.mutual));
        const RegisterTotals &t = register_->totals();
        state.append(QStringLiteral("totals %1 %2 %3 %4")
                         .arg(t.cost)
                         .arg(t.cpam)
                         .arg(t.mutual)
                         .arg(t.awaited));
        state.append(QStringLiteral("current %1, %2")
                         .arg(table_->bookmark().rowId)
                         .arg(int(table_->state())));
        return state;
    }

    // Two consultations awaiting the C.P.A.M., one awaiting the mutuelle.
    std::vector<ConfirmedPayment> statement() const
    {
        return {payment(line("2025-06-10", 3800, "VIR CPAM PARIS"), AwaitedPayer::Cpam,
                        {{leo_, 1900}, {emma_, 1900}}),
                payment(line("2025-06-12", 900, "VIR HARMONIE MUTUELLE", "FIT-9"),
                        AwaitedPayer::Mutuelle, {{paid_, 900}})};
    }

private Q_SLOTS:
    void init()
    {
        Today::pinForTesting(QDate(2025, 6, 20));
        QFile::remove(path());
        TableStorage::createFile(path(), CareEntryTable::definition());
        table_ = std::make_unique<Table>(CareEntryTable::definition());
        table_->setDatabaseName(dir_.path());
        table_->setIndexFieldNames(CareEntryTable::indexFieldNames());
        selectors_ = std::make_unique<PlainSelectors>();
        register_ = std::make_unique<CareRegister>(*table_, *selectors_);
        table_->open();
        leo_ = add("02/06/25", "LEO", "30", "30");
        emma_ = add("03/06/25", "EMMA", "30", "30");
        paid_ = add("01/05/25", "LEO", "30", "30", "19", "05/05/25");
    }
    void cleanup()
    {
        register_.reset();
        table_.reset();
    }

    void writesThroughTheRules()
    {
        ReimbursementApplier(*register_).apply(statement(), appliedAt);
        Table &t = *table_;
        QVERIFY(t.gotoBookmark(Bookmark{leo_}));
        QCOMPARE(t.fieldByName(DateCPAM).asDate(), QDate(2025, 6, 10));
        QCOMPARE(t.fieldByName(MontantCPAM).asCents(), 1900);
        // The calculated rate and gap follow, as when typed.
        QCOMPARE(t.fieldByName(PourcentageCPAM).displayText(), QStringLiteral("63%"));
        QCOMPARE(t.fieldByName(Balance).asCents(), 1100);
        QVERIFY(t.gotoBookmark(Bookmark{paid_}));
        QCOMPARE(t.fieldByName(DateMutuelle).asDate(), QDate(2025, 6, 12));
        QCOMPARE(t.fieldByName(MontantMutuelle).asCents(), 900);
        // Totals: 90 € of cost, 19 + 38 € from the C.P.A.M., 9 € from the mutuelle; the 2 €
        // withheld from each of the three C.P.A.M. shares are the family's, not awaited.
        QCOMPARE(register_->totals().cpam, 5700);
        QCOMPARE(register_->totals().mutual, 900);
        QCOMPARE(register_->totals().awaited, 9000 - 6600 - 3 * 200);
        QCOMPARE(register_->totals().withheld, 3 * 200);
        // On disk, and the stored sums agree with a walk of the rows.
        QVERIFY(fileState().contains(QStringLiteral("%1|2025-06-10|19.0||").arg(leo_)));
        QCOMPARE(register_->sumView(), register_->totals());
        // The ledger knows both lines; a new import shows them as done.
        const StatementLedger ledger = StatementLedger::read(path());
        const PaymentMatcher matcher(CareViewReader::readAll(t));
        const MatchResult again =
            matcher.match({line("2025-06-10", 3800, "VIR CPAM PARIS"),
                           line("2025-06-12", 900, "VIR HARMONIE MUTUELLE", "FIT-9")},
                          PayerRecognition(QStringLiteral("Harmonie Mutuelle")), ledger);
        QCOMPARE(again.payments.size(), size_t(2));
        for (const PaymentProposal &p : again.payments) {
            QVERIFY(p.alreadyApplied);
            QCOMPARE(p.appliedAt, appliedAt);
            QVERIFY(!p.matched());
        }
    }

    void stoppedAtEveryStep_data()
    {
        QTest::addColumn<int>("step");
        // Posts of the two C.P.A.M. shares, its ledger line, the mutuelle's post and line.
        for (int step = 1; step <= 5; ++step)
            QTest::addRow("after step %d", step) << step;
    }
    void stoppedAtEveryStep()
    {
        QFETCH(int, step);
        const QStringList file = fileState(), memory = memoryState();
        ReimbursementApplier applier(*register_);
        int reached = 0;
        applier.afterStep = [&](int n) {
            reached = n;
            if (n == step)
                throw std::runtime_error("power cut");
        };
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, applier.apply(statement(), appliedAt));
        QCOMPARE(reached, step);
        QCOMPARE(fileState(), file);
        QCOMPARE(memoryState(), memory);
        // Nothing half-done stands in the way: the same confirmation goes through now.
        applier.afterStep = nullptr;
        applier.apply(statement(), appliedAt);
        QCOMPARE(register_->totals().mutual, 900);
        QVERIFY(StatementLedger::read(path()).appliedAt(statement().back().key));
    }

    void ledgerWriteFails()
    {
        {
            SqliteDatabase db(path(), SqliteDatabase::Mode::OpenExisting);
            StatementLedger::ensureTables(db);
            db.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON TALO_RELEVES BEGIN "
                                   "SELECT RAISE(ABORT, 'disque plein'); END"));
        }
        const QStringList file = fileState(), memory = memoryState();
        try {
            ReimbursementApplier(*register_).apply(statement(), appliedAt);
            QFAIL("applied");
        } catch (const PlatformError &e) {
            QVERIFY2(e.message().startsWith(QStringLiteral("Aucun remboursement n'a été reporté.")),
                     qPrintable(e.message()));
        }
        QCOMPARE(fileState(), file);
        QCOMPARE(memoryState(), memory);
    }

    void refusals_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("shares do not add up") << 0 << "du 10/06/25 font 37,00";
        QTest::newRow("entry gone") << 1 << "n'est plus dans le registre";
        QTest::newRow("already reimbursed")
            << 2 << "a déjà un remboursement de la C.P.A.M. daté du 05/05/25";
        QTest::newRow("one entry twice") << 3 << "reçoit deux paiements du même payeur";
        QTest::newRow("no entry") << 4 << "n'est attribué à aucun soin";
        QTest::newRow("line applied before") << 5 << "a déjà été reporté";
    }
    void refusals()
    {
        QFETCH(int, kind);
        QFETCH(QString, reason);
        const StatementLine cpam = line("2025-06-10", 3800, "VIR CPAM PARIS");
        std::vector<ConfirmedPayment> payments;
        switch (kind) {
        case 0:
            payments = {payment(cpam, AwaitedPayer::Cpam, {{leo_, 1900}, {emma_, 1800}})};
            break;
        case 1:
            payments = {payment(cpam, AwaitedPayer::Cpam, {{leo_, 1900}, {9999, 1900}})};
            break;
        case 2:
            payments = {payment(cpam, AwaitedPayer::Cpam, {{leo_, 1900}, {paid_, 1900}})};
            break;
        case 3:
            payments = {payment(line("2025-06-10", 1900, "VIR CPAM PARIS"), AwaitedPayer::Cpam,
                                {{leo_, 1900}}),
                        payment(line("2025-06-11", 1900, "VIR CPAM PARIS"), AwaitedPayer::Cpam,
                                {{leo_, 1900}})};
            break;
        case 4:
            payments = {payment(cpam, AwaitedPayer::Cpam, {})};
            break;
        case 5:
            ReimbursementApplier(*register_)
                .apply({payment(cpam, AwaitedPayer::Cpam, {{leo_, 3800}})}, appliedAt);
            payments = {payment(cpam, AwaitedPayer::Cpam, {{emma_, 3800}})};
            break;
        }
        const QStringList file = fileState(), memory = memoryState();
        try {
            ReimbursementApplier(*register_).apply(payments, appliedAt);
            QFAIL("applied");
        } catch (const PlatformError &e) {
            QVERIFY2(e.message().contains(reason), qPrintable(e.message()));
        }
        QCOMPARE(fileState(), file);
        QCOMPARE(memoryState(), memory);
    }

    void lineFoundAgain_data()
    {
        QTest::addColumn<QString>("bankId");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("rank");
        QTest::addColumn<bool>("withPayer");
        QTest::addColumn<bool>("applied");
        // Applied from an OFX file as FIT-1, label "VIR CPAM PARIS", first of its kind that day.
        QTest::newRow("same identifier") << "FIT-1"
                                         << "autre libellé" << 1 << false << true;
        QTest::newRow("same line without identifier") << ""
                                                      << "vir  cpam paris" << 1 << false << true;
        QTest::newRow("worded otherwise, with its payer")
            << ""
            << "PRLV SEPA CPAM DE PARIS REMBT" << 1 << true << true;
        QTest::newRow("label cut at 32 characters")
            << ""
            << "VIR SEPA CAISSE PRIMAIRE ASSURAN" << 1 << true << true;
        QTest::newRow("another identifier") << "FIT-2"
                                            << "VIR CPAM PARIS" << 1 << false << false;
        QTest::newRow("another identifier, with its payer")
            << "FIT-2"
            << "VIR CPAM PARIS" << 1 << true << false;
        QTest::newRow("second equal line of the day") << ""
                                                      << "VIR CPAM PARIS" << 2 << false << false;
        QTest::newRow("second equal line, with its payer")
            << ""
            << "VIR CPAM PARIS" << 2 << true << false;
        QTest::newRow("the mutuelle's line of that day and amount")
            << ""
            << "VIR HARMONIE MUTUELLE" << 1 << true << false;
    }
    void lineFoundAgain()
    {
        QFETCH(QString, bankId);
        QFETCH(QString, label);
        QFETCH(int, rank);
        QFETCH(bool, withPayer);
        ReimbursementApplier(*register_)
            .apply({payment(line("2025-06-10", 1900, "VIR CPAM PARIS", "FIT-1"), AwaitedPayer::Cpam,
                            {{leo_, 1900}})},
                   appliedAt);
        std::vector<StatementLine> lines(size_t(rank),
                                         StatementLine{QDate(2025, 6, 10), 1900, label, bankId, 0});
        const PayerRecognition payers(QStringLiteral("Harmonie Mutuelle"));
        const LedgerKey key =
            withPayer ? LedgerKey::of(lines, payers).back() : LedgerKey::of(lines).back();
        QTEST(StatementLedger::read(path()).appliedAt(key).has_value(), "applied");
    }

    // Equal lines are as many payments, in every file that lists them, and lines an earlier
    // version kept (keyed by their label) count the same way.
    void equalLinesCounted_data()
    {
        QTest::addColumn<bool>("oldKey");
        QTest::newRow("applied now") << false;
        QTest::newRow("applied by an earlier version") << true;
    }
    void equalLinesCounted()
    {
        QFETCH(bool, oldKey);
        const StatementLine first = line("2025-06-10", 1900, "VIR CPAM DE PARIS");
        if (oldKey) {
            SqliteDatabase db(path(), SqliteDatabase::Mode::OpenExisting);
            StatementLedger::ensureTables(db);
            db.exec(QStringLiteral("INSERT INTO \"TALO_RELEVES\" VALUES ('LIGNE:2025-06-10|1900|"
                                   "VIR CPAM DE PARIS|1', 'LIGNE:2025-06-10|1900|VIR CPAM DE "
                                   "PARIS|1', '', '2025-06-10', 1900, 'VIR CPAM DE PARIS', "
                                   "'C.P.A.M.', '%1:1900', '2025-06-11T08:00:00Z')")
                        .arg(leo_));
        } else {
            ReimbursementApplier(*register_)
                .apply({payment(first, AwaitedPayer::Cpam, {{leo_, 1900}})}, appliedAt);
        }
        // The same day in a CSV export: that line, then another of the same amount.
        const std::vector<StatementLine> csv(2, line("2025-06-10", 1900, "VIR SEPA CPAM PARIS"));
        const PayerRecognition payers(QStringLiteral("Harmonie Mutuelle"));
        std::vector<LedgerKey> keys = LedgerKey::of(csv, payers);
        QVERIFY(StatementLedger::read(path()).appliedAt(keys[0]));
        QVERIFY(!StatementLedger::read(path()).appliedAt(keys[1]));
        // The second is written; both are then found, and neither can be written again.
        ConfirmedPayment second = payment(csv[1], AwaitedPayer::Cpam, {{emma_, 1900}});
        second.key = keys[1];
        ReimbursementApplier(*register_).apply({second}, appliedAt);
        const StatementLedger ledger = StatementLedger::read(path());
        QVERIFY(ledger.appliedAt(keys[0]) && ledger.appliedAt(keys[1]));
        const QStringList before = fileState();
        QVERIFY_THROWS_EXCEPTION(PlatformError,
                                 ReimbursementApplier(*register_).apply({second}, appliedAt));
        QCOMPARE(fileState(), before);
    }

    void labelRemembered()
    {
        const PayerRecognition before(QStringLiteral("Harmonie Mutuelle"));
        QVERIFY(!before.payerOf(QStringLiteral("VIR MGEN FILIA 0707")));
        ConfirmedPayment p = payment(line("2025-06-12", 900, "VIR SEPA MGEN FILIA REF 5521"),
                                     AwaitedPayer::Mutuelle, {{paid_, 900}});
        p.rememberLabel = true;
        ReimbursementApplier(*register_).apply({p}, appliedAt);
        const PayerRecognition after(QStringLiteral("Harmonie Mutuelle"),
                                     StatementLedger::read(path()).learnedLabels());
        QCOMPARE(after.payerOf(QStringLiteral("VIR MGEN FILIA 0707")), AwaitedPayer::Mutuelle);
    }

    void entryOutOfView()
    {
        // Only LEO's entries in view: EMMA's is reached all the same, and the view stays.
        selectors_->beneficiaryIndex = int(selectors_->beneficiaries.indexOf("LEO"));
        register_->lstListeBeneficiairesClick();
        table_->last();
        const qint64 current = table_->bookmark().rowId;
        ReimbursementApplier(*register_)
            .apply({payment(line("2025-06-10", 3800, "CPAM"), AwaitedPayer::Cpam,
                            {{leo_, 1900}, {emma_, 1900}})},
                   appliedAt);
        QVERIFY(table_->isFiltered());
        QCOMPARE(table_->recordCount(), 2);
        QCOMPARE(table_->bookmark().rowId, current);
        // The totals are the view's: LEO's two entries.
        QCOMPARE(register_->totals().cpam, 1900 + 1900);
        QVERIFY(fileState().contains(QStringLiteral("%1|2025-06-10|19.0||").arg(emma_)));
    }

    void ledgerTablesAsTheSchemaKeepsThem()
    {
        ReimbursementApplier(*register_).apply(statement(), appliedAt);
        SqliteDatabase db(path(), SqliteDatabase::Mode::OpenExisting);
        SqliteStatement st(db.handle(), QStringLiteral("SELECT sql FROM sqlite_master WHERE name "
                                                       "IN ('TALO_RELEVES', 'TALO_LIBELLES') "
                                                       "ORDER BY name"));
        QVERIFY(st.step());
        QCOMPARE(st.text(0), StatementLedger::labelsCreateSql());
        QVERIFY(st.step());
        QCOMPARE(st.text(0), StatementLedger::createSql());
    }
};

QTEST_GUILESS_MAIN(TestReimbursementApply)
#include "test_reimbursement_apply.moc"
