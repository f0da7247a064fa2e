#include "DbControlsTable.h"

#include "platform/widgets/DBNavigator.h"
#include "platform/widgets/Dialogs.h"

#include <QAbstractButton>
#include <QSignalSpy>
#include <QTest>

using Button = DBNavigator::Button;

// The record navigator: its buttons, their enabled states and their actions.
class TestDbNavigator : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Table> m_table;
    std::unique_ptr<DBNavigator> m_nav;

    void open(int rows)
    {
        QList<DbControlsTable::Row> list;
        for (int i = 0; i < rows; ++i)
            list.append({QStringLiteral("N%1").arg(i), 100});
        m_table = DbControlsTable::create(m_dir.path(), list);
        QVERIFY(m_table);
        m_nav = std::make_unique<DBNavigator>();
        m_nav->bind(*m_table);
    }
    QString enabledButtons()
    {
        QString result;
        for (Button b : DBNavigator::allButtons())
            result += m_nav->button(b)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return result;
    }

private Q_SLOTS:
    void init() { Dialogs::startScripting(); }
    void cleanup()
    {
        m_nav.reset();
        m_table.reset();
        Dialogs::stopScripting();
    }

    void buttonsHaveHintsInOrder()
    {
        open(1);
        const QStringList hints{"Premier enregistrement", "Enregistrement précédent",
                                "Enregistrement suivant", "Dernier enregistrement",
                                "Ajouter enregistrement", "Supprimer enregistrement",
                                "Valider enregistrement", "Annuler modifications"};
        const QList<Button> all = DBNavigator::allButtons();
        QCOMPARE(all.size(), 8);
        for (int i = 0; i < all.size(); ++i) {
            QAbstractButton *b = m_nav->button(all.at(i));
            QCOMPARE(b->toolTip(), hints.at(i));
            QCOMPARE(b->size(), QSize(25, 25));
            QCOMPARE(b->focusPolicy(), Qt::NoFocus);
            QVERIFY(!b->icon().isNull());
        }
    }

    // Buttons in order: first, prior, next, last, insert, delete, post, cancel.
    void enabledStates_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("enabled");
        QTest::newRow("closed") << 2 << "close"
                                << "00000000";
        QTest::newRow("empty") << 0 << ""
                               << "00001000";
        QTest::newRow("one row") << 1 << ""
                                 << "00001100";
        QTest::newRow("first of three") << 3 << ""
                                        << "00111100";
        QTest::newRow("middle of three") << 3 << "next"
                                         << "11111100";
        QTest::newRow("last of three") << 3 << "last"
                                       << "11001100";
        QTest::newRow("editing the middle") << 3 << "next,edit"
                                            << "11111111";
        QTest::newRow("appending") << 3 << "append"
                                   << "11001111";
        QTest::newRow("new record in an empty table") << 0 << "append"
                                                      << "00001111";
    }

    void enabledStates()
    {
        QFETCH(int, rows);
        QFETCH(QString, action);
        QFETCH(QString, enabled);
        open(rows);
        for (const QString &step : action.split(',', Qt::SkipEmptyParts)) {
            if (step == "close")
                m_table->close();
            else if (step == "next")
                m_table->next();
            else if (step == "last")
                m_table->last();
            else if (step == "edit")
                m_table->edit();
            else if (step == "append")
                m_table->append();
        }
        QCOMPARE(enabledButtons(), enabled);
    }

    void movesAndSignalsTheButton()
    {
        open(3);
        QSignalSpy clicked(m_nav.get(), &DBNavigator::clicked);
        m_nav->click(Button::Last);
        QCOMPARE(m_table->fieldByName("Nom").asString(), QString("N2"));
        m_nav->click(Button::Prior);
        QCOMPARE(m_table->fieldByName("Nom").asString(), QString("N1"));
        m_nav->click(Button::First);
        m_nav->click(Button::Next);
        QCOMPARE(m_table->fieldByName("Nom").asString(), QString("N1"));
        QCOMPARE(clicked.count(), 4);
        QCOMPARE(clicked.at(0).at(0).value<Button>(), Button::Last);
        m_nav->click(Button::Post); // disabled while browsing: nothing
        QCOMPARE(clicked.count(), 4);
    }

    void failedPostIsShownAndNotSignalled()
    {
        open(1);
        QSignalSpy clicked(m_nav.get(), &DBNavigator::clicked);
        m_nav->click(Button::Insert);
        QCOMPARE(m_table->state(), Table::State::Insert);
        m_nav->click(Button::Post);
        QCOMPARE(Dialogs::shownTexts(),
                 QStringList{"Le champ 'Nom du patient' doit avoir une valeur"});
        QCOMPARE(m_table->state(), Table::State::Insert);
        QCOMPARE(clicked.count(), 1);
        m_table->fieldByName("Nom").setAsString("NOUVEAU");
        m_nav->click(Button::Post);
        QCOMPARE(m_table->state(), Table::State::Browse);
        QCOMPARE(DbControlsTable::storedText(m_dir.path(), "NOUVEAU", "Nom"), QString("NOUVEAU"));
        QCOMPARE(clicked.count(), 2);
    }

    void cancelDropsTheChange()
    {
        open(1);
        m_table->edit();
        m_table->fieldByName("Nom").setAsString("AUTRE");
        m_nav->click(Button::Cancel);
        QCOMPARE(m_table->state(), Table::State::Browse);
        QCOMPARE(m_table->fieldByName("Nom").asString(), QString("N0"));
    }

    void deleteAsksFirst()
    {
        open(2);
        Dialogs::queueAnswer(Dialogs::Answer::No);
        m_nav->click(Button::Delete);
        QCOMPARE(m_table->recordCount(), 2);
        QCOMPARE(Dialogs::shownTexts(), QStringList{"Supprimer l'enregistrement ?"});
        Dialogs::queueAnswer(Dialogs::Answer::Yes);
        m_nav->click(Button::Delete);
        QCOMPARE(m_table->recordCount(), 1);
        QCOMPARE(DbControlsTable::storedText(m_dir.path(), "N0", "Nom"), QString("<no row N0>"));
        m_nav->setConfirmDelete(false);
        m_nav->click(Button::Delete);
        QCOMPARE(m_table->recordCount(), 0);
        QCOMPARE(Dialogs::shownTexts().size(), 2);
        QCOMPARE(enabledButtons(), QString("00001000"));
    }

    void visibleButtonsKeepTheirOrder()
    {
        open(1);
        m_nav->setVisibleButtons({Button::Post, Button::First});
        QVERIFY(!m_nav->button(Button::First)->isHidden());
        QVERIFY(!m_nav->button(Button::Post)->isHidden());
        QVERIFY(m_nav->button(Button::Next)->isHidden());
        m_nav->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_nav.get()));
        QVERIFY(m_nav->button(Button::First)->x() < m_nav->button(Button::Post)->x());
    }
};

QTEST_MAIN(TestDbNavigator)
#include "test_db_navigator.moc"
