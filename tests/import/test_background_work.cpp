#include "import/BackgroundWork.h"
#include "platform/core/PlatformError.h"

#include <QApplication>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSemaphore>
#include <QTimer>
#include <QtTest>

#include <memory>

// Long work off the window's thread: its result or its error comes back, Annuler drops it at
// once, and nothing typed meanwhile reaches the window behind the bar.
class TestBackgroundWork : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void resultAndError()
    {
        QWidget parent;
        auto value = std::make_shared<int>(0);
        QVERIFY(BackgroundWork::run(&parent, QStringLiteral("Lecture…"),
                                    [value](BackgroundWork::Progress &) { *value = 42; }));
        QCOMPARE(*value, 42);
        try {
            BackgroundWork::run(&parent, QStringLiteral("Lecture…"),
                                [](BackgroundWork::Progress &) {
                                    throw PlatformError(QStringLiteral("Le relevé est illisible."));
                                });
            QFAIL("the job's error was not thrown again");
        } catch (const PlatformError &e) {
            QCOMPARE(e.message(), QStringLiteral("Le relevé est illisible."));
        }
    }

    void cancelDropsTheWorkAndHoldsInput_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Annuler") << false;
        QTest::newRow("Échap") << true;
    }
    void cancelDropsTheWorkAndHoldsInput()
    {
        QFETCH(bool, escape);
        QWidget parent;
        auto *field = new QLineEdit(&parent);
        parent.show();
        QApplication::setActiveWindow(&parent);
        field->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&parent));

        struct Shared {
            QSemaphore go;
            std::atomic<bool> sawCancel{false};
            std::atomic<bool> ended{false};
        };
        auto shared = std::make_shared<Shared>();
        bool barShown = false;
        QTimer::singleShot(0, &parent, [&] {
            QTest::keyClicks(field, QStringLiteral("abc"));
            auto *bar = parent.findChild<QProgressDialog *>();
            QVERIFY(bar);
            // The bar shows by itself once the work lasts; its Annuler is pressed, or Échap, as a
            // person does.
            QTRY_VERIFY_WITH_TIMEOUT(bar->isVisible(), 5000);
            barShown = true;
            QCOMPARE(bar->maximum(), 10);
            QTRY_COMPARE(bar->value(), 3);
            auto *cancel = bar->findChild<QPushButton *>();
            QVERIFY(cancel);
            if (escape)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            else
                QTest::mouseClick(cancel, Qt::LeftButton);
        });
        // Should the bar not let go, the job ends and the checks below say so.
        QTimer::singleShot(10000, &parent, [shared] { shared->go.release(); });
        const bool done = BackgroundWork::run(&parent, QStringLiteral("Lecture du relevé…"),
                                              [shared](BackgroundWork::Progress &progress) {
                                                  progress.total = 10;
                                                  progress.done = 3;
                                                  shared->go.acquire();
                                                  shared->sawCancel = progress.canceled.load();
                                                  shared->ended = true;
                                              });
        QVERIFY(barShown);
        QVERIFY(!done);
        QCOMPARE(field->text(), QString());
        // The job runs out on its own, told that nobody waits for it any more.
        shared->go.release();
        QTRY_VERIFY(shared->ended);
        QVERIFY(shared->sawCancel);
        QTest::keyClicks(field, QStringLiteral("abc"));
        QCOMPARE(field->text(), QStringLiteral("abc"));
    }
};

QTEST_MAIN(TestBackgroundWork)
#include "test_background_work.moc"
