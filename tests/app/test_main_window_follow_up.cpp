#include "MainWindowFixture.h"

#include "followup/FollowUpModel.h"
#include "followup/TFrmBilanAnnuel.h"
#include "followup/TFrmSuiviRemboursements.h"
#include "platform/core/Formats.h"
#include "register/AgeBands.h"
#include "register/YearSummary.h"

#include <QAction>
#include <QHeaderView>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

using namespace CareFields;

// The follow-up and the year summary opened from the menu "Voir" of the main window: a line
// chosen in the follow-up becomes the current entry with its payer's page in front, and
// neither window changes the register's view.
class TestMainWindowFollowUp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { MainWindowFixture::pinConventions(); }
    void init();
    void cleanup() { f.finish(); }

    void lineChosenBecomesCurrentEntry_data();
    void lineChosenBecomesCurrentEntry();
    void followUpKeepsTheView();
    void yearSummaryCoversEveryoneAndKeepsTheView();
    void entryTypedShowsInBothWindows();
    void helpOnF1_data();
    void helpOnF1();

private:
    // Runs the menu command; `inside` acts in its window once it is shown, then it is closed
    // unless `inside` closed it.
    void openFromMenu(const char *command, const std::function<void(QDialog &)> &inside);

    MainWindowFixture f;
};

// Today is 15/06/24. The oldest entry waits for the mutuelle, the other for the C.P.A.M.; the
// third is fully reimbursed and has no line.
void TestMainWindowFollowUp::init()
{
    QVERIFY(f.prepare());
    f.seed({{DateSoins, "01/02/24"},
            {Beneficiaire, "MARTIN"},
            {Specialite, "Dentiste"},
            {Cout, "30"},
            {MontantCPAM, "21"},
            {DateCPAM, "05/02/24"},
            {CPAMOuiNon, Faux},
            {MutuelleOuiNon, Faux}});
    f.seed({{DateSoins, "10/04/24"},
            {Beneficiaire, "DURAND"},
            {Cout, "100"},
            {CPAMOuiNon, Faux},
            {MutuelleOuiNon, Faux}});
    f.seed({{DateSoins, "12/05/24"},
            {Beneficiaire, "DURAND"},
            {Cout, "50"},
            {MontantCPAM, "35"},
            {DateCPAM, "20/05/24"},
            {MontantMutuelle, "15"},
            {DateMutuelle, "22/05/24"},
            {CPAMOuiNon, Faux},
            {MutuelleOuiNon, Faux}});
    f.putFile("LSTBENEF.LST", "TOUS\r\nMARTIN\r\nDURAND\r\n");
    QVERIFY(f.start());
}

void TestMainWindowFollowUp::openFromMenu(const char *command,
                                          const std::function<void(QDialog &)> &inside)
{
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        ran = true;
        QTRY_COMPARE(QApplication::activeWindow(), dialog);
        inside(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    f.child<QAction>(QLatin1String(command))->trigger();
    QVERIFY(ran);
}

void TestMainWindowFollowUp::lineChosenBecomesCurrentEntry_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("date");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("caret");
    QTest::newRow("Enter, mutuelle awaited")
        << false << 0 << "01/02/24" << 2 << "DBchpDateMutuelle";
    QTest::newRow("Down, Enter, C.P.A.M. awaited")
        << false << 1 << "10/04/24" << 1 << "DBchpDateCPAM";
    QTest::newRow("double-click") << true << 1 << "10/04/24" << 1 << "DBchpDateCPAM";
}

void TestMainWindowFollowUp::lineChosenBecomesCurrentEntry()
{
    QFETCH(bool, doubleClick);
    QFETCH(int, line);
    openFromMenu("mnuSuivi", [&](QDialog &dialog) {
        auto *lines = dialog.findChild<QTableView *>("grilleSuivi");
        QCOMPARE(lines->model()->rowCount(), 2);
        QCOMPARE(lines->model()->index(0, 0).data().toString(), QString("01/02/24"));
        if (doubleClick) {
            const QRect cell = lines->visualRect(lines->model()->index(line, 1));
            QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(lines->viewport(), Qt::LeftButton, {}, cell.center());
        } else {
            for (int i = 0; i < line; ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        QVERIFY(!dialog.isVisible());
    });
    QTEST(f.table().fieldByName(DateSoins).asString(), "date");
    QTEST(f.child<QTabWidget>("OngletsSaisie")->currentIndex(), "page");
    // The caret waits in the field for when the main window is active again.
    QVERIFY(f.main().focusWidget());
    QTEST(f.main().focusWidget()->objectName(), "caret");
    QCOMPARE(f.table().state(), Table::State::Browse);
}

void TestMainWindowFollowUp::followUpKeepsTheView()
{
    f.choose("lstListeBeneficiaires", "DURAND");
    f.table().last();
    const QStringList totals = f.totalsShown();
    openFromMenu("mnuSuivi", [](QDialog &dialog) {
        auto &window = static_cast<TFrmSuiviRemboursements &>(dialog);
        // Only the view's entries: DURAND's unpaid care.
        QCOMPARE(window.followUp().size(), size_t(1));
        QCOMPARE(window.followUp().total(), 10000);
    });
    QCOMPARE(f.gridColumn("Date"), QStringList({"10/04/24", "12/05/24"}));
    QCOMPARE(f.table().fieldByName(DateSoins).asString(), QString("12/05/24"));
    QCOMPARE(f.totalsShown(), totals);
}

void TestMainWindowFollowUp::yearSummaryCoversEveryoneAndKeepsTheView()
{
    f.choose("lstListeBeneficiaires", "MARTIN");
    openFromMenu("mnuBilan", [](QDialog &dialog) {
        auto &window = static_cast<TFrmBilanAnnuel &>(dialog);
        QCOMPARE(window.summary().year(), 2024);
        QCOMPARE(window.summary().byBeneficiary().size(), 2);
        QCOMPARE(window.summary().total().cost, 18000);
        QCOMPARE(window.summary().bySpeciality().last().name, QString("Non précisée"));
    });
    QCOMPARE(f.gridColumn("Date"), QStringList({"01/02/24"}));
    QCOMPARE(f.table().fieldByName(DateSoins).asString(), QString("01/02/24"));
}

// The windows keep numbers and text numbers, not entries: what was just typed and posted in the
// main window is on its own line, with its own texts, the other lines unmoved.
void TestMainWindowFollowUp::entryTypedShowsInBothWindows()
{
    f.typeEntry("01/01/24", "DURAND", "42");
    QCOMPARE(f.table().state(), Table::State::Browse);
    openFromMenu("mnuSuivi", [](QDialog &dialog) {
        const QAbstractItemModel *lines = dialog.findChild<QTableView *>("grilleSuivi")->model();
        QCOMPARE(lines->rowCount(), 3);
        const auto row = [lines](int r) {
            QStringList texts;
            for (int c = 0; c < FollowUpModel::Count; ++c)
                texts << lines->index(r, c).data().toString();
            return texts;
        };
        const QString unpaid = Formats::money(0);
        QCOMPARE(row(0),
                 (QStringList{"01/01/24", "DURAND", "", Formats::money(4200), unpaid, unpaid,
                              Formats::money(4200), "C.P.A.M.",
                              AgeBands::text(int(QDate(2024, 1, 1).daysTo(Today::date())))}));
        QCOMPARE(row(1).mid(0, 4), (QStringList{"01/02/24", "MARTIN", "", Formats::money(3000)}));
        QCOMPARE(row(2).mid(0, 2), (QStringList{"10/04/24", "DURAND"}));
    });
    openFromMenu("mnuBilan", [](QDialog &dialog) {
        const YearSummary &summary = static_cast<TFrmBilanAnnuel &>(dialog).summary();
        QCOMPARE(summary.byBeneficiary().first().name, QString("DURAND"));
        QCOMPARE(summary.byBeneficiary().first().count, 3);
        QCOMPARE(summary.byBeneficiary().first().cost, 19200);
        QCOMPARE(summary.total().cost, 22200);
    });
}

void TestMainWindowFollowUp::helpOnF1_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("context");
    QTest::newRow("follow-up") << "mnuSuivi" << TFrmSuiviRemboursements::helpContext;
    QTest::newRow("year summary") << "mnuBilan" << TFrmBilanAnnuel::helpContext;
}

void TestMainWindowFollowUp::helpOnF1()
{
    QFETCH(QString, command);
    QFETCH(int, context);
    openFromMenu(qPrintable(command),
                 [](QDialog &) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1); });
    QVERIFY(Help::lastRequest().has_value());
    QCOMPARE(Help::lastRequest()->context, context);
}

QTEST_MAIN(TestMainWindowFollowUp)
#include "test_main_window_follow_up.moc"
