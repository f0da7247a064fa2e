#include "followup/FollowUpModel.h"
#include "followup/TFrmSuiviRemboursements.h"
#include "platform/core/Today.h"

#include <QComboBox>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

// The lines ticked for the mutuelle's file: only what the mutuelle owes can be ticked (Space),
// the ticks outlive a change of payer, and the button hands over exactly the ticked entries.
class TestFollowUpTicks : public QObject
{
    Q_OBJECT

private:
    // Oldest first: 1 owed by the mutuelle, 2 by the C.P.A.M., 3 by the mutuelle.
    static std::vector<CareFacts> entries()
    {
        std::vector<CareFacts> list;
        for (int i = 1; i <= 3; ++i) {
            CareFacts e;
            e.row.rowId = i;
            e.date = QDate(2026, 1, 10 * i);
            e.beneficiary = QStringLiteral("PAUL");
            e.cost = 5000;
            e.cpamPaid = i != 2;
            e.cpam = e.cpamPaid ? 3500 : 0;
            list.push_back(e);
        }
        return list;
    }

private Q_SLOTS:
    void initTestCase() { Today::pinForTesting(QDate(2026, 5, 1)); }

    void spaceTicksWhatTheMutuelleOwes()
    {
        TFrmSuiviRemboursements window(entries(), QStringLiteral("vue"));
        std::vector<qint64> handed;
        int calls = 0;
        window.setDossierCommand([&](QWidget *, const std::set<qint64> &ticked) {
            ++calls;
            handed.assign(ticked.begin(), ticked.end());
        });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *grid = window.findChild<QTableView *>(QStringLiteral("grilleSuivi"));
        auto *model = qobject_cast<FollowUpModel *>(grid->model());
        QCOMPARE(model->rowCount(), 3);
        const auto idAt = [model](int row) { return model->line(row)->row.rowId; };
        // Ticks the line of entry `id` with Space, from wherever the caret is.
        const auto press = [&](qint64 id) {
            for (int r = 0; r < model->rowCount(); ++r)
                if (idAt(r) == id)
                    grid->setCurrentIndex(model->index(r, 0));
            QTest::keyClick(grid, Qt::Key_Space);
        };
        press(3);
        press(2); // the C.P.A.M.'s: refused
        press(1);
        QCOMPARE(model->ticked(), (std::set<qint64>{1, 3}));
        press(3); // untick
        press(3);
        // Only the C.P.A.M.'s lines shown: the ticks stay.
        window.findChild<QComboBox *>(QStringLiteral("lstPayeur"))->setCurrentIndex(1);
        QCOMPARE(model->rowCount(), 1);
        QCOMPARE(model->data(model->index(0, 0), Qt::CheckStateRole), QVariant());
        window.findChild<QPushButton *>(QStringLiteral("btnDossier"))->click();
        QCOMPARE(calls, 1);
        QCOMPARE(handed, (std::vector<qint64>{1, 3}));
    }

    void noCommandNoButton()
    {
        TFrmSuiviRemboursements window(entries(), QStringLiteral("vue"));
        window.show();
        QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("btnDossier"))->isVisible());
    }
};

QTEST_MAIN(TestFollowUpTicks)
#include "test_follow_up_ticks.moc"
