#include "DbControlsTable.h"

#include "platform/core/Today.h"
#include "platform/store/DatabaseError.h"
#include "platform/widgets/DBEdit.h"
#include "platform/widgets/DBGrid.h"
#include "platform/widgets/DBNavigator.h"
#include "platform/widgets/Dialogs.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace
{

const QString money1234 = QStringLiteral("1\u202F234,50\u00A0€");

// A data window in miniature; it records the keys that reach it past the focused control.
class Window : public QWidget
{
public:
    explicit Window(Table &table)
    {
        auto *layout = new QVBoxLayout(this);
        auto add = [&](const QString &field) {
            auto *edit = new DBEdit(this);
            edit->bind(table, field);
            layout->addWidget(edit);
            return edit;
        };
        nom = add("Nom");
        nom->setCharCase(DBEdit::CharCase::Upper);
        prenom = add("Prenom");
        prenom->setWordCapitals(true);
        jour = add("Jour");
        montant = add("Montant");
        montant->setSelectAllOnClick(true);
        numSS = add("NumSS");
        doubled = add("Double");
        other = new QLineEdit(this);
        layout->addWidget(other);
        grid = new DBGrid(this);
        grid->bind(table);
        layout->addWidget(grid);
        navigator = new DBNavigator(this);
        navigator->bind(table);
        layout->addWidget(navigator);
        resize(420, 520);
    }

    DBEdit *nom, *prenom, *jour, *montant, *numSS, *doubled;
    QLineEdit *other;
    DBGrid *grid;
    DBNavigator *navigator;
    QList<int> keysReceived;

protected:
    void keyPressEvent(QKeyEvent *event) override { keysReceived.append(event->key()); }
};

} // namespace

// Bound edits: the record is changed only by the user's typing, written on post, on a move and
// on leaving; values that do not read are refused with the French message and keep the focus.
class TestDbEdit : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Table> m_table;
    std::unique_ptr<Window> m_window;

    void open(const QList<DbControlsTable::Row> &rows)
    {
        m_table = DbControlsTable::create(m_dir.path(), rows);
        QVERIFY(m_table);
        m_window = std::make_unique<Window>(*m_table);
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    void focus(QWidget *w)
    {
        w->setFocus(Qt::TabFocusReason);
        QVERIFY(w->hasFocus());
    }
    QString stored(const QString &nom, const QString &field)
    {
        return DbControlsTable::storedText(m_dir.path(), nom, field);
    }

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Today::pinForTesting(QDate(2026, 12, 8));
        Dialogs::startScripting();
    }
    void cleanup()
    {
        m_window.reset();
        m_table.reset();
        Dialogs::stopScripting();
    }

    void typingEditsAndPostWrites()
    {
        open({{"MARTIN", 100}});
        focus(m_window->nom);
        QCOMPARE(m_table->state(), Table::State::Browse);
        m_window->nom->selectAll();
        DbControlsTable::type(m_window->nom, "dupont");
        QCOMPARE(m_window->nom->text(), QString("DUPONT"));
        QCOMPARE(m_table->state(), Table::State::Edit);
        QCOMPARE(stored("MARTIN", "Nom"), QString("MARTIN"));
        m_window->navigator->click(DBNavigator::Button::Post);
        QCOMPARE(m_table->state(), Table::State::Browse);
        QCOMPARE(stored("DUPONT", "Nom"), QString("DUPONT"));
        QVERIFY(Dialogs::shownTexts().isEmpty());
    }

    void unopenableFileLeavesControlsEmpty()
    {
        QFile junk(m_dir.filePath("CONTROLES.DB"));
        QVERIFY(junk.open(QIODevice::WriteOnly | QIODevice::Truncate));
        junk.write(QByteArray(4096, 'x'));
        junk.close();
        m_table = std::make_unique<Table>(DbControlsTable::definition());
        m_table->setDatabaseName(m_dir.path());
        QVERIFY_THROWS_EXCEPTION(DatabaseError, m_table->open());
        m_window = std::make_unique<Window>(*m_table);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QCOMPARE(m_window->montant->text(), QString());
        QCOMPARE(m_window->grid->model()->rowCount(), 0);
        QVERIFY(!m_window->navigator->button(DBNavigator::Button::Insert)->isEnabled());
        focus(m_window->nom);
        DbControlsTable::type(m_window->nom, "a");
        QCOMPARE(Dialogs::shownTexts().size(), 1);
        QCOMPARE(m_window->nom->text(), QString());
        QCOMPARE(junk.size(), 4096);
    }

    void moveWritesTheTypedValueFirst()
    {
        open({{"ALBERT", 100}, {"BERNARD", 200}});
        focus(m_window->montant);
        m_window->montant->selectAll();
        DbControlsTable::type(m_window->montant, "12,5");
        m_table->next(); // the focus has not moved: the update hook writes
        QCOMPARE(stored("ALBERT", "Montant"), QString("12,50"));
        QCOMPARE(m_window->montant->text(), QString("2,00"));
        QVERIFY(!m_window->montant->isModified());
    }

    void emptyTableTypingStartsANewRecord()
    {
        open({});
        focus(m_window->nom);
        DbControlsTable::type(m_window->nom, "neuf");
        QCOMPARE(m_table->state(), Table::State::Insert);
        QCOMPARE(m_window->nom->text(), QString("NEUF"));
        m_window->navigator->click(DBNavigator::Button::Post);
        QCOMPARE(stored("NEUF", "Nom"), QString("NEUF"));
    }

    void browsingNeverModifies()
    {
        open({{"ALBERT", 100, "", "", "123456789012345"}, {"BERNARD", 0}, {"CLAUDE", 99}});
        int posts = 0;
        m_table->beforePost = [&posts](Table &) { ++posts; };
        QSignalSpy fieldChanges(m_table.get(), &Table::fieldChanged);
        const QList<QWidget *> controls{m_window->nom,     m_window->prenom, m_window->jour,
                                        m_window->montant, m_window->numSS,  m_window->doubled};
        for (int row = 0; row < 3; ++row) {
            for (QWidget *control : controls) {
                focus(control);
                QTest::mouseClick(control, Qt::LeftButton);
            }
            focus(m_window->other);
            QCOMPARE(m_table->state(), Table::State::Browse);
            QTest::keyClick(m_window->grid, Qt::Key_Down);
        }
        QCOMPARE(m_window->grid->currentIndex().row(), 2);
        QCOMPARE(fieldChanges.count(), 0);
        QCOMPARE(posts, 0);
        QVERIFY(Dialogs::shownTexts().isEmpty());
    }

    void invalidDateOnLeavingIsRefusedOnce()
    {
        open({{"ALBERT", 100}});
        focus(m_window->jour);
        m_window->jour->selectAll();
        DbControlsTable::type(m_window->jour, "310224");
        QCOMPARE(m_window->jour->text(), QString("31/02/24"));
        m_window->other->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(m_window->jour->hasFocus());
        QCOMPARE(Dialogs::shownTexts(), QStringList{"'31/02/24' n'est pas une date correcte"});
        QCOMPARE(m_window->jour->text(), QString("31/02/24"));
        QCOMPARE(m_window->jour->selectedText(), QString("31/02/24"));
        QCOMPARE(m_table->state(), Table::State::Edit);
        QCOMPARE(stored("ALBERT", "Jour"), QString("05/03/24"));
    }

    void incompleteMaskOnLeavingIsRefusedOnce()
    {
        open({{"ALBERT", 100}});
        focus(m_window->jour);
        m_window->jour->selectAll();
        DbControlsTable::type(m_window->jour, "1203");
        m_window->other->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(m_window->jour->hasFocus());
        QCOMPARE(Dialogs::shownTexts(),
                 QStringList{"Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les "
                             "modifications"});
    }

    void clickInGridWithRefusedValueReportsOnce()
    {
        open({{"ALBERT", 100}, {"BERNARD", 200}});
        focus(m_window->montant);
        m_window->montant->selectAll();
        DbControlsTable::type(m_window->montant, "abc");
        const QRect second = m_window->grid->visualRect(m_window->grid->model()->index(1, 0));
        QTest::mouseClick(m_window->grid->viewport(), Qt::LeftButton, {}, second.center());
        QTRY_VERIFY(m_window->montant->hasFocus());
        QTest::qWait(20);
        QCOMPARE(Dialogs::shownTexts(), QStringList{"'abc' n'est pas un montant correct"});
        QCOMPARE(m_table->fieldByName("Nom").asString(), QString("ALBERT"));
        QCOMPARE(m_window->grid->currentIndex().row(), 0);
        QCOMPARE(m_window->montant->text(), QString("abc"));
    }

    void correctedValueIsWrittenOnLeaving()
    {
        open({{"ALBERT", 100}});
        focus(m_window->jour);
        m_window->jour->selectAll();
        DbControlsTable::type(m_window->jour, "010225");
        focus(m_window->other);
        QCOMPARE(m_table->fieldByName("Jour").asString(), QString("01/02/25"));
        QCOMPARE(m_table->state(), Table::State::Edit);
        QTest::qWait(20);
        QVERIFY(Dialogs::shownTexts().isEmpty());
        QVERIFY(m_window->other->hasFocus());
    }

    void tooLongTextCannotBeTyped()
    {
        open({{"ALBERT", 100}});
        focus(m_window->nom);
        m_window->nom->selectAll();
        DbControlsTable::type(m_window->nom, "abcdefghijklmno");
        QCOMPARE(m_window->nom->text(), QString("ABCDEFGHIJ"));
        QCOMPARE(m_window->prenom->maxLength(), 20);
    }

    void moneyShowsCurrencyOnlyWhenNotFocused()
    {
        open({{"ALBERT", 123450}});
        QCOMPARE(m_window->montant->text(), money1234);
        focus(m_window->montant);
        QCOMPARE(m_window->montant->text(), QString("1234,50"));
        focus(m_window->other);
        QCOMPARE(m_window->montant->text(), money1234);
        QCOMPARE(m_window->doubled->text(), QString("2\u202F469,00\u00A0€"));
        QVERIFY(m_window->doubled->isReadOnly());
        focus(m_window->doubled);
        QCOMPARE(m_window->doubled->text(), QString("2\u202F469,00\u00A0€"));
    }

    void calculatedControlFollowsTheTypedValue()
    {
        open({{"ALBERT", 123450}});
        focus(m_window->montant);
        DbControlsTable::type(m_window->montant, "100");
        QTest::keyClick(m_window->montant, Qt::Key_Tab);
        QCOMPARE(m_table->state(), Table::State::Edit);
        QCOMPARE(m_window->doubled->text(), QString("200,00\u00A0€"));
    }

    void upperCaseTurnsAccentedLetters()
    {
        open({{"ALBERT", 100}});
        focus(m_window->nom);
        m_window->nom->selectAll();
        DbControlsTable::type(m_window->nom, "éloïse");
        QCOMPARE(m_window->nom->text(), QString("ÉLOÏSE"));
    }

    void wordCapitalsWhileTyping()
    {
        open({{"ALBERT", 100}});
        focus(m_window->prenom);
        DbControlsTable::type(m_window->prenom, "médecine générale");
        QCOMPARE(m_window->prenom->text(), QString("Médecine Générale"));
        m_window->prenom->clear();
        DbControlsTable::type(m_window->prenom, "école de nuit");
        QCOMPARE(m_window->prenom->text(), QString("école De Nuit"));
        m_window->prenom->setCursorPosition(2);
        DbControlsTable::type(m_window->prenom, "x");
        QCOMPARE(m_window->prenom->text(), QString("écxole De Nuit"));
    }

    void clickSelectsAllSoTypingReplaces()
    {
        open({{"ALBERT", 123450}});
        focus(m_window->other);
        QTest::mouseClick(m_window->montant, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(m_window->montant->hasFocus());
        QCOMPARE(m_window->montant->selectedText(), QString("1234,50"));
        DbControlsTable::type(m_window->montant, "5");
        QCOMPARE(m_window->montant->text(), QString("5"));
    }

    void enterAndEscapeReachTheWindow()
    {
        open({{"ALBERT", 100}});
        focus(m_window->nom);
        QTest::keyClick(m_window->nom, Qt::Key_Return);
        QTest::keyClick(m_window->nom, Qt::Key_Escape);
        focus(m_window->jour);
        QTest::keyClick(m_window->jour, Qt::Key_Enter);
        QCOMPARE(m_window->keysReceived,
                 (QList<int>{Qt::Key_Return, Qt::Key_Escape, Qt::Key_Enter}));
        QCOMPARE(m_table->state(), Table::State::Browse);
    }

    // Another component posting while a name is being typed: the rows change around the
    // record, the typed text stays and is the one written.
    void typedTextSurvivesAnotherComponentsPost()
    {
        open({{"ALBERT", 100}});
        focus(m_window->nom);
        m_window->nom->selectAll();
        DbControlsTable::type(m_window->nom, "dupont");
        Table other(DbControlsTable::definition());
        other.setDatabaseName(m_dir.path());
        other.open();
        other.append();
        other.fieldByName("Nom").setAsString("ZOE");
        other.post();
        QCOMPARE(m_window->nom->text(), QString("DUPONT"));
        m_window->navigator->click(DBNavigator::Button::Post);
        QCOMPARE(stored("DUPONT", "Nom"), QString("DUPONT"));
    }

    void cancelShowsTheFieldAgain()
    {
        open({{"ALBERT", 100}});
        focus(m_window->nom);
        m_window->nom->selectAll();
        DbControlsTable::type(m_window->nom, "x");
        QVERIFY(m_window->nom->isModified());
        m_table->cancel();
        QCOMPARE(m_window->nom->text(), QString("ALBERT"));
        QVERIFY(!m_window->nom->isModified());
        QCOMPARE(stored("ALBERT", "Nom"), QString("ALBERT"));
    }

    void failingEditRestoresTheText()
    {
        open({{"ALBERT", 100}});
        focus(m_window->prenom);
        m_table->close();
        DbControlsTable::type(m_window->prenom, "a");
        QCOMPARE(Dialogs::shownTexts(),
                 QStringList{"Impossible d'effectuer cette opération sur un ensemble de données "
                             "fermé"});
        QCOMPARE(m_window->prenom->text(), QString());
        QVERIFY(!m_window->prenom->isModified());
    }

    void fieldSetByCodeShowsUnlessTyped()
    {
        open({{"ALBERT", 100}});
        m_table->edit();
        m_table->fieldByName("Prenom").setAsString("Paul");
        QCOMPARE(m_window->prenom->text(), QString("Paul"));
        focus(m_window->prenom);
        m_window->prenom->end(false);
        DbControlsTable::type(m_window->prenom, "o");
        m_table->fieldByName("Prenom").setAsString("Jean");
        QCOMPARE(m_window->prenom->text(), QString("Paulo"));
        m_window->navigator->click(DBNavigator::Button::Post);
        QCOMPARE(stored("ALBERT", "Prenom"), QString("Paulo"));
    }

    void disabledControlsWaitForTheEnable()
    {
        open({{"ALBERT", 100}, {"BERNARD", 200}});
        m_table->disableControls();
        m_table->next();
        QCOMPARE(m_window->nom->text(), QString("ALBERT"));
        m_table->enableControls();
        QCOMPARE(m_window->nom->text(), QString("BERNARD"));
    }

    void insuranceNumberKeepsDigitsOnly()
    {
        open({{"ALBERT", 100}});
        QCOMPARE(m_window->numSS->text(), QString("_____________-__"));
        focus(m_window->numSS);
        DbControlsTable::type(m_window->numSS, "185127512345678");
        QCOMPARE(m_window->numSS->text(), QString("1851275123456-78"));
        m_window->navigator->click(DBNavigator::Button::Post);
        QCOMPARE(stored("ALBERT", "NumSS"), QString("185127512345678"));
    }
};

QTEST_MAIN(TestDbEdit)
#include "test_db_edit.moc"
