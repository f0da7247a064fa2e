#include "MainWindowFixture.h"

#include "platform/widgets/DBEdit.h"
#include "platform/widgets/DBMemo.h"

using namespace CareFields;

// A care entry typed with a value missing or a date that is not one: the platform's message,
// the entry kept in insert with what was typed, Escape abandoning it and nothing saved.
class TestMainWindowRefusals : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { MainWindowFixture::pinConventions(); }
    void init();
    void cleanup() { f.finish(); }

    void requiredValueRefused_data();
    void requiredValueRefused();
    void wrongDate_data();
    void wrongDate();

private:
    static const QStringList rowFields;
    DBEdit *edit(const char *name) { return f.child<DBEdit>(QLatin1String(name)); }

    MainWindowFixture f;
};

const QStringList TestMainWindowRefusals::rowFields{DateSoins, Beneficiaire, Medecin,       Cout,
                                                    NoteSoins, CPAMOuiNon,   MutuelleOuiNon};

void TestMainWindowRefusals::init()
{
    QVERIFY(f.prepare());
    f.seed({{DateSoins, "01/02/24"},
            {Beneficiaire, "MARTIN"},
            {Medecin, "DUPONT"},
            {Cout, "30"},
            {CPAMOuiNon, Faux},
            {MutuelleOuiNon, Faux}});
    f.seed({{DateSoins, "10/04/24"},
            {Beneficiaire, "DURAND"},
            {Medecin, "LEROY"},
            {Cout, "100"},
            {CPAMOuiNon, Faux},
            {MutuelleOuiNon, Faux}});
    f.putFile("LSTBENEF.LST", "TOUS\r\nMARTIN\r\nDURAND\r\n");
    QVERIFY(f.start());
}

void TestMainWindowRefusals::requiredValueRefused_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("beneficiary");
    QTest::addColumn<QString>("cost");
    QTest::addColumn<QString>("message");
    QTest::newRow("no cost") << "150324"
                             << "martin"
                             << ""
                             << "Le champ 'Coût' doit avoir une valeur";
    QTest::newRow("no date, no cost") << ""
                                      << "martin"
                                      << ""
                                      << "Le champ 'Date' doit avoir une valeur";
    QTest::newRow("no beneficiary") << "150324"
                                    << ""
                                    << "12"
                                    << "Le champ 'Bénéficiaire' doit avoir une valeur";
}

void TestMainWindowRefusals::requiredValueRefused()
{
    QFETCH(QString, date);
    QFETCH(QString, beneficiary);
    QFETCH(QString, cost);
    QFETCH(QString, message);
    const QStringList before = f.storedRows(rowFields);
    f.press(Qt::Key_Insert);
    MainWindowFixture::type(date);
    f.press(Qt::Key_Return);
    MainWindowFixture::type(beneficiary);
    QVERIFY(f.enterUntil("DBCout"));
    MainWindowFixture::type(cost);
    QVERIFY(f.enterUntil("DBMemoSoins"));
    MainWindowFixture::type("note");
    f.press(Qt::Key_Return);

    QCOMPARE(Dialogs::shownTexts(), QStringList({message}));
    QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Error);
    // The record stays in insert with what was typed.
    QCOMPARE(f.table().state(), Table::State::Insert);
    QCOMPARE(edit("DBBeneficiaire")->text(), beneficiary.toUpper());
    QCOMPARE(f.child<DBMemo>("DBMemoSoins")->toPlainText(), QString("note"));
    QCOMPARE(f.storedRows(rowFields), before);

    f.press(Qt::Key_Escape);
    QCOMPARE(f.table().state(), Table::State::Browse);
    QCOMPARE(f.gridColumn("Date"), QStringList({"01/02/24", "10/04/24"}));
    QCOMPARE(f.storedRows(rowFields), before);
    QCOMPARE(Dialogs::shownTexts().size(), 1);
}

void TestMainWindowRefusals::wrongDate_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::newRow("31 February") << "310224"
                                 << "'31/02/24' n'est pas une date correcte";
    QTest::newRow("29 February, not a leap year") << "290223"
                                                  << "'29/02/23' n'est pas une date correcte";
    QTest::newRow("month 13") << "011324"
                              << "'01/13/24' n'est pas une date correcte";
    QTest::newRow("year missing")
        << "0503"
        << "Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les modifications";
    QTest::newRow("29 February, leap year") << "290224"
                                            << "";
}

void TestMainWindowRefusals::wrongDate()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    const QStringList before = f.storedRows(rowFields);
    f.press(Qt::Key_Insert);
    MainWindowFixture::type(typed);
    f.press(Qt::Key_Return);
    if (message.isEmpty()) {
        QTest::qWait(20);
        QCOMPARE(Dialogs::shownTexts(), QStringList());
        QCOMPARE(f.focusedName(), QString("DBBeneficiaire"));
        return;
    }
    QTRY_COMPARE(Dialogs::shownTexts(), QStringList({message}));
    // The focus comes back to the date, the record stays in insert.
    QTRY_COMPARE(f.focusedName(), QString("DBDateSoins"));
    QCOMPARE(f.table().state(), Table::State::Insert);
    QTest::qWait(20);
    QCOMPARE(Dialogs::shownTexts().size(), 1);

    f.press(Qt::Key_Escape);
    QCOMPARE(f.table().state(), Table::State::Browse);
    QCOMPARE(f.gridColumn("Date"), QStringList({"01/02/24", "10/04/24"}));
    QCOMPARE(edit("DBDateSoins")->text(), QString("10/04/24"));
    QCOMPARE(f.storedRows(rowFields), before);
    QTest::qWait(20);
    QCOMPARE(Dialogs::shownTexts().size(), 1);
}

QTEST_MAIN(TestMainWindowRefusals)
#include "test_main_window_refusals.moc"
