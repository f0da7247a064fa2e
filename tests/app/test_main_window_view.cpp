#include "MainWindowFixture.h"

#include "platform/widgets/DBCheckBox.h"
#include "platform/widgets/DBEdit.h"
#include "platform/widgets/DBNavigator.h"

#include <QAbstractButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

using namespace CareFields;

// What the main window shows of the register: the two selectors narrowing the grid and the
// totals, the estimate box following the entry in view, deleting from the navigator, and the
// help topics of F1.
class TestMainWindowView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { MainWindowFixture::pinConventions(); }
    void init();
    void cleanup() { f.finish(); }

    void yearListFromTouteToThisYear();
    void startsUnfilteredOnLastEntry();
    void selectorsNarrowGridAndTotals_data();
    void selectorsNarrowGridAndTotals();
    void backToAllShowsEverything();
    void refusedSwitchKeepsSelectorsOnView_data();
    void refusedSwitchKeepsSelectorsOnView();

    void estimateBoxFollowsEntryWithoutChangingIt();
    void uncheckingPartialEmptiesEstimate();
    void checkingPartialEnablesEstimate();

    void deleteAsksFirst_data();
    void deleteAsksFirst();

    void helpTopics_data();
    void helpTopics();
    void helpButtonOpensContents();

private:
    DBEdit *estimate() { return f.child<DBEdit>("DBchpEstimation"); }
    DBCheckBox *partial() { return f.child<DBCheckBox>("ccMutuellePartiel"); }
    bool estimateLooksEnabled()
    {
        return estimate()->isEnabled() &&
               estimate()->palette().color(QPalette::Base) != QColor(0xC0, 0xC0, 0xC0);
    }
    bool estimateLooksSilver()
    {
        return !estimate()->isEnabled() &&
               estimate()->palette().color(QPalette::Base) == QColor(0xC0, 0xC0, 0xC0);
    }
    void goToRowOf(const QString &date);

    MainWindowFixture f;
};

// Four entries over two years and two people; the one of 12/05/24 is a partial reimbursement
// whose estimate is 40.
void TestMainWindowView::init()
{
    QVERIFY(f.prepare());
    f.seed({{DateSoins, "15/01/23"},
            {Beneficiaire, "MARTIN"},
            {Cout, "20"},
            {MontantCPAM, "14"},
            {CPAMOuiNon, Faux},
            {MutuelleOuiNon, Faux}});
    f.seed({{DateSoins, "01/02/24"},
            {Beneficiaire, "MARTIN"},
            {Cout, "30"},
            {MontantCPAM, "21"},
            {CPAMOuiNon, Faux},
            {MutuelleOuiNon, Faux}});
    f.seed({{DateSoins, "10/04/24"},
            {Beneficiaire, "DURAND"},
            {Cout, "100"},
            {MontantCPAM, "70"},
            {MontantMutuelle, "20"},
            {CPAMOuiNon, Faux},
            {MutuelleOuiNon, Faux}});
    f.seed({{DateSoins, "12/05/24"},
            {Beneficiaire, "DURAND"},
            {Cout, "50"},
            {MontantCPAM, "35"},
            {CPAMOuiNon, Faux},
            {MutuelleOuiNon, Vrai},
            {Estimation, "40"}});
    f.putFile("LSTBENEF.LST", "TOUS\r\nMARTIN\r\nDURAND\r\nMartin\r\n");
    QVERIFY(f.start());
}

void TestMainWindowView::goToRowOf(const QString &date)
{
    Table &table = f.table();
    for (table.first(); !table.eof(); table.next()) {
        if (table.fieldByName(DateSoins).asString() == date)
            return;
    }
    QFAIL(qPrintable("no entry of " + date));
}

void TestMainWindowView::yearListFromTouteToThisYear()
{
    const QStringList years = f.comboItems("lstListeAnnee");
    // 1995 to 2024, today's year.
    QCOMPARE(years.size(), 31);
    QCOMPARE(years.mid(0, 3), QStringList({"TOUTES", "1995", "1996"}));
    QCOMPARE(years.mid(28), QStringList({"2022", "2023", "2024"}));
    QCOMPARE(f.child<QComboBox>("lstListeAnnee")->isEditable(), false);
    QCOMPARE(f.child<QComboBox>("lstListeBeneficiaires")->isEditable(), false);
}

void TestMainWindowView::startsUnfilteredOnLastEntry()
{
    QCOMPARE(f.child<QComboBox>("lstListeAnnee")->currentText(), QString("TOUTES"));
    QCOMPARE(f.child<QComboBox>("lstListeBeneficiaires")->currentText(), QString("TOUS"));
    QVERIFY(!f.table().isFiltered());
    QCOMPARE(f.gridColumn("Date"), QStringList({"15/01/23", "01/02/24", "10/04/24", "12/05/24"}));
    QCOMPARE(f.gridCurrentRow(), 3);
    // Gaps 6 + 9 + 10 + 15; awaited 6 + 9 + 10 + (40 - 35).
    QCOMPARE(f.totalsShown(),
             QStringList({"Total coût : 200,00\u00A0€", "Total C.P.A.M.: 140,00\u00A0€",
                          "Total mutuelle : 20,00\u00A0€", "Total écart : 40,00\u00A0€",
                          "30,00\u00A0€"}));
}

void TestMainWindowView::selectorsNarrowGridAndTotals_data()
{
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("beneficiary");
    QTest::addColumn<QStringList>("dates");
    QTest::addColumn<QStringList>("totals");
    const auto totals = [](const char *cost, const char *cpam, const char *mutual, const char *gap,
                           const char *awaited) {
        const QString euro = QStringLiteral("\u00A0€");
        return QStringList{"Total coût : " + QLatin1String(cost) + euro,
                           "Total C.P.A.M.: " + QLatin1String(cpam) + euro,
                           "Total mutuelle : " + QLatin1String(mutual) + euro,
                           "Total écart : " + QLatin1String(gap) + euro,
                           QLatin1String(awaited) + euro};
    };
    QTest::newRow("2024, everybody") << "2024"
                                     << "TOUS" << QStringList{"01/02/24", "10/04/24", "12/05/24"}
                                     << totals("180,00", "126,00", "20,00", "34,00", "24,00");
    QTest::newRow("2023, everybody")
        << "2023"
        << "TOUS" << QStringList{"15/01/23"} << totals("20,00", "14,00", "0,00", "6,00", "6,00");
    QTest::newRow("every year, MARTIN") << "TOUTES"
                                        << "MARTIN" << QStringList{"15/01/23", "01/02/24"}
                                        << totals("50,00", "35,00", "0,00", "15,00", "15,00");
    QTest::newRow("2024, DURAND") << "2024"
                                  << "DURAND" << QStringList{"10/04/24", "12/05/24"}
                                  << totals("150,00", "105,00", "20,00", "25,00", "15,00");
    QTest::newRow("2023, DURAND: nothing")
        << "2023"
        << "DURAND" << QStringList{} << totals("0,00", "0,00", "0,00", "0,00", "0,00");
    QTest::newRow("name in other capitals: nothing")
        << "TOUTES"
        << "Martin" << QStringList{} << totals("0,00", "0,00", "0,00", "0,00", "0,00");
    QTest::newRow("1995: nothing")
        << "1995"
        << "TOUS" << QStringList{} << totals("0,00", "0,00", "0,00", "0,00", "0,00");
}

void TestMainWindowView::selectorsNarrowGridAndTotals()
{
    QFETCH(QString, year);
    QFETCH(QString, beneficiary);
    QFETCH(QStringList, dates);
    QFETCH(QStringList, totals);
    // Either selector first, the other second: the view is the same.
    f.choose("lstListeBeneficiaires", beneficiary);
    f.choose("lstListeAnnee", year);
    QCOMPARE(f.gridColumn("Date"), dates);
    QCOMPARE(f.totalsShown(), totals);
    QVERIFY(f.child<DBNavigator>("navTableTous")->hasFocus());

    f.choose("lstListeAnnee", "TOUTES");
    f.choose("lstListeBeneficiaires", "TOUS");
    f.choose("lstListeAnnee", year);
    f.choose("lstListeBeneficiaires", beneficiary);
    QCOMPARE(f.gridColumn("Date"), dates);
    QCOMPARE(f.totalsShown(), totals);
    // Looking changes no entry.
    QCOMPARE(f.table().state(), Table::State::Browse);
    QCOMPARE(f.storedRows({DateSoins}).size(), 4);
}

void TestMainWindowView::backToAllShowsEverything()
{
    f.choose("lstListeAnnee", "2023");
    f.choose("lstListeBeneficiaires", "DURAND");
    QCOMPARE(f.gridColumn("Date"), QStringList());
    f.choose("lstListeAnnee", "TOUTES");
    f.choose("lstListeBeneficiaires", "TOUS");
    QVERIFY(!f.table().isFiltered());
    QCOMPARE(f.gridColumn("Date").size(), 4);
    QCOMPARE(f.totalsShown().last(), QString("30,00\u00A0€"));
}

void TestMainWindowView::refusedSwitchKeepsSelectorsOnView_data()
{
    QTest::addColumn<QString>("selector");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("shownBefore");
    QTest::newRow("year") << "lstListeAnnee"
                          << "2023"
                          << "TOUTES";
    QTest::newRow("beneficiary") << "lstListeBeneficiaires"
                                 << "MARTIN"
                                 << "DURAND";
}

void TestMainWindowView::refusedSwitchKeepsSelectorsOnView()
{
    QFETCH(QString, selector);
    QFETCH(QString, item);
    QFETCH(QString, shownBefore);
    f.choose("lstListeBeneficiaires", "DURAND");
    const QStringList totals = f.totalsShown();
    // An entry begun without its beneficiary cannot be saved by the view switch.
    f.press(Qt::Key_Insert);
    MainWindowFixture::type("150324");
    f.choose(selector, item);
    QCOMPARE(Dialogs::shownTexts(), QStringList({"Le champ 'Bénéficiaire' doit avoir une valeur"}));
    QCOMPARE(f.child<QComboBox>(selector)->currentText(), shownBefore);
    QCOMPARE(f.child<QComboBox>("lstListeAnnee")->currentText(), QString("TOUTES"));
    QCOMPARE(f.child<QComboBox>("lstListeBeneficiaires")->currentText(), QString("DURAND"));
    QCOMPARE(f.gridColumn("Date"), QStringList({"10/04/24", "12/05/24", "15/03/24"}));
    QCOMPARE(f.totalsShown(), totals);
    QCOMPARE(f.table().state(), Table::State::Insert);

    // Once the entry is abandoned the same choice goes through.
    f.press(Qt::Key_Escape);
    f.choose(selector, item);
    QCOMPARE(f.child<QComboBox>(selector)->currentText(), item);
    QCOMPARE(Dialogs::shownTexts().size(), 1);
}

void TestMainWindowView::estimateBoxFollowsEntryWithoutChangingIt()
{
    // The last entry, in view at start, is the partial one.
    QCOMPARE(f.gridCurrentRow(), 3);
    QCOMPARE(partial()->checkState(), Qt::Checked);
    QVERIFY(estimateLooksEnabled());
    QCOMPARE(estimate()->text(), QString("40,00\u00A0€"));

    f.child<DBEdit>("DBPraticien")->setFocus();
    f.press(Qt::Key_Up);
    QCOMPARE(f.gridCurrentRow(), 2);
    QCOMPARE(partial()->checkState(), Qt::Unchecked);
    QVERIFY(estimateLooksSilver());
    // Coming into view changes nothing.
    QCOMPARE(f.table().state(), Table::State::Browse);
    QVERIFY(!f.table().isModified());
    QCOMPARE(f.storedRows({DateSoins, MutuelleOuiNon, Estimation}).last(),
             QString("12/05/24|Vrai|40,00"));

    f.press(Qt::Key_Down);
    QCOMPARE(partial()->checkState(), Qt::Checked);
    QVERIFY(estimateLooksEnabled());
    QCOMPARE(estimate()->text(), QString("40,00\u00A0€"));
    QCOMPARE(f.totalsShown().last(), QString("30,00\u00A0€"));
    QCOMPARE(f.table().state(), Table::State::Browse);
}

void TestMainWindowView::uncheckingPartialEmptiesEstimate()
{
    QCOMPARE(partial()->checkState(), Qt::Checked);
    QTest::mouseClick(partial(), Qt::LeftButton, {}, QPoint(6, partial()->height() / 2));
    QCOMPARE(partial()->checkState(), Qt::Unchecked);
    QVERIFY(estimateLooksSilver());
    QCOMPARE(f.table().state(), Table::State::Edit);
    QVERIFY(f.table().fieldByName(Estimation).isNull());
    QCOMPARE(estimate()->text(), QString());
    // Nothing on disk until the entry is saved...
    QCOMPARE(f.storedRows({MutuelleOuiNon, Estimation}).last(), QString("Vrai|40,00"));
    f.child<DBNavigator>("navTableTous")->click(DBNavigator::Button::Post);
    QCOMPARE(f.storedRows({MutuelleOuiNon, Estimation}).last(), QString("Faux|<null>"));
    // ... and the entry now awaits its whole gap, 15: 6 + 9 + 10 + 15.
    QCOMPARE(f.totalsShown().last(), QString("40,00\u00A0€"));
}

void TestMainWindowView::checkingPartialEnablesEstimate()
{
    goToRowOf("10/04/24");
    QVERIFY(estimateLooksSilver());
    QTest::mouseClick(partial(), Qt::LeftButton, {}, QPoint(6, partial()->height() / 2));
    QCOMPARE(partial()->checkState(), Qt::Checked);
    QVERIFY(estimateLooksEnabled());
    QCOMPARE(f.table().state(), Table::State::Edit);
    estimate()->setFocus();
    MainWindowFixture::type("95");
    f.child<DBNavigator>("navTableTous")->click(DBNavigator::Button::Post);
    QCOMPARE(f.storedRows({DateSoins, MutuelleOuiNon, Estimation}).at(2),
             QString("10/04/24|Vrai|95,00"));
    // That entry now awaits 95 - 90 instead of 10: 6 + 9 + 5 + 5.
    QCOMPARE(f.totalsShown().last(), QString("25,00\u00A0€"));

    // Escape after unchecking brings the estimate back.
    QTest::mouseClick(partial(), Qt::LeftButton, {}, QPoint(6, partial()->height() / 2));
    QCOMPARE(estimate()->text(), QString());
    f.press(Qt::Key_Escape);
    QCOMPARE(partial()->checkState(), Qt::Checked);
    QVERIFY(estimateLooksEnabled());
    QCOMPARE(estimate()->text(), QString("95,00\u00A0€"));
}

void TestMainWindowView::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("dates");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("yes") << true << QStringList{"01/02/24", "10/04/24", "12/05/24"}
                         << QStringList{"TOUS", "DURAND", "Martin"};
    QTest::newRow("no") << false << QStringList{"15/01/23", "01/02/24", "10/04/24", "12/05/24"}
                        << QStringList{"TOUS", "MARTIN", "DURAND", "Martin"};
}

void TestMainWindowView::deleteAsksFirst()
{
    QFETCH(bool, yes);
    QFETCH(QStringList, dates);
    QFETCH(QStringList, names);
    // MARTIN's only entry of 2023 in a view of 2023: the name goes with it.
    f.choose("lstListeAnnee", "2023");
    Dialogs::queueAnswer(yes ? Dialogs::Answer::Yes : Dialogs::Answer::No);
    QTest::mouseClick(f.child<DBNavigator>("navTableTous")->button(DBNavigator::Button::Delete),
                      Qt::LeftButton);
    QCOMPARE(Dialogs::shownTexts(), QStringList({"Supprimer l'enregistrement ?"}));
    QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Question);
    QCOMPARE(f.storedRows({DateSoins}), dates);
    QCOMPARE(f.comboItems("lstListeBeneficiaires"), names);
    QCOMPARE(f.totalsShown().first(),
             QString(yes ? "Total coût : 0,00\u00A0€" : "Total coût : 20,00\u00A0€"));
}

void TestMainWindowView::helpTopics_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("context");
    QTest::newRow("grid") << "DBGrille" << 0 << 24;
    QTest::newRow("date of the care") << "DBDateSoins" << 0 << 25;
    QTest::newRow("cost") << "DBCout" << 0 << 25;
    QTest::newRow("note of the care") << "DBMemoSoins" << 0 << 25;
    QTest::newRow("partial check box") << "ccMutuellePartiel" << 0 << 25;
    QTest::newRow("national insurance base") << "DBchpBase" << 1 << 25;
    QTest::newRow("mutual insurer amount") << "DBchpMontantMutuelle" << 2 << 25;
}

void TestMainWindowView::helpTopics()
{
    QFETCH(QString, control);
    QFETCH(int, page);
    QFETCH(int, context);
    f.child<QTabWidget>("OngletsSaisie")->setCurrentIndex(page);
    f.child<QWidget>(control)->setFocus();
    QCOMPARE(f.focusedName(), control);
    f.press(Qt::Key_F1);
    QVERIFY(Help::lastRequest().has_value());
    QCOMPARE(Help::lastRequest()->context, context);
    // F1 is help, nothing else: the entry is untouched.
    QCOMPARE(f.table().state(), Table::State::Browse);
}

void TestMainWindowView::helpButtonOpensContents()
{
    auto *button = f.child<QToolButton>("btnAide");
    QCOMPARE(button->toolTip(), QString("Aide sur Talo 3.0"));
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(Help::lastRequest().has_value());
    QCOMPARE(Help::lastRequest()->context, int(Help::Contents));
    Help::clearLastRequest();
    f.child<QAction>("mnuAide")->trigger();
    QVERIFY(Help::lastRequest().has_value());
    QCOMPARE(Help::lastRequest()->context, int(Help::Contents));
}

QTEST_MAIN(TestMainWindowView)
#include "test_main_window_view.moc"
