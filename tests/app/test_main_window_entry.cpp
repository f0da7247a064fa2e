#include "MainWindowFixture.h"

#include "platform/widgets/DBCheckBox.h"
#include "platform/widgets/DBComboBox.h"
#include "platform/widgets/DBEdit.h"
#include "platform/widgets/DBMemo.h"
#include "platform/widgets/DBNavigator.h"

#include <QTabWidget>

using namespace CareFields;

// Typing care entries in the main window with the keyboard alone, as the user does: Insert,
// the fields one by one with Enter, Enter in the note to save; Escape, Up and Down; a click
// selecting a field's text.
class TestMainWindowEntry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { MainWindowFixture::pinConventions(); }
    void init();
    void cleanup() { f.finish(); }

    void insertShowsSoinsPageWithNewRecordAtEnd();
    void keyboardRoadOfOneEntry();
    void rateFollowsBaseAndAmountAsTyped();
    void partialEntryByKeyboard();
    void typedCase_data();
    void typedCase();
    void escapeAbandonsNewEntry();
    void upAndDownBrowse();
    void downAfterEnterInNoteBrowses_data();
    void downAfterEnterInNoteBrowses();
    void modifiedRecordPostedWhenMoving();
    void clickSelectsWholeText_data();
    void clickSelectsWholeText();
    void typingAfterClickReplacesCost();

private:
    static const QStringList rowFields;
    DBEdit *edit(const char *name) { return f.child<DBEdit>(QLatin1String(name)); }

    MainWindowFixture f;
};

const QStringList TestMainWindowEntry::rowFields{DateSoins,  Beneficiaire, Medecin,
                                                 Specialite, Paiement,     Cout,
                                                 NoteSoins,  CPAMOuiNon,   MutuelleOuiNon};

void TestMainWindowEntry::init()
{
    QVERIFY(f.prepare());
    f.seed({{DateSoins, "01/02/24"},
            {Beneficiaire, "MARTIN"},
            {Medecin, "DUPONT"},
            {Cout, "30"},
            {MontantCPAM, "21"},
            {CPAMOuiNon, Faux},
            {MutuelleOuiNon, Faux}});
    f.seed({{DateSoins, "10/04/24"},
            {Beneficiaire, "DURAND"},
            {Medecin, "LEROY"},
            {Cout, "100"},
            {MontantCPAM, "70"},
            {MontantMutuelle, "20"},
            {CPAMOuiNon, Faux},
            {MutuelleOuiNon, Faux}});
    f.putFile("LSTBENEF.LST", "TOUS\r\nMARTIN\r\nDURAND\r\n");
    QVERIFY(f.start());
}

void TestMainWindowEntry::insertShowsSoinsPageWithNewRecordAtEnd()
{
    auto *pages = f.child<QTabWidget>("OngletsSaisie");
    // Start from another page, its first field focused as a tab click leaves it.
    QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(2).center());
    QCOMPARE(f.focusedName(), QString("DBchpDateMutuelle"));

    f.press(Qt::Key_Insert);
    QCOMPARE(pages->currentWidget()->objectName(), QString("pageSoins"));
    QCOMPARE(f.focusedName(), QString("DBDateSoins"));
    QCOMPARE(f.table().state(), Table::State::Insert);
    QCOMPARE(f.gridColumn("Date"), QStringList({"01/02/24", "10/04/24", ""}));
    QCOMPARE(f.gridCurrentRow(), 2);
    QCOMPARE(edit("DBDateSoins")->displayText(), QString("__/__/__"));
    QCOMPARE(edit("DBBeneficiaire")->text(), QString());
    QCOMPARE(edit("DBCout")->text(), QString());
    QCOMPARE(f.storedRows({DateSoins}).size(), 2);
}

void TestMainWindowEntry::rateFollowsBaseAndAmountAsTyped()
{
    auto *pages = f.child<QTabWidget>("OngletsSaisie");
    QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(1).center());
    QVERIFY(f.enterUntil("DBchpBase"));
    f.type("80");
    f.press(Qt::Key_Return);
    f.type("52");
    f.press(Qt::Key_Return);
    QCOMPARE(f.table().state(), Table::State::Edit);
    QCOMPARE(edit("DBchpPourcentage")->text(), QString("65%"));
    for (int i = 0; i < 4 && f.focusedName() != "DBchpBase"; ++i)
        f.press(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(f.focusedName(), QString("DBchpBase"));
    f.type("100");
    f.press(Qt::Key_Return);
    QCOMPARE(f.table().state(), Table::State::Edit);
    QCOMPARE(edit("DBchpPourcentage")->text(), QString("52%"));
}

void TestMainWindowEntry::keyboardRoadOfOneEntry()
{
    const QStringList before = f.storedRows(rowFields);
    f.press(Qt::Key_Insert);

    struct Step {
        const char *control;
        QString typed;
        const char *next; // where Enter leaves the focus
    };
    const Step steps[] = {
        {"DBDateSoins", "150324", "DBBeneficiaire"},
        {"DBBeneficiaire", "martin", "DBPraticien"},
        {"DBPraticien", "dupont", "DBSpecialite"},
        {"DBSpecialite", "radiologie échographie", "DBPaiement"},
        {"DBPaiement", "e", "DBCout"},
        {"DBCout", "45,5", "ccMutuellePartiel"},
        // The estimate is disabled for an entry not marked partial: Enter goes past it.
        {"ccMutuellePartiel", "", "DBMemoSoins"},
    };
    for (const Step &step : steps) {
        QCOMPARE(f.focusedName(), QLatin1String(step.control));
        MainWindowFixture::type(step.typed);
        f.press(Qt::Key_Return);
        QCOMPARE(f.focusedName(), QLatin1String(step.next));
        // Enter in an edit only moves on: nothing is saved yet.
        QCOMPARE(f.table().state(), Table::State::Insert);
        QCOMPARE(f.storedRows(rowFields), before);
    }
    QCOMPARE(edit("DBDateSoins")->text(), QString("15/03/24"));
    QCOMPARE(edit("DBBeneficiaire")->text(), QString("MARTIN"));
    QCOMPARE(edit("DBPraticien")->text(), QString("DUPONT"));
    QCOMPARE(edit("DBSpecialite")->text(), QString("Radiologie échographie"));
    QCOMPARE(f.child<DBComboBox>("DBPaiement")->currentText(), QString("Espèces"));

    MainWindowFixture::type("Contrôle annuel");
    f.press(Qt::Key_Return);
    QCOMPARE(f.table().state(), Table::State::Browse);
    QVERIFY(f.focusedName() != QString("DBMemoSoins"));
    // The Enter character never reached the note.
    QCOMPARE(f.child<DBMemo>("DBMemoSoins")->toPlainText(), QString("Contrôle annuel"));
    QCOMPARE(f.storedRows(rowFields),
             QStringList({before[0],
                          "15/03/24|MARTIN|DUPONT|Radiologie échographie|Espèces|45,50|"
                          "Contrôle annuel|Faux|Faux",
                          before[1]}));
    QCOMPARE(f.gridColumn("Date"), QStringList({"01/02/24", "15/03/24", "10/04/24"}));
    QCOMPARE(f.gridColumn("Bénéficiaire"), QStringList({"MARTIN", "MARTIN", "DURAND"}));
    QCOMPARE(f.gridColumn("Coût"), QStringList({"30,00\u00A0€", "45,50\u00A0€", "100,00\u00A0€"}));
    QCOMPARE(f.gridCurrentRow(), 1);
    QCOMPARE(f.totalsShown(),
             QStringList({"Total coût : 175,50\u00A0€", "Total C.P.A.M.: 91,00\u00A0€",
                          "Total mutuelle : 20,00\u00A0€", "Total écart : 64,50\u00A0€",
                          "64,50\u00A0€"}));
    // A name already listed is not listed twice.
    QCOMPARE(f.comboItems("lstListeBeneficiaires"), QStringList({"TOUS", "MARTIN", "DURAND"}));
}

void TestMainWindowEntry::partialEntryByKeyboard()
{
    f.press(Qt::Key_Insert);
    MainWindowFixture::type("150324");
    f.press(Qt::Key_Return);
    MainWindowFixture::type("durand");
    QVERIFY(f.enterUntil("DBCout"));
    MainWindowFixture::type("80");
    f.press(Qt::Key_Return);
    QCOMPARE(f.focusedName(), QString("ccMutuellePartiel"));
    QVERIFY(!edit("DBchpEstimation")->isEnabled());
    // Space ticks the box: the estimate opens and Enter now stops in it.
    f.press(Qt::Key_Space);
    QCOMPARE(f.child<DBCheckBox>("ccMutuellePartiel")->checkState(), Qt::Checked);
    QVERIFY(edit("DBchpEstimation")->isEnabled());
    f.press(Qt::Key_Return);
    QCOMPARE(f.focusedName(), QString("DBchpEstimation"));
    MainWindowFixture::type("60");
    f.press(Qt::Key_Return);
    QCOMPARE(f.focusedName(), QString("DBMemoSoins"));
    QCOMPARE(f.table().state(), Table::State::Insert);
    f.press(Qt::Key_Return);
    QCOMPARE(Dialogs::shownTexts(), QStringList());
    QCOMPARE(f.storedRows({DateSoins, Cout, MutuelleOuiNon, Estimation}).at(1),
             QString("15/03/24|80,00|Vrai|60,00"));
    // Awaited: 9 + 10 from the others, 60 - 0 for this one.
    QCOMPARE(f.totalsShown().last(), QString("79,00\u00A0€"));
}

void TestMainWindowEntry::typedCase_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("stored");
    QTest::newRow("beneficiary in capitals") << "DBBeneficiaire"
                                             << "petit" << Beneficiaire << "PETIT";
    QTest::newRow("beneficiary, accents in capitals") << "DBBeneficiaire"
                                                      << "hélène" << Beneficiaire << "HÉLÈNE";
    QTest::newRow("doctor in capitals") << "DBPraticien"
                                        << "le goff" << Medecin << "LE GOFF";
    QTest::newRow("speciality, two words")
        << "DBSpecialite"
        << "médecine générale" << Specialite << "Médecine Générale";
    QTest::newRow("speciality, accented initial kept small")
        << "DBSpecialite"
        << "radiologie échographie" << Specialite << "Radiologie échographie";
    QTest::newRow("speciality, capitals typed stay") << "DBSpecialite"
                                                     << "ORL" << Specialite << "ORL";
}

void TestMainWindowEntry::typedCase()
{
    QFETCH(QString, control);
    QFETCH(QString, typed);
    QFETCH(QString, field);
    QFETCH(QString, stored);
    f.press(Qt::Key_Insert);
    MainWindowFixture::type("200524");
    f.press(Qt::Key_Return);
    if (control != "DBBeneficiaire")
        MainWindowFixture::type("leroux");
    QVERIFY(f.enterUntil(control));
    MainWindowFixture::type(typed);
    QVERIFY(f.enterUntil("DBCout"));
    MainWindowFixture::type("12");
    QVERIFY(f.enterUntil("DBMemoSoins"));
    f.press(Qt::Key_Return);
    QCOMPARE(Dialogs::shownTexts(), QStringList());
    QCOMPARE(f.storedRows({DateSoins, field}).last(), "20/05/24|" + stored);
}

void TestMainWindowEntry::escapeAbandonsNewEntry()
{
    const QStringList before = f.storedRows(rowFields);
    f.press(Qt::Key_Insert);
    MainWindowFixture::type("150324");
    f.press(Qt::Key_Return);
    MainWindowFixture::type("martin");
    f.press(Qt::Key_Escape);
    QCOMPARE(f.table().state(), Table::State::Browse);
    QCOMPARE(f.gridColumn("Date"), QStringList({"01/02/24", "10/04/24"}));
    QCOMPARE(f.gridCurrentRow(), 1);
    QCOMPARE(edit("DBBeneficiaire")->text(), QString("DURAND"));
    QCOMPARE(f.storedRows(rowFields), before);
    QCOMPARE(Dialogs::shownTexts(), QStringList());
}

void TestMainWindowEntry::upAndDownBrowse()
{
    Table &table = f.table();
    table.append();
    table.fieldByName(DateSoins).setAsString("20/05/24");
    table.fieldByName(Beneficiaire).setAsString("PETIT");
    table.fieldByName(Cout).setAsString("10");
    table.post();
    QCOMPARE(f.gridCurrentRow(), 2);

    struct Move {
        Qt::Key key;
        int row;
        const char *beneficiary;
    };
    const Move moves[] = {{Qt::Key_Up, 1, "DURAND"},  {Qt::Key_Up, 0, "MARTIN"},
                          {Qt::Key_Up, 0, "MARTIN"},  {Qt::Key_Down, 1, "DURAND"},
                          {Qt::Key_Down, 2, "PETIT"}, {Qt::Key_Down, 2, "PETIT"}};
    edit("DBPraticien")->setFocus();
    for (const Move &move : moves) {
        f.press(move.key);
        QCOMPARE(f.gridCurrentRow(), move.row);
        QCOMPARE(edit("DBBeneficiaire")->text(), QLatin1String(move.beneficiary));
        QCOMPARE(f.focusedName(), QString("DBPraticien"));
    }
    // In the grid the arrow moves by one row, not twice.
    auto *grid = f.child<DBGrid>("DBGrille");
    grid->setFocus();
    f.press(Qt::Key_Up);
    QCOMPARE(f.gridCurrentRow(), 1);
    QCOMPARE(edit("DBBeneficiaire")->text(), QString("DURAND"));
    // Browsing changes nothing: no edit, no new record at the end.
    QCOMPARE(f.table().state(), Table::State::Browse);
    QCOMPARE(f.storedRows({Beneficiaire}), QStringList({"MARTIN", "DURAND", "PETIT"}));
}

void TestMainWindowEntry::downAfterEnterInNoteBrowses_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("note");
    QTest::addColumn<QString>("landing");
    QTest::newRow("Soins") << 0 << "DBMemoSoins"
                           << "DBDateSoins";
    QTest::newRow("C.P.A.M.") << 1 << "DBMemoCPAM"
                              << "DBchpDateCPAM";
    QTest::newRow("Mutuelle") << 2 << "DBMemoMutuelle"
                              << "DBchpDateMutuelle";
}

void TestMainWindowEntry::downAfterEnterInNoteBrowses()
{
    QFETCH(int, page);
    QFETCH(QString, note);
    QFETCH(QString, landing);
    // A new entry of March lands between the two seeded ones; its note is where Enter saves.
    f.typeEntry("150324", "martin", "45");
    QCOMPARE(f.gridCurrentRow(), 1);
    auto *pages = f.child<QTabWidget>("OngletsSaisie");
    QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(page).center());
    QVERIFY(f.enterUntil(note));
    MainWindowFixture::type("vu");
    f.press(Qt::Key_Return);
    QCOMPARE(f.table().state(), Table::State::Browse);
    QCOMPARE(f.focusedName(), landing);

    f.press(Qt::Key_Down);
    QCOMPARE(
        f.comboItems("lstListeAnnee").indexOf(f.child<QComboBox>("lstListeAnnee")->currentText()),
        0);
    QCOMPARE(f.gridColumn("Date"), QStringList({"01/02/24", "15/03/24", "10/04/24"}));
    QCOMPARE(f.gridCurrentRow(), 2);
    QCOMPARE(edit("DBBeneficiaire")->text(), QString("DURAND"));
    // Insert and typing go on from there.
    f.press(Qt::Key_Insert);
    MainWindowFixture::type("200524");
    QCOMPARE(edit("DBDateSoins")->text(), QString("20/05/24"));
}

void TestMainWindowEntry::modifiedRecordPostedWhenMoving()
{
    edit("DBPraticien")->setFocus();
    QCOMPARE(f.gridCurrentRow(), 1);
    MainWindowFixture::type("bernard");
    QCOMPARE(f.table().state(), Table::State::Edit);
    f.press(Qt::Key_Up);
    QCOMPARE(f.table().state(), Table::State::Browse);
    QCOMPARE(f.gridCurrentRow(), 0);
    QCOMPARE(edit("DBPraticien")->text(), QString("DUPONT"));
    QCOMPARE(f.storedRows({DateSoins, Medecin}),
             QStringList({"01/02/24|DUPONT", "10/04/24|BERNARD"}));
    QCOMPARE(f.gridColumn("Médecin"), QStringList({"DUPONT", "BERNARD"}));
}

void TestMainWindowEntry::clickSelectsWholeText_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("whole");
    QTest::newRow("date") << "DBDateSoins"
                          << "10/04/24";
    QTest::newRow("beneficiary") << "DBBeneficiaire"
                                 << "DURAND";
    QTest::newRow("doctor") << "DBPraticien"
                            << "LEROY";
    QTest::newRow("cost") << "DBCout"
                          << "100,00";
}

void TestMainWindowEntry::clickSelectsWholeText()
{
    QFETCH(QString, control);
    QFETCH(QString, whole);
    f.child<DBMemo>("DBMemoSoins")->setFocus();
    DBEdit *target = f.child<DBEdit>(control);
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(4, target->height() / 2));
    QCOMPARE(f.focused(), target);
    QCOMPARE(target->selectedText(), whole);
    // A second click, the edit already focused, selects it all again.
    target->deselect();
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(6, target->height() / 2));
    QCOMPARE(target->selectedText(), whole);
    QCOMPARE(f.table().state(), Table::State::Browse);
}

void TestMainWindowEntry::typingAfterClickReplacesCost()
{
    DBEdit *cost = edit("DBCout");
    edit("DBBeneficiaire")->setFocus();
    QTest::mouseClick(cost, Qt::LeftButton, {}, QPoint(cost->width() - 4, cost->height() / 2));
    MainWindowFixture::type("45");
    QCOMPARE(cost->text(), QString("45"));
    QCOMPARE(f.table().state(), Table::State::Edit);
    f.child<DBNavigator>("navTableTous")->click(DBNavigator::Button::Post);
    QCOMPARE(f.table().state(), Table::State::Browse);
    QCOMPARE(f.storedRows({DateSoins, Cout}), QStringList({"01/02/24|30,00", "10/04/24|45,00"}));
    QCOMPARE(f.totalsShown().at(0), QString("Total coût : 75,00\u00A0€"));
}

QTEST_MAIN(TestMainWindowEntry)
#include "test_main_window_entry.moc"
