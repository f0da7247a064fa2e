#include "import/ImportSession.h"
#include "import/ImportSummary.h"
#include "import/TFrmImportReleve.h"
#include "platform/core/PlatformError.h"
#include "platform/report/ReportPdfWriter.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"
#include "support/PdfTools.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace
{

ProposedShare share(qint64 row, const char *name, qint64 expected)
{
    ProposedShare s;
    s.entry.row = Bookmark{row};
    s.entry.date = QDate(2025, 6, 2);
    s.entry.beneficiary = QString::fromUtf8(name);
    s.entry.doctor = QStringLiteral("MARTIN");
    s.entry.cost = 3000;
    s.prediction.expected = expected;
    s.share = expected;
    return s;
}

PaymentProposal payment(qint64 cents, AwaitedPayer payer, std::vector<ProposedShare> shares)
{
    PaymentProposal p;
    p.line = StatementLine{QDate(2025, 6, 10), cents, QStringLiteral("VIR CPAM"), {}, 1};
    p.key = LedgerKey::of({p.line}).front();
    p.payer = payer;
    if (!shares.empty()) {
        ProposedCombination c;
        c.shares = std::move(shares);
        c.confidence = Confidence::Sure;
        p.combinations.push_back(c);
    }
    return p;
}

// A two-person payment, a one-entry mutuelle payment, one nothing fits, one already applied.
MatchResult statement()
{
    MatchResult r;
    r.payments.push_back(
        payment(3800, AwaitedPayer::Cpam, {share(11, "LEO", 1900), share(12, "EMMA", 1900)}));
    r.payments.push_back(payment(900, AwaitedPayer::Mutuelle, {share(13, "LEO", 900)}));
    r.payments.push_back(payment(4242, AwaitedPayer::Cpam, {}));
    PaymentProposal done = payment(1500, AwaitedPayer::Cpam, {});
    done.alreadyApplied = true;
    done.appliedAt = QDateTime(QDate(2025, 5, 1), QTime(9, 0), Qt::UTC);
    r.payments.push_back(done);
    return r;
}

} // namespace

// What the person decides before anything is written, and the window they decide it in,
// driven from the keyboard.
class TestImportWindow : public QObject
{
    Q_OBJECT

private:
    // F2 on the current share, the text replaced, Enter: as a person edits a cell.
    static void typeShare(const QString &text)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

private Q_SLOTS:
    void init() { Dialogs::startScripting(); }
    void cleanup() { Dialogs::stopScripting(); }

    void sessionKeepsSharesAddingUp_data()
    {
        QTest::addColumn<size_t>("payment");
        QTest::addColumn<size_t>("edited");
        QTest::addColumn<qint64>("typed");
        QTest::addColumn<QList<qint64>>("shares");
        QTest::addColumn<bool>("confirmable");
        QTest::newRow("other share takes the rest")
            << size_t(0) << size_t(0) << qint64(2000) << QList<qint64>{2000, 1800} << true;
        QTest::newRow("typed above the payment")
            << size_t(0) << size_t(1) << qint64(4000) << QList<qint64>{-200, 4000} << false;
        QTest::newRow("lone share cannot follow")
            << size_t(1) << size_t(0) << qint64(800) << QList<qint64>{800} << false;
        QTest::newRow("lone share typed exactly")
            << size_t(1) << size_t(0) << qint64(900) << QList<qint64>{900} << true;
    }
    void sessionKeepsSharesAddingUp()
    {
        QFETCH(size_t, payment);
        QFETCH(size_t, edited);
        QFETCH(qint64, typed);
        QFETCH(QList<qint64>, shares);
        QFETCH(bool, confirmable);
        ImportSession s(statement());
        s.setShare(payment, edited, typed);
        QCOMPARE(QList<qint64>(s.shares(payment).begin(), s.shares(payment).end()), shares);
        QCOMPARE(s.problem().isEmpty(), confirmable);
    }

    void sessionWritesOnlyWhatIsKept()
    {
        ImportSession s(statement());
        // Nothing is proposed for the unmatched payment nor for the one already applied.
        QCOMPARE(s.chosen(2), ImportSession::None);
        QCOMPARE(s.chosen(3), ImportSession::None);
        s.choose(3, 0);
        QCOMPARE(s.chosen(3), ImportSession::None);
        QCOMPARE(s.writtenTotal(), 4700);
        s.choose(1, ImportSession::None);
        const std::vector<ConfirmedPayment> out = s.confirmed();
        QCOMPARE(out.size(), size_t(1));
        QCOMPARE(out[0].line.cents, 3800);
        QCOMPARE(out[0].shares.size(), size_t(2));
        QCOMPARE(out[0].shares[1].row, 12);
        QCOMPARE(out[0].shares[1].cents, 1900);
        s.choose(0, ImportSession::None);
        QVERIFY(!s.problem().isEmpty()); // nothing left to write
    }

    void summaryShowsWhatIsWritten()
    {
        ImportSession s(statement());
        s.choose(1, ImportSession::None);
        const ReportPageGeometry geometry;
        const QList<ReportPage> pages =
            ImportSummary::pages(s, QStringLiteral("/x/releve.ofx"), QDate(2025, 6, 20), geometry);
        QStringList texts;
        for (const ReportPage &page : pages)
            for (const ReportPlacedText &t : page.texts)
                texts.append(t.text);
        QCOMPARE(texts.count(ImportSession::money(1900)), 2);
        QVERIFY(texts.contains(QStringLiteral("Total écrit : 2 soin(s)")));
        QCOMPARE(texts.count(ImportSession::money(3800)), 2); // the payment and the total
        QCOMPARE(texts.count(QStringLiteral("non enregistré")), 2);
        QCOMPARE(texts.count(QStringLiteral("déjà enregistré")), 1);
    }

    void summaryAsPdf()
    {
        ImportSession s(statement());
        const ReportPageGeometry geometry;
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("résumé.pdf"));
        ReportPdfWriter::write(
            pdf,
            ImportSummary::pages(s, QStringLiteral("releve.ofx"), QDate(2025, 6, 20), geometry),
            geometry, ImportSummary::title());
        const QString text = PdfTools::text(pdf);
        QVERIFY2(text.contains(QStringLiteral("Total écrit : 3 soin(s)")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("LEO, MARTIN (coût 30,00")));
        if (qEnvironmentVariableIsSet("TALO_KEEP_SUMMARY"))
            QFile::copy(pdf, qEnvironmentVariable("TALO_KEEP_SUMMARY"));
    }

    void longSummaryStaysOnItsPages()
    {
        MatchResult r;
        for (int i = 0; i < 40; ++i)
            r.payments.push_back(
                payment(3800, AwaitedPayer::Cpam,
                        {share(2 * i, "LEO", 1900), share(2 * i + 1, "EMMA", 1900)}));
        ImportSession s(r);
        const ReportPageGeometry geometry;
        const QList<ReportPage> pages =
            ImportSummary::pages(s, QStringLiteral("r.ofx"), QDate(2025, 6, 20), geometry);
        QVERIFY(pages.size() > 1);
        int shares = 0;
        for (const ReportPage &page : pages)
            for (const ReportPlacedText &t : page.texts) {
                QVERIFY2(geometry.printableRect().contains(t.rect), qPrintable(t.text));
                shares += t.text == ImportSession::money(1900);
            }
        QCOMPARE(shares, 80);
        QCOMPARE(pages.last().number, int(pages.size()));
    }

    void keyboardPathToConfirmation()
    {
        std::vector<ConfirmedPayment> written;
        int applies = 0;
        TFrmImportReleve w(QStringLiteral("/tmp/releve.ofx"), ImportSession(statement()),
                           [&](const std::vector<ConfirmedPayment> &p) {
                               ++applies;
                               written = p;
                           });
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto *payments = w.findChild<QTableWidget *>(QStringLiteral("grillePaiements"));
        auto *parts = w.findChild<QTableWidget *>(QStringLiteral("grilleParts"));
        auto *proposal = w.findChild<QComboBox *>(QStringLiteral("lstProposition"));
        auto *confirm = w.findChild<QPushButton *>(QStringLiteral("btnConfirmer"));
        QCOMPARE(QApplication::focusWidget(), payments);
        QCOMPARE(parts->rowCount(), 2);
        QVERIFY(confirm->isEnabled());
        QVERIFY(!confirm->isDefault());
        // F1 opens this window's help.
        Help::startRecording();
        QTest::keyClick(payments, Qt::Key_F1);
        QVERIFY(Help::lastRequest());
        QCOMPARE(Help::lastRequest()->context, TFrmImportReleve::HelpContext);
        Help::stopRecording();
        // Enter in the payments confirms nothing.
        QTest::keyClick(payments, Qt::Key_Return);
        QCOMPARE(applies, 0);
        QVERIFY(w.isVisible());

        // Tab to the proposal, Tab to the shares; type a share: the other follows.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), proposal);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), parts);
        QCOMPARE(parts->currentColumn(), 5);
        typeShare(QStringLiteral("20,5"));
        QTRY_COMPARE(parts->item(1, 5)->text(), ImportSession::money(1750));
        QCOMPARE(applies, 0); // Enter in the grid confirmed nothing

        // The mutuelle's lone share typed wrong: Confirmer disabled, and the reason shown.
        payments->setFocus();
        QTest::keyClick(payments, Qt::Key_Down);
        QCOMPARE(parts->rowCount(), 1);
        parts->setFocus();
        typeShare(QStringLiteral("8"));
        QTRY_VERIFY(!confirm->isEnabled());
        QVERIFY(w.findChild<QLabel *>(QStringLiteral("etqTotaux"))
                    ->text()
                    .contains(QStringLiteral("au lieu de")));
        // Left out instead: the last item of the proposal list.
        proposal->setFocus();
        QTest::keyClick(proposal, Qt::Key_End);
        QCOMPARE(w.session().chosen(1), ImportSession::None);
        QVERIFY(confirm->isEnabled());

        // Alt+C is the button's mnemonic (pressed for real in the end-to-end scenarios); here
        // Tab from the proposal list to the shares, then to Confirmer, and Space.
        QCOMPARE(confirm->shortcut(), QKeySequence(Qt::ALT | Qt::Key_C));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), confirm);
        QTest::keyClick(confirm, Qt::Key_Space);
        QCOMPARE(applies, 1);
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(written.size(), size_t(1));
        QCOMPARE(written[0].shares[0].cents, 2050);
        QCOMPARE(written[0].shares[1].cents, 1750);
    }

    void failedApplyKeepsTheWindow()
    {
        TFrmImportReleve w(QStringLiteral("releve.csv"), ImportSession(statement()),
                           [](const std::vector<ConfirmedPayment> &) {
                               throw PlatformError(QStringLiteral("Rien n'a été enregistré."));
                           });
        w.show();
        w.findChild<QPushButton *>(QStringLiteral("btnConfirmer"))->click();
        QCOMPARE(Dialogs::shownTexts(), QStringList{QStringLiteral("Rien n'a été enregistré.")});
        QVERIFY(w.isVisible());
        QCOMPARE(w.session().writtenTotal(), 4700);
    }
};

QTEST_MAIN(TestImportWindow)
#include "test_import_window.moc"
