#include "import/ImportSession.h"
#include "import/ImportSummary.h"
#include "import/PaymentListModel.h"
#include "import/TFrmImportReleve.h"
#include "platform/core/PlatformError.h"
#include "platform/report/ReportPdfWriter.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"
#include "register/PaymentMatcher.h"
#include "support/PdfTools.h"

#include <QApplication>

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <algorithm>

#include <algorithm>

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

// The register behind statement(): the entries of its proposals, one more still owed to the
// C.P.A.M. before the payments, and one cared for after them.
std::shared_ptr<const PaymentMatcher> registerMatcher()
{
    std::vector<CareFacts> entries;
    for (const auto &[row, day, name] : {std::tuple{11, 2, "LEO"}, std::tuple{12, 2, "EMMA"},
                                         std::tuple{13, 5, "LEO"}, std::tuple{14, 12, "EMMA"}}) {
        CareFacts e;
        e.row = Bookmark{row};
        e.date = QDate(2025, 6, day);
        e.beneficiary = QString::fromLatin1(name);
        e.doctor = QStringLiteral("MARTIN");
        e.cost = 3000;
        entries.push_back(e);
    }
    return std::make_shared<PaymentMatcher>(entries);
}

QList<qint64> rowsOf(const std::vector<ProposedShare> &shares)
{
    QList<qint64> rows;
    for (const ProposedShare &s : shares)
        rows.append(s.entry.row.rowId);
    return rows;
}

// The rows offered, and those another payment keeps as "row@payment".
QStringList rowsOf(const std::vector<PickableShare> &shares)
{
    QStringList rows;
    for (const PickableShare &s : shares)
        rows.append(s.heldBy ? QStringLiteral("%1@%2").arg(s.share.entry.row.rowId).arg(*s.heldBy)
                             : QString::number(s.share.entry.row.rowId));
    return rows;
}

// The same, the entries of one day (11 and 12) in the order of their rows.
QStringList newestFirst(const std::vector<PickableShare> &shares)
{
    QStringList rows = rowsOf(shares);
    std::sort(rows.begin() + 1, rows.end());
    return rows;
}

QString cell(QTableView *view, int row, int column)
{
    return view->model()->index(row, column).data().toString();
}

void setCurrentRow(QTableView *view, int row)
{
    view->setCurrentIndex(view->model()->index(row, 0));
}

// Payments of one payer, each with proposals given as their entries' rows and state: "S" sure,
// "C" to choose, "V" to check; the rows are LEO's entries 1 to 9.
MatchResult proposals(const QList<QStringList> &payments)
{
    MatchResult r;
    for (const QStringList &combinations : payments) {
        PaymentProposal p = payment(1900, AwaitedPayer::Cpam, {});
        for (const QString &c : combinations) {
            ProposedCombination comb;
            for (QChar row : c.mid(1))
                comb.shares.push_back(share(row.digitValue(), "LEO", 1900 / (c.size() - 1)));
            comb.confidence = c[0] == u'S'   ? Confidence::Sure
                              : c[0] == u'C' ? Confidence::ToChoose
                                             : Confidence::ToCheck;
            p.combinations.push_back(comb);
        }
        r.payments.push_back(p);
    }
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

    void entriesPickedByHand()
    {
        ImportSession s(statement(), registerMatcher());
        QVERIFY(!s.canPick(3)); // already applied
        // Rows 11 and 12 are the first C.P.A.M. payment's, listed as such; 14 was cared for
        // after the payment; 13 is kept by the mutuelle's payment, which does not stop the
        // C.P.A.M.'s.
        QCOMPARE(newestFirst(s.pickable(2)), (QStringList{"13", "11@0", "12@0"}));
        s.choose(0, ImportSession::None);
        QCOMPARE(newestFirst(s.pickable(2)), (QStringList{"13", "11", "12"}));

        s.pickByHand(2, {11, 13});
        QCOMPARE(s.chosen(2), ImportSession::ByHand);
        QCOMPARE(rowsOf(s.entries(2)), (QList<qint64>{11, 13}));
        QCOMPARE(s.shares(2)[0] + s.shares(2)[1], 4242);
        QCOMPARE(s.problem(), QString());
        s.setShare(2, 0, 2000);
        QCOMPARE(s.shares(2)[1], 2242);

        // The first payment kept again holds row 11 too: not confirmable until one lets go.
        s.choose(0, 0);
        QVERIFY2(s.problem().contains(QStringLiteral("deux paiements")), qPrintable(s.problem()));
        s.choose(2, ImportSession::None);
        QCOMPARE(s.problem(), QString());
        s.choose(0, ImportSession::None);
        // Taking the hand-picked entries back spreads the payment again; picking nothing
        // changes nothing.
        s.choose(2, ImportSession::ByHand);
        s.pickByHand(2, {});
        QCOMPARE(rowsOf(s.entries(2)), (QList<qint64>{11, 13}));
        const std::vector<ConfirmedPayment> out = s.confirmed();
        QCOMPARE(out.size(), size_t(2));
        QCOMPARE(out[1].line.cents, 4242);
        QCOMPARE(out[1].shares[0].row, 11);
        QCOMPARE(out[1].shares[0].cents + out[1].shares[1].cents, 4242);
    }

    // On the unmatched payment: Choisir les soins, Space on two entries, Enter; the parts
    // follow.
    void pickingFromTheKeyboard()
    {
        std::vector<ConfirmedPayment> written;
        TFrmImportReleve w(QStringLiteral("releve.ofx"),
                           ImportSession(statement(), registerMatcher()),
                           [&](const std::vector<ConfirmedPayment> &p,
                               const TFrmImportReleve::Progress &) { written = p; });
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto *payments = w.findChild<QTableView *>(QStringLiteral("grillePaiements"));
        auto *parts = w.findChild<QTableWidget *>(QStringLiteral("grilleParts"));
        auto *pick = w.findChild<QPushButton *>(QStringLiteral("btnChoisir"));
        setCurrentRow(payments, 3);
        QVERIFY(!pick->isEnabled()); // already applied
        setCurrentRow(payments, 0);
        QTest::keyClick(payments, Qt::Key_End); // the first payment left out
        w.findChild<QComboBox *>(QStringLiteral("lstProposition"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
        setCurrentRow(payments, 2);
        QCOMPARE(cell(payments, 2, 4),
                 QStringLiteral("aucun soin attendu ne correspond : laissé de côté"));
        QVERIFY(pick->isEnabled());

        QStringList seen;
        QTimer::singleShot(0, &w, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            // A failed check leaves no modal dialog behind it.
            const auto close = qScopeGuard([dialog] {
                if (dialog->isVisible())
                    dialog->reject();
            });
            QApplication::setActiveWindow(dialog);
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            auto *list = dialog->findChild<QTableWidget *>(QStringLiteral("grilleSoins"));
            QCOMPARE(QApplication::focusWidget(), list);
            for (int r = 0; r < list->rowCount(); ++r)
                seen.append(list->item(r, 3)->text() + list->item(r, 1)->text());
            QTest::keyClick(list, Qt::Key_Return); // nothing checked: nothing happens
            QVERIFY(dialog->isVisible());
            QTest::keyClick(list, Qt::Key_Space);
            QCOMPARE(list->item(0, 0)->text(), QStringLiteral("oui")); // said in words too
            QTest::keyClick(list, Qt::Key_Down);
            QTest::keyClick(list, Qt::Key_Down);
            QTest::keyClick(list, Qt::Key_Space);
            QTest::keyClick(list, Qt::Key_Return);
        });
        // Alt+H is pressed for real in the end-to-end scenario; here Space on the button.
        QCOMPARE(pick->shortcut(), QKeySequence(Qt::ALT | Qt::Key_H));
        pick->setFocus();
        QTest::keyClick(pick, Qt::Key_Space);
        QCOMPARE(seen.size(), 3);
        QCOMPARE(cell(payments, 2, 4), QStringLiteral("choisi à la main"));
        QCOMPARE(parts->rowCount(), 2);
        QCOMPARE(parts->item(0, 0)->text(), QStringLiteral("05/06/2025"));
        QCOMPARE(parts->item(1, 0)->text(), QStringLiteral("02/06/2025"));
        QApplication::setActiveWindow(&w);
        QCOMPARE(QApplication::focusWidget(), parts);
        typeShare(QStringLiteral("22,42"));
        QTRY_COMPARE(parts->item(1, 5)->text(), ImportSession::money(2000));

        // Échap leaves the pick as it was.
        QTimer::singleShot(0, &w, [] {
            QWidget *dialog = QApplication::activeModalWidget();
            QApplication::setActiveWindow(dialog);
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        pick->click();
        QCOMPARE(parts->rowCount(), 2);
        w.findChild<QPushButton *>(QStringLiteral("btnConfirmer"))->click();
        QCOMPARE(written.size(), size_t(2));
        QCOMPARE(written[1].shares[0].row, 13);
        QCOMPARE(written[1].shares[0].cents, 2242);
        QCOMPARE(written[1].shares[1].cents, 2000);
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
        QCOMPARE(texts.count(QStringLiteral("   non enregistré")), 1);
        QCOMPARE(
            texts.count(QStringLiteral("   aucun soin attendu ne correspond : laissé de côté")), 1);
        QCOMPARE(texts.count(QStringLiteral("   déjà enregistré le 01/05/2025")), 1);
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
        TFrmImportReleve w(
            QStringLiteral("/tmp/releve.ofx"), ImportSession(statement()),
            [&](const std::vector<ConfirmedPayment> &p, const TFrmImportReleve::Progress &) {
                ++applies;
                written = p;
            });
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto *payments = w.findChild<QTableView *>(QStringLiteral("grillePaiements"));
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
        TFrmImportReleve w(
            QStringLiteral("releve.csv"), ImportSession(statement()),
            [](const std::vector<ConfirmedPayment> &, const TFrmImportReleve::Progress &) {
                throw PlatformError(QStringLiteral("Rien n'a été enregistré."));
            });
        w.show();
        w.findChild<QPushButton *>(QStringLiteral("btnConfirmer"))->click();
        QCOMPARE(Dialogs::shownTexts(), QStringList{QStringLiteral("Rien n'a été enregistré.")});
        QVERIFY(w.isVisible());
        QCOMPARE(w.session().writtenTotal(), 4700);
    }

    // The person chooses for payment 0; what the program chose for payment 1 follows.
    void choosingSettlesTheOthers_data()
    {
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QStringList>("second");
        QTest::addColumn<int>("secondBefore");
        QTest::addColumn<int>("choice");
        QTest::addColumn<int>("secondAfter");
        QTest::addColumn<QString>("secondState");
        QTest::newRow("two children's equal transfers")
            << QStringList{"C1", "C2"} << QStringList{"C1", "C2"} << ImportSession::None << 1 << 0
            << QStringLiteral("seul possible une fois les autres choisis");
        QTest::newRow("the other way round")
            << QStringList{"C1", "C2"} << QStringList{"C2", "C1"} << ImportSession::None << 0 << 0
            << QStringLiteral("seul possible une fois les autres choisis");
        QTest::newRow("a sure payment lets its entry go")
            << QStringList{"C1", "C2"} << QStringList{"S2"} << 0 << 1 << ImportSession::None
            << QStringLiteral("ses soins sont gardés par un autre paiement : laissé de côté");
        QTest::newRow("a sure payment takes its other fit")
            << QStringList{"C1", "C2"} << QStringList{"S2", "C3"} << 0 << 1 << 1
            << QStringLiteral("seul possible une fois les autres choisis");
        QTest::newRow("a fit outside the candidates is never taken")
            << QStringList{"C1", "C2"} << QStringList{"C1", "V2"} << ImportSession::None << 0
            << ImportSession::None << QStringLiteral("à vérifier : non enregistré");
        QTest::newRow("entries of their own are not asked again")
            << QStringList{"C1", "C2"} << QStringList{"C3", "C4"} << ImportSession::None << 0
            << ImportSession::None << QStringLiteral("à choisir : touche 1 à 2");
        QTest::newRow("grouped cares split either way")
            << QStringList{"C12", "C3"} << QStringList{"C3", "C12"} << ImportSession::None << 0 << 0
            << QStringLiteral("seul possible une fois les autres choisis");
    }
    void choosingSettlesTheOthers()
    {
        QFETCH(QStringList, first);
        QFETCH(QStringList, second);
        QFETCH(int, choice);
        ImportSession s(proposals({first, second}));
        QCOMPARE(s.chosen(0), ImportSession::None); // nothing to choose is preselected
        QTEST(s.chosen(1), "secondBefore");
        s.choose(0, choice);
        QCOMPARE(s.state(0), QStringLiteral("choisi"));
        QTEST(s.chosen(1), "secondAfter");
        QTEST(s.state(1), "secondState");
        QVERIFY(!s.chosenByPerson(1));
        if (s.chosen(1) != ImportSession::None)
            QCOMPARE(s.problem(), QString());
        // The person changes their mind: the entries come back to be chosen again.
        s.choose(0, ImportSession::None);
        QCOMPARE(s.state(0), QStringLiteral("non enregistré"));
        QVERIFY(!s.open(1).empty());
    }

    // What the person chose is never undone by another choice: the clash is said instead.
    void personsChoiceKept()
    {
        ImportSession s(proposals({{"C1", "C2"}, {"C1", "C2"}}));
        s.choose(1, 0);
        QCOMPARE(s.chosen(0), 1);
        s.choose(0, 0);
        QCOMPARE(s.chosen(1), 0);
        QVERIFY2(s.problem().contains(QStringLiteral("deux paiements")), qPrintable(s.problem()));
    }

    // On a payment "à choisir", the digit of a proposal takes it; the other payment of the
    // payer that offered the same entries takes what is left.
    void digitChoosesAProposal()
    {
        std::vector<ConfirmedPayment> written;
        TFrmImportReleve w(QStringLiteral("releve.csv"),
                           ImportSession(proposals({{"C1", "C2"}, {"C1", "C2"}})),
                           [&](const std::vector<ConfirmedPayment> &p,
                               const TFrmImportReleve::Progress &) { written = p; });
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto *payments = w.findChild<QTableView *>(QStringLiteral("grillePaiements"));
        auto *parts = w.findChild<QTableWidget *>(QStringLiteral("grilleParts"));
        auto *confirm = w.findChild<QPushButton *>(QStringLiteral("btnConfirmer"));
        QVERIFY(w.findChild<QLabel *>(QStringLiteral("etqTouches"))
                    ->text()
                    .contains(QStringLiteral("la touche 1, 2")));
        QCOMPARE(QApplication::focusWidget(), payments);
        QCOMPARE(cell(payments, 0, 4), QStringLiteral("à choisir : touche 1 à 2"));
        QCOMPARE(parts->rowCount(), 0);
        QVERIFY(!confirm->isEnabled());
        QTest::keyClick(payments, Qt::Key_9); // no ninth proposal: nothing happens
        QCOMPARE(w.session().chosen(0), ImportSession::None);
        QTest::keyClick(payments, Qt::Key_2);
        QCOMPARE(w.session().chosen(0), 1);
        QCOMPARE(cell(payments, 0, 4), QStringLiteral("choisi"));
        QCOMPARE(cell(payments, 1, 4), QStringLiteral("seul possible une fois les autres choisis"));
        QCOMPARE(parts->rowCount(), 1);
        QVERIFY(confirm->isEnabled());
        // The second payment's list offers only what is left.
        QTest::keyClick(payments, Qt::Key_Down);
        auto *proposal = w.findChild<QComboBox *>(QStringLiteral("lstProposition"));
        QCOMPARE(proposal->count(), 2);
        QVERIFY(
            proposal->itemText(0).startsWith(QStringLiteral("1 : 1 soin(s) (LEO, 02/06/2025)")));
        confirm->click();
        QCOMPARE(written.size(), size_t(2));
        QCOMPARE(written[0].shares[0].row, 2);
        QCOMPARE(written[1].shares[0].row, 1);
    }

    // "Choisir les soins..." shows the entries another payment keeps, greyed, with it named.
    void heldEntriesShownGreyed()
    {
        TFrmImportReleve w(
            QStringLiteral("releve.ofx"), ImportSession(statement(), registerMatcher()),
            [](const std::vector<ConfirmedPayment> &, const TFrmImportReleve::Progress &) {});
        w.show();
        setCurrentRow(w.findChild<QTableView *>(QStringLiteral("grillePaiements")), 2);
        QStringList held;
        int current = -1;
        QTimer::singleShot(0, &w, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            const auto close = qScopeGuard([dialog] { dialog->reject(); });
            auto *list = dialog->findChild<QTableWidget *>(QStringLiteral("grilleSoins"));
            current = list->currentRow();
            for (int r = 0; r < list->rowCount(); ++r) {
                if (!(list->item(r, 1)->flags() & Qt::ItemIsEnabled))
                    held.append(list->item(r, 0)->text());
                QVERIFY(!(list->item(r, 0)->flags() & Qt::ItemIsEnabled) ||
                        (list->item(r, 0)->flags() & Qt::ItemIsUserCheckable));
            }
        });
        w.findChild<QPushButton *>(QStringLiteral("btnChoisir"))->click();
        QCOMPARE(current, 0); // the free entry, first
        QCOMPARE(held,
                 QStringList(2, QStringLiteral("pris par le paiement du 10/06/2025 (38,00 €)")));
    }

    // A statement of thousands of lines: listed through models, the other credits as one
    // line with their count; long labels cut, whole in the tooltip.
    void largeStatement()
    {
        MatchResult r;
        const QString label = QStringLiteral("VIR SEPA CAISSE PRIMAIRE D'ASSURANCE MALADIE DE "
                                             "PARIS REMBOURSEMENT SOINS 0123456789");
        for (int i = 0; i < 5000; ++i) {
            PaymentProposal p = payment(1900, AwaitedPayer::Cpam, {});
            p.line.label = label;
            r.payments.push_back(p);
        }
        for (int i = 0; i < 30000; ++i)
            r.otherCredits.push_back(
                StatementLine{QDate(2025, 6, 1), 1000 + i, QStringLiteral("VIR SALAIRE"), {}, i});
        QElapsedTimer opening;
        opening.start();
        TFrmImportReleve w(
            QStringLiteral("gros.csv"), ImportSession(std::move(r)),
            [](const std::vector<ConfirmedPayment> &, const TFrmImportReleve::Progress &) {});
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        qInfo("window over 5000 payments and 30000 other credits shown in %lld ms",
              opening.elapsed());
        QVERIFY(opening.elapsed() < 3000);
        auto *payments = w.findChild<QTableView *>(QStringLiteral("grillePaiements"));
        QCOMPARE(payments->model()->rowCount(), 5000);
        const QModelIndex labelCell = payments->model()->index(4999, 1);
        QCOMPARE(labelCell.data().toString().size(), PaymentListModel::LabelShown);
        QVERIFY(labelCell.data().toString().endsWith(QChar(0x2026)));
        QCOMPARE(labelCell.data(Qt::ToolTipRole).toString(), label);
        auto *others = w.findChild<QToolButton *>(QStringLiteral("btnAutres"));
        QVERIFY(
            others->text().startsWith(QStringLiteral("Autres crédits, laissés de côté : 30000")));
        auto *list = w.findChild<QTableView *>(QStringLiteral("grilleAutres"));
        QVERIFY(!list->isVisible());
        others->setFocus();
        QTest::keyClick(others, Qt::Key_Space);
        QVERIFY(list->isVisible());
        QCOMPARE(list->model()->rowCount(), 30000);
    }

    // Writing that lasts shows the bar, told as the apply goes.
    void longApplyShowsProgress()
    {
        bool barSeen = false;
        TFrmImportReleve w(
            QStringLiteral("releve.ofx"), ImportSession(statement()),
            [&](const std::vector<ConfirmedPayment> &, const TFrmImportReleve::Progress &progress) {
                QElapsedTimer t;
                t.start();
                for (int step = 1; t.elapsed() < 1500; ++step) {
                    progress(step, 100000);
                    QTest::qSleep(5);
                    for (QWidget *top : QApplication::topLevelWidgets())
                        barSeen = barSeen || (top->objectName() == QStringLiteral("barreTravail") &&
                                              top->isVisible());
                }
            });
        w.show();
        w.findChild<QPushButton *>(QStringLiteral("btnConfirmer"))->click();
        QVERIFY(barSeen);
        QCOMPARE(w.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestImportWindow)
#include "test_import_window.moc"
