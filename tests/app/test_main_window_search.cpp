#include "MainWindowFixture.h"

#include "app/TFrmRechercher.h"

#include <QAction>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

using namespace CareFields;

// " Rechercher" (Ctrl+F) from the main window as a person uses it: the keys from the grid or
// a field, typing, Down and Enter on a result, and the main window showing the entry found,
// its selectors changed only when the view hid it, the caret in the care date.
class TestMainWindowSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { MainWindowFixture::pinConventions(); }
    void init();
    void cleanup() { f.finish(); }

    void foundEntryShown_data();
    void foundEntryShown();
    void pendingEntrySavedFirst();
    void refusedEntryKeepsTheWindowClosed();
    void escapeChangesNothingAndTheTextComesBack();
    void helpOnF1();

private:
    // Ctrl+F pressed in the focused control; `inside` acts in the search window once it is
    // active, which is then closed unless `inside` closed it. False if no window opened.
    bool search(const std::function<void(TFrmRechercher &)> &inside);
    static void key(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); }

    MainWindowFixture f;
};

// Newest first, a search for "dupont" lists: 20/05/24 LUCIE, 03/03/23 PAUL.
void TestMainWindowSearch::init()
{
    QVERIFY(f.prepare());
    f.seed({{DateSoins, "03/03/23"},
            {Beneficiaire, "PAUL"},
            {Medecin, "DUPONT"},
            {Cout, "25"},
            {CPAMOuiNon, Faux},
            {MutuelleOuiNon, Faux}});
    f.seed({{DateSoins, "10/04/24"},
            {Beneficiaire, "PAUL"},
            {Medecin, "MARTIN"},
            {Cout, "12,5"},
            {NoteSoins, "Carie à surveiller"},
            {CPAMOuiNon, Faux},
            {MutuelleOuiNon, Faux}});
    f.seed({{DateSoins, "20/05/24"},
            {Beneficiaire, "LUCIE"},
            {Medecin, "DUPONT"},
            {Specialite, "Pédiatrie"},
            {Cout, "30"},
            {CPAMOuiNon, Faux},
            {MutuelleOuiNon, Faux}});
    f.putFile("LSTBENEF.LST", "TOUS\r\nPAUL\r\nLUCIE\r\n");
    QVERIFY(f.start());
}

bool TestMainWindowSearch::search(const std::function<void(TFrmRechercher &)> &inside)
{
    // The main window in front again before the next Ctrl+F, as the window manager puts it
    // once a dialog closes (the offscreen platform does not).
    f.main().activateWindow();
    if (!QTest::qWaitForWindowActive(&f.main()))
        return false;
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto *window = qobject_cast<TFrmRechercher *>(QApplication::activeModalWidget());
        if (!window)
            return;
        ran = true;
        QTRY_COMPARE(QApplication::activeWindow(), window);
        QTRY_VERIFY(window->isAncestorOf(QApplication::focusWidget()));
        inside(*window);
        if (window->isVisible())
            window->reject();
    });
    f.press(Qt::Key_F, Qt::ControlModifier);
    return ran;
}

void TestMainWindowSearch::foundEntryShown_data()
{
    QTest::addColumn<QString>("from"); // the control with the caret when Ctrl+F is pressed
    QTest::addColumn<QString>("year"); // the view before
    QTest::addColumn<QString>("person");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("downs"); // Down presses from the field
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("yearAfter");
    QTest::addColumn<QString>("personAfter");
    QTest::newRow("from the grid, the view holds it") << "DBGrille"
                                                      << "TOUTES"
                                                      << "TOUS"
                                                      << "carie" << 1 << "10/04/24"
                                                      << "TOUTES"
                                                      << "TOUS";
    QTest::newRow("Enter in the field takes the first") << "DBGrille"
                                                        << "TOUTES"
                                                        << "TOUS"
                                                        << "dupont" << 0 << "20/05/24"
                                                        << "TOUTES"
                                                        << "TOUS";
    QTest::newRow("from a field, another year") << "DBCout"
                                                << "2024"
                                                << "PAUL"
                                                << "dupont" << 2 << "03/03/23"
                                                << "2023"
                                                << "PAUL";
    QTest::newRow("from a note, another person") << "DBMemoSoins"
                                                 << "2024"
                                                 << "PAUL"
                                                 << "pediatrie" << 1 << "20/05/24"
                                                 << "2024"
                                                 << "LUCIE";
    QTest::newRow("an amount, the view kept") << "DBDateSoins"
                                              << "2024"
                                              << "PAUL"
                                              << "12,5" << 1 << "10/04/24"
                                              << "2024"
                                              << "PAUL";
}

void TestMainWindowSearch::foundEntryShown()
{
    QFETCH(QString, from);
    QFETCH(QString, year);
    QFETCH(QString, person);
    QFETCH(QString, typed);
    QFETCH(int, downs);
    f.choose("lstListeAnnee", year);
    f.choose("lstListeBeneficiaires", person);
    if (from == "DBGrille") {
        f.child<QWidget>(from)->setFocus();
    } else {
        f.child<QTabWidget>("OngletsSaisie")->setCurrentIndex(0);
        f.child<QWidget>(from)->setFocus();
    }
    QCOMPARE(f.focusedName(), from);
    const bool opened = search([&](TFrmRechercher &window) {
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("chpRecherche"));
        MainWindowFixture::type(typed);
        QVERIFY(window.findChild<QTableView *>("grilleResultats")->model()->rowCount() > 0);
        for (int i = 0; i < downs; ++i)
            key(Qt::Key_Down);
        key(Qt::Key_Return);
        QVERIFY(!window.isVisible());
    });
    QVERIFY(opened);
    QTEST(f.table().fieldByName(DateSoins).asString(), "date");
    QTEST(f.child<QComboBox>("lstListeAnnee")->currentText(), "yearAfter");
    QTEST(f.child<QComboBox>("lstListeBeneficiaires")->currentText(), "personAfter");
    QCOMPARE(f.child<QTabWidget>("OngletsSaisie")->currentIndex(), 0);
    QVERIFY(f.main().focusWidget());
    QCOMPARE(f.main().focusWidget()->objectName(), QString("DBDateSoins"));
    QCOMPARE(f.table().state(), Table::State::Browse);
    // The grid shows the new view with the entry current.
    QCOMPARE(f.gridColumn("Date").value(f.gridCurrentRow()),
             f.table().fieldByName(DateSoins).asString());
}

void TestMainWindowSearch::pendingEntrySavedFirst()
{
    f.table().last(); // 20/05/24 LUCIE, 30 €
    f.child<QTabWidget>("OngletsSaisie")->setCurrentIndex(0);
    f.child<QWidget>("DBCout")->setFocus();
    QTest::keyClick(f.child<QWidget>("DBCout"), Qt::Key_A, Qt::ControlModifier);
    MainWindowFixture::type("47,25");
    QVERIFY(f.table().isEditing());
    QVERIFY(search([](TFrmRechercher &window) {
        MainWindowFixture::type("47,25");
        QCOMPARE(window.findChild<QTableView *>("grilleResultats")->model()->rowCount(), 1);
    }));
    QVERIFY(f.storedRows({DateSoins, Cout}).contains("20/05/24|47,25"));
}

void TestMainWindowSearch::refusedEntryKeepsTheWindowClosed()
{
    f.press(Qt::Key_Insert); // a new entry: date only, no beneficiary nor cost
    MainWindowFixture::type("01/06/24");
    Dialogs::clearShown();
    QVERIFY(!search([](TFrmRechercher &) {}));
    QCOMPARE(Dialogs::shownTexts().size(), 1);
    QVERIFY(Dialogs::shownTexts().first().contains("Bénéficiaire"));
    QVERIFY(f.table().isEditing());
}

void TestMainWindowSearch::escapeChangesNothingAndTheTextComesBack()
{
    f.choose("lstListeBeneficiaires", "PAUL");
    f.table().first();
    QVERIFY(search([](TFrmRechercher &window) {
        MainWindowFixture::type("lucie");
        key(Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }));
    QCOMPARE(f.child<QComboBox>("lstListeBeneficiaires")->currentText(), QString("PAUL"));
    QCOMPARE(f.table().fieldByName(DateSoins).asString(), QString("03/03/23"));
    QVERIFY(search([](TFrmRechercher &window) {
        auto *field = window.findChild<QLineEdit *>("chpRecherche");
        QCOMPARE(field->text(), QString("lucie"));
        QCOMPARE(field->selectedText(), QString("lucie"));
        QCOMPARE(window.findChild<QTableView *>("grilleResultats")->model()->rowCount(), 1);
    }));
}

void TestMainWindowSearch::helpOnF1()
{
    Help::clearLastRequest();
    QVERIFY(search([](TFrmRechercher &) { key(Qt::Key_F1); }));
    QVERIFY(Help::lastRequest().has_value());
    QCOMPARE(Help::lastRequest()->context, TFrmRechercher::helpContext);
}

QTEST_MAIN(TestMainWindowSearch)
#include "test_main_window_search.moc"
