#include "DbControlsTable.h"

#include "platform/widgets/DBCheckBox.h"
#include "platform/widgets/DBComboBox.h"
#include "platform/widgets/DBMemo.h"
#include "platform/widgets/Dialogs.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace
{

class Window : public QWidget
{
public:
    explicit Window(Table &table)
    {
        auto *layout = new QVBoxLayout(this);
        memo = new DBMemo(this);
        memo->bind(table, "Note");
        memo->setSelectAllOnClick(true);
        combo = new DBComboBox(this);
        combo->setItems({"Chèque", "Carte bleue", "Espèces"});
        combo->bind(table, "Paiement");
        check = new DBCheckBox(" Remboursement partiel", this);
        check->bind(table, "Partiel");
        other = new QLineEdit(this);
        for (QWidget *w : {static_cast<QWidget *>(memo), static_cast<QWidget *>(combo),
                           static_cast<QWidget *>(check), static_cast<QWidget *>(other)})
            layout->addWidget(w);
    }

    DBMemo *memo;
    DBComboBox *combo;
    DBCheckBox *check;
    QLineEdit *other;
    QList<int> keysReceived;

protected:
    void keyPressEvent(QKeyEvent *event) override { keysReceived.append(event->key()); }
};

} // namespace

// The bound memo, drop-down list and check box.
class TestDbChoiceControls : public QObject
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
    QString stored(const QString &nom, const QString &field)
    {
        return DbControlsTable::storedText(m_dir.path(), nom, field);
    }

private Q_SLOTS:
    void init() { Dialogs::startScripting(); }
    void cleanup()
    {
        m_window.reset();
        m_table.reset();
        Dialogs::stopScripting();
    }

    void memoWritesOnPostAndNeverBreaksLines()
    {
        open({{"ALBERT", 100}});
        DBMemo *memo = m_window->memo;
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        memo->setFocus(Qt::TabFocusReason);
        DbControlsTable::type(memo, "vu le");
        QCOMPARE(m_table->state(), Table::State::Edit);
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClick(memo, Qt::Key_Enter);
        QTest::keyClick(memo, Qt::Key_Return, Qt::ShiftModifier);
        DbControlsTable::type(memo, " 3 mai");
        QCOMPARE(memo->toPlainText(), QString("vu le 3 mai"));
        m_window->keysReceived.removeAll(Qt::Key_Shift);
        QCOMPARE(m_window->keysReceived,
                 (QList<int>{Qt::Key_Return, Qt::Key_Enter, Qt::Key_Return}));
        m_table->post();
        QCOMPARE(stored("ALBERT", "Note"), QString("vu le 3 mai"));
    }

    void memoTabLeavesAndWrites()
    {
        open({{"ALBERT", 100}});
        m_window->memo->setFocus(Qt::TabFocusReason);
        DbControlsTable::type(m_window->memo, "note");
        QTest::keyClick(m_window->memo, Qt::Key_Tab);
        QVERIFY(!m_window->memo->hasFocus());
        QCOMPARE(m_table->fieldByName("Note").asString(), QString("note"));
        QVERIFY(!m_window->memo->isModified());
    }

    void memoClickSelectsAll()
    {
        open({{"ALBERT", 100}});
        m_table->edit();
        m_table->fieldByName("Note").setAsString("deux\nlignes");
        m_table->post();
        QTest::mouseClick(m_window->memo->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
        QCOMPARE(m_window->memo->textCursor().selectedText(), QString("deux\u2029lignes"));
        QCOMPARE(m_table->state(), Table::State::Browse);
    }

    void memoFailingEditRestoresText()
    {
        open({{"ALBERT", 100}});
        m_table->edit();
        m_table->fieldByName("Note").setAsString("avant");
        m_table->post();
        m_table->close();
        QCOMPARE(m_window->memo->toPlainText(), QString());
        m_window->memo->setFocus(Qt::TabFocusReason);
        DbControlsTable::type(m_window->memo, "x");
        QCOMPARE(Dialogs::shownTexts().size(), 1);
        QCOMPARE(m_window->memo->toPlainText(), QString());
    }

    void comboShowsOnlyItems()
    {
        open({{"ALBERT", 100, "Espèces"}, {"BERNARD", 100, "Virement"}, {"CLAUDE", 100}});
        QCOMPARE(m_window->combo->currentText(), QString("Espèces"));
        m_table->next();
        QCOMPARE(m_window->combo->currentIndex(), -1);
        QCOMPARE(m_window->combo->currentText(), QString());
        m_table->next();
        QCOMPARE(m_window->combo->currentIndex(), -1);
        m_table->first();
        QCOMPARE(m_window->combo->currentText(), QString("Espèces"));
        QCOMPARE(m_table->state(), Table::State::Browse);
        QCOMPARE(stored("BERNARD", "Paiement"), QString("Virement"));
    }

    void comboChoiceWritesAtOnce()
    {
        open({{"ALBERT", 100, "Espèces"}});
        QComboBox *combo = m_window->combo;
        combo->setFocus(Qt::TabFocusReason);
        combo->showPopup();
        QAbstractItemView *list = combo->view();
        QTRY_VERIFY(list->isVisible());
        list->setCurrentIndex(combo->model()->index(1, 0));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(m_table->state(), Table::State::Edit);
        QCOMPARE(m_table->fieldByName("Paiement").asString(), QString("Carte bleue"));
        m_table->post();
        QCOMPARE(stored("ALBERT", "Paiement"), QString("Carte bleue"));
    }

    void comboSameItemLeavesTheRecordAlone()
    {
        open({{"ALBERT", 100, "Espèces"}});
        QComboBox *combo = m_window->combo;
        combo->showPopup();
        QTRY_VERIFY(combo->view()->isVisible());
        combo->view()->setCurrentIndex(combo->model()->index(2, 0));
        QTest::keyClick(combo->view(), Qt::Key_Return);
        QCOMPARE(combo->currentText(), QString("Espèces"));
        QCOMPARE(m_table->state(), Table::State::Browse);
    }

    void comboArrowsLeaveTheRecordAlone()
    {
        open({{"ALBERT", 100, "Chèque"}});
        m_window->combo->setFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window->combo, Qt::Key_Down);
        QTest::keyClick(m_window->combo, Qt::Key_Up);
        QCOMPARE(m_window->combo->currentText(), QString("Chèque"));
        QCOMPARE(m_table->state(), Table::State::Browse);
        QCOMPARE(m_window->keysReceived, (QList<int>{Qt::Key_Down, Qt::Key_Up}));
        // Typing an item's first letter is the user's choice.
        QTest::keyClick(m_window->combo, Qt::Key_E);
        QCOMPARE(m_table->fieldByName("Paiement").asString(), QString("Espèces"));
    }

    void checkBoxStates_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("englishToo");
        QTest::addColumn<int>("state");
        QTest::newRow("Vrai") << "Vrai" << false << int(Qt::Checked);
        QTest::newRow("Faux") << "Faux" << false << int(Qt::Unchecked);
        QTest::newRow("empty") << "" << false << int(Qt::PartiallyChecked);
        QTest::newRow("lower case") << "vrai" << false << int(Qt::PartiallyChecked);
        QTest::newRow("True, not listed") << "True" << false << int(Qt::PartiallyChecked);
        QTest::newRow("True listed") << "True" << true << int(Qt::Checked);
        QTest::newRow("False listed") << "False" << true << int(Qt::Unchecked);
    }

    void checkBoxStates()
    {
        QFETCH(QString, value);
        QFETCH(bool, englishToo);
        QFETCH(int, state);
        open({{"ALBERT", 100, "", value}});
        if (englishToo)
            m_window->check->setValues({"Vrai", "True"}, {"Faux", "False"});
        QCOMPARE(int(m_window->check->checkState()), state);
    }

    void checkBoxFollowsRecordsWithoutWriting()
    {
        open({{"ALBERT", 100, "", "Vrai"}, {"BERNARD", 100, "", ""}, {"CLAUDE", 100, "", "Faux"}});
        QSignalSpy states(m_window->check, &QCheckBox::stateChanged);
        QSignalSpy byUser(m_window->check, &DBCheckBox::toggledByUser);
        m_table->next();
        m_table->next();
        m_table->prior();
        QCOMPARE(states.count(), 3);
        QCOMPARE(states.at(0).at(0).toInt(), int(Qt::PartiallyChecked));
        QCOMPARE(states.at(1).at(0).toInt(), int(Qt::Unchecked));
        QCOMPARE(states.at(2).at(0).toInt(), int(Qt::PartiallyChecked));
        QCOMPARE(byUser.count(), 0);
        QCOMPARE(m_table->state(), Table::State::Browse);
    }

    void checkBoxClickGoesBetweenTwoStates()
    {
        open({{"ALBERT", 100, "", ""}});
        QSignalSpy states(m_window->check, &QCheckBox::stateChanged);
        QSignalSpy byUser(m_window->check, &DBCheckBox::toggledByUser);
        m_window->check->click();
        QCOMPARE(m_window->check->checkState(), Qt::Checked);
        QCOMPARE(m_table->fieldByName("Partiel").asString(), QString("Vrai"));
        QCOMPARE(m_table->state(), Table::State::Edit);
        m_window->check->click();
        QCOMPARE(m_window->check->checkState(), Qt::Unchecked);
        QCOMPARE(m_table->fieldByName("Partiel").asString(), QString("Faux"));
        m_window->check->click();
        QCOMPARE(m_window->check->checkState(), Qt::Checked);
        QCOMPARE(states.count(), 3);
        QCOMPARE(byUser.count(), 3);
        QCOMPARE(byUser.at(1).at(0).toBool(), false);
        m_table->post();
        QCOMPARE(stored("ALBERT", "Partiel"), QString("Vrai"));
    }

    void checkBoxWritesTheFirstValue()
    {
        open({{"ALBERT", 100, "", "True"}});
        m_window->check->setValues({"Vrai", "True"}, {"Faux", "False"});
        m_window->check->click();
        QCOMPARE(m_table->fieldByName("Partiel").asString(), QString("Faux"));
        m_window->check->click();
        QCOMPARE(m_table->fieldByName("Partiel").asString(), QString("Vrai"));
    }

    void checkBoxClickOnClosedTableChangesNothing()
    {
        open({{"ALBERT", 100, "", "Faux"}});
        m_table->close();
        QSignalSpy byUser(m_window->check, &DBCheckBox::toggledByUser);
        m_window->check->click();
        QCOMPARE(Dialogs::shownTexts().size(), 1);
        QCOMPARE(m_window->check->checkState(), Qt::PartiallyChecked);
        QCOMPARE(byUser.count(), 0);
    }
};

QTEST_MAIN(TestDbChoiceControls)
#include "test_db_choice_controls.moc"
