#include "DbControlsTable.h"

#include "platform/store/DatabaseError.h"
#include "platform/widgets/DBGrid.h"
#include "platform/widgets/Dialogs.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>

#include <sqlite3.h>

// The data grid: what it shows of the table, and its current row following the table both ways.
class TestDbGrid : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Table> m_table;
    std::unique_ptr<QWidget> m_window;
    DBGrid *m_grid = nullptr;
    QLineEdit *m_other = nullptr;

    void open(const QList<DbControlsTable::Row> &rows)
    {
        m_table = DbControlsTable::create(m_dir.path(), rows);
        QVERIFY(m_table);
        m_window = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(m_window.get());
        m_grid = new DBGrid(m_window.get());
        m_grid->bind(*m_table);
        m_other = new QLineEdit(m_window.get());
        layout->addWidget(m_grid);
        layout->addWidget(m_other);
        m_window->resize(600, 300);
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    QList<DbControlsTable::Row> names(int count)
    {
        QList<DbControlsTable::Row> rows;
        for (int i = 0; i < count; ++i)
            rows.append({QStringLiteral("N%1").arg(i, 3, 10, QLatin1Char('0')), 100 * i});
        return rows;
    }
    QString cell(int row, int column)
    {
        return m_grid->model()->index(row, column).data().toString();
    }
    QString currentName() { return m_table->fieldByName("Nom").asString(); }
    void clickRow(int row)
    {
        const QRect rect = m_grid->visualRect(m_grid->model()->index(row, 0));
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, rect.center());
    }
    void verifySelected(int row)
    {
        QCOMPARE(m_grid->currentIndex().row(), row);
        const QModelIndexList selected = m_grid->selectionModel()->selectedRows();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.first().row(), row);
    }

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Dialogs::startScripting();
    }
    void cleanup()
    {
        m_window.reset();
        m_table.reset();
        Dialogs::stopScripting();
    }

    void showsVisibleFieldsWithLabels()
    {
        open({{"ALBERT", 123450, "", "", "185127512345678"}, {"BERNARD", 5}});
        QCOMPARE(m_grid->model()->rowCount(), 2);
        QStringList titles;
        for (int c = 0; c < m_grid->model()->columnCount(); ++c)
            titles << m_grid->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, (QStringList{"Nom du patient", "Prénom", "Date", "Montant",
                                      "N° d'immatriculation", "Double"}));
        QCOMPARE(m_grid->model()
                     ->headerData(0, Qt::Horizontal, Qt::ForegroundRole)
                     .value<QBrush>()
                     .color(),
                 QColor(Qt::blue));
        QCOMPARE(cell(0, 0), QString("ALBERT"));
        QCOMPARE(cell(0, 2), QString("05/03/24"));
        QCOMPARE(cell(0, 3), QString("1\u202F234,50\u00A0€"));
        QCOMPARE(cell(0, 4), QString("1851275123456-78"));
        QCOMPARE(cell(0, 5), QString("2\u202F469,00\u00A0€"));
        QCOMPARE(cell(1, 4), QString());
        QCOMPARE(m_grid->verticalHeader()->isVisible(), false);
    }

    void alignmentAndWidthsComeFromTheFields()
    {
        open({{"ALBERT", 100}});
        auto alignment = [this](int column) {
            return m_grid->model()
                ->index(0, column)
                .data(Qt::TextAlignmentRole)
                .value<Qt::Alignment>();
        };
        QCOMPARE(alignment(0) & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        QCOMPARE(alignment(2) & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(alignment(3) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        const int average = m_grid->fontMetrics().horizontalAdvance(QLatin1Char('0'));
        // A column is as wide as its characters (digits), or as its title when wider.
        QVERIFY(m_grid->columnWidth(4) >= 20 * average);
        QVERIFY(m_grid->columnWidth(4) <= 20 * average + 16);
        QVERIFY(m_grid->columnWidth(3) >= 9 * average);
        QVERIFY(m_grid->columnWidth(3) < m_grid->columnWidth(4));
        const int title =
            m_grid->horizontalHeader()->fontMetrics().horizontalAdvance("Nom du patient");
        QVERIFY(m_grid->columnWidth(0) >= std::max(12 * average, title));
    }

    void selectionFollowsTheTable()
    {
        open(names(5));
        verifySelected(0);
        m_table->last();
        verifySelected(4);
        m_table->prior();
        verifySelected(3);
        m_table->setFiltered(true);
        m_table->onFilterRecord = [](Table &t) {
            return t.fieldByName("Nom").asString() != "N000";
        };
        m_table->refilter();
        QCOMPARE(m_grid->model()->rowCount(), 4);
        verifySelected(2);
        QCOMPARE(cell(2, 0), QString("N003"));
    }

    void clicksAndKeysMoveTheTable()
    {
        open(names(50));
        clickRow(2);
        QCOMPARE(currentName(), QString("N002"));
        verifySelected(2);
        QTest::keyClick(m_grid, Qt::Key_Down);
        QCOMPARE(currentName(), QString("N003"));
        QTest::keyClick(m_grid, Qt::Key_Up);
        QTest::keyClick(m_grid, Qt::Key_Up);
        QCOMPARE(currentName(), QString("N001"));
        QTest::keyClick(m_grid, Qt::Key_End);
        QCOMPARE(currentName(), QString("N049"));
        verifySelected(49);
        QVERIFY(m_grid->viewport()->rect().contains(
            m_grid->visualRect(m_grid->model()->index(49, 0)).center()));
        QTest::keyClick(m_grid, Qt::Key_PageUp);
        QCOMPARE(currentName(),
                 QStringLiteral("N%1").arg(49 - m_grid->rowsPerPage(), 3, 10, QLatin1Char('0')));
        QTest::keyClick(m_grid, Qt::Key_Home);
        QCOMPARE(currentName(), QString("N000"));
        QTest::keyClick(m_grid, Qt::Key_PageDown);
        QCOMPARE(m_table->shownCurrentRow(), m_grid->rowsPerPage());
        QVERIFY(m_grid->rowsPerPage() > 1);
    }

    void typedLettersGoToTheName()
    {
        open({{"BERNARD", 1}, {"ÉMILE", 2}, {"DURAND", 3}, {"EVE", 4}});
        m_grid->setKeySearchField("Nom");
        clickRow(0);
        DbControlsTable::type(m_grid, "ev");
        QCOMPARE(currentName(), QString("EVE"));
        verifySelected(3);
        QTest::qWait(int(GridKeySearch::PauseMs) + 100);
        DbControlsTable::type(m_grid, "e");
        QCOMPARE(currentName(), QString("ÉMILE"));
    }

    void failedPostKeepsTheSelection()
    {
        open(names(3));
        m_table->edit();
        m_table->fieldByName("Nom").clear();
        clickRow(2);
        QCOMPARE(Dialogs::shownTexts(),
                 QStringList{"Le champ 'Nom du patient' doit avoir une valeur"});
        QCOMPARE(m_table->state(), Table::State::Edit);
        QCOMPARE(m_table->shownCurrentRow(), 0);
        verifySelected(0);
    }

    void controlDeleteAsksFirst()
    {
        open(names(3));
        m_table->next();
        m_grid->setFocus(Qt::MouseFocusReason);
        Dialogs::queueAnswer(Dialogs::Answer::No);
        QTest::keyClick(m_grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(m_table->recordCount(), 3);
        QCOMPARE(Dialogs::shownTexts(), QStringList{"Supprimer l'enregistrement ?"});
        QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Question);
        Dialogs::queueAnswer(Dialogs::Answer::Yes);
        QTest::keyClick(m_grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(m_table->recordCount(), 2);
        QCOMPARE(m_grid->model()->rowCount(), 2);
        QCOMPARE(DbControlsTable::storedText(m_dir.path(), "N001", "Nom"),
                 QString("<no row N001>"));
        QTest::keyClick(m_grid, Qt::Key_Delete);
        QCOMPARE(m_table->recordCount(), 2);
        QCOMPARE(Dialogs::shownTexts().size(), 2);
    }

    // The window appends, then moves the focus to its first field: the new record must stay.
    void leavingKeepsAnUntouchedNewRecord()
    {
        open(names(2));
        clickRow(0);
        QCOMPARE(QApplication::focusWidget(), m_grid);
        m_table->append();
        QCOMPARE(m_grid->model()->rowCount(), 3);
        verifySelected(2);
        QTest::mouseClick(m_other, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), m_other);
        QCOMPARE(m_table->state(), Table::State::Insert);
        QCOMPARE(m_grid->model()->rowCount(), 3);
    }

    void leavingKeepsATypedNewRecord()
    {
        open(names(2));
        m_grid->setFocus(Qt::MouseFocusReason);
        m_table->append();
        m_table->fieldByName("Prenom").setAsString("Paul");
        QCOMPARE(cell(2, 1), QString("Paul"));
        m_other->setFocus(Qt::TabFocusReason);
        QCOMPARE(m_table->state(), Table::State::Insert);
        QVERIFY(Dialogs::shownTexts().isEmpty());
    }

    void rowIndicatorMarksTheCurrentRow()
    {
        open(names(3));
        m_grid->setRowIndicator(true);
        QVERIFY(m_grid->verticalHeader()->isVisible());
        auto marker = [this](int row) {
            return m_grid->model()
                ->headerData(row, Qt::Vertical, Qt::DecorationRole)
                .value<QPixmap>();
        };
        QVERIFY(!marker(0).isNull());
        QVERIFY(marker(1).isNull());
        const QImage browse = marker(0).toImage();
        m_table->next();
        QVERIFY(marker(0).isNull());
        QCOMPARE(marker(1).toImage(), browse);
        m_table->edit();
        QVERIFY(marker(1).toImage() != browse);
        QVERIFY(m_grid->model()->headerData(1, Qt::Vertical, Qt::DisplayRole).isNull());
    }

    void disabledControlsHoldTheGrid()
    {
        open(names(3));
        m_table->disableControls();
        m_table->last();
        m_table->append();
        QCOMPARE(m_grid->model()->rowCount(), 3);
        verifySelected(0);
        m_table->cancel();
        m_table->enableControls();
        QCOMPARE(m_grid->model()->rowCount(), 3);
        verifySelected(2);
    }

    void helpContextIsAProperty()
    {
        open(names(1));
        QVERIFY(m_grid->setProperty("helpContext", 24));
        QCOMPARE(m_grid->helpContext(), 24);
        QCOMPARE(m_grid->focusPolicy(), Qt::ClickFocus);
        QCOMPARE(m_grid->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    }

    void widestValuesShownWhole()
    {
        // "Double" reaches the largest amount, negative; the masked value fills its mask.
        open({{"ALBERT", -49'999'999, "", "", "123456789012345"}});
        const QFontMetrics metrics = m_grid->fontMetrics();
        for (int column = 0; column < m_grid->model()->columnCount(); ++column) {
            const QString text = cell(0, column);
            QVERIFY2(m_grid->columnWidth(column) > metrics.horizontalAdvance(text) + 4,
                     qPrintable(text));
        }
    }

    void wholeRowsAndCurrentRowInSight()
    {
        open(names(60));
        // Scrolled to its end, the grid shows its top row whole, whatever its height.
        for (int height : {300, 307, 313}) {
            m_window->resize(600, height);
            m_table->first();
            m_table->last();
            QCOMPARE(m_grid->rowViewportPosition(m_grid->rowAt(0)), 0);
        }
        // A smaller window keeps the current row in sight, at the end and in the middle.
        for (int row : {59, 30}) {
            m_window->resize(600, 300);
            m_table->moveToRow(row);
            m_window->resize(600, 120);
            QTRY_COMPARE(m_window->height(), 120);
            const QRect place = m_grid->visualRect(m_grid->model()->index(row, 0));
            QVERIFY(m_grid->viewport()->rect().contains(place));
        }
    }

    // A table opened early (the rows between both ends still being read): the scroll bar
    // dragged into the middle paints rows not read yet, which then come in at their places.
    void scrolledIntoRowsNotReadYet()
    {
        open({});
        m_table->close();
        sqlite3 *db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(m_dir.filePath("CONTROLES.DB")).constData(), &db),
                 SQLITE_OK);
        QCOMPARE(sqlite3_exec(db,
                              "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n "
                              "WHERE i < 1999) INSERT INTO CONTROLES (Nom, Jour, Montant) SELECT "
                              "printf('N%04d', i), date('2000-01-01', '+' || i || ' days'), i "
                              "FROM n",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(db);
        m_table = std::make_unique<Table>(DbControlsTable::definition());
        m_table->setDatabaseName(m_dir.path());
        m_table->setIndexFieldNames("Jour;Nom;Numero");
        m_table->setEarlyRows(20);
        m_table->open();
        m_grid->bind(*m_table);
        m_table->last();
        QVERIFY(!m_table->rowsComplete());
        QCOMPARE(m_grid->model()->rowCount(), 2000);
        m_grid->verticalScrollBar()->setValue(1000);
        m_grid->viewport()->repaint();
        QVERIFY(m_table->rowsComplete());
        QCOMPARE(cell(m_grid->rowAt(0), 0),
                 QStringLiteral("N%1").arg(m_grid->rowAt(0), 4, 10, QLatin1Char('0')));
        QCOMPARE(currentName(), QStringLiteral("N1999"));
        QTRY_COMPARE(m_grid->currentIndex().row(), 1999);
    }

    void chosenColumnsInOrder()
    {
        open(names(1));
        m_grid->setColumns({"Montant", "Nom"});
        QCOMPARE(m_grid->model()->columnCount(), 2);
        QCOMPARE(cell(0, 1), QString("N000"));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, m_grid->setColumns({"Inconnu"}));
        QCOMPARE(m_grid->model()->columnCount(), 2);
    }
};

QTEST_MAIN(TestDbGrid)
#include "test_db_grid.moc"
