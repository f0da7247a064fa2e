#include "platform/core/PlatformError.h"
#include "platform/widgets/LongWork.h"
#include "platform/widgets/WorkBar.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSemaphore>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <stdexcept>

// Long work on a worker: its result or its failure comes back to the window thread, the
// person's input is held from the first moment, and "Annuler" really stops it.
class TestLongWork : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { LongWork::setShowDelayForTesting(-1); }

    void outcomeComesBack_data()
    {
        QTest::addColumn<QString>("job");
        QTest::addColumn<QString>("failure"); // empty: none
        QTest::newRow("returns") << "returns"
                                 << "";
        QTest::newRow("French failure") << "platform"
                                        << "Le fichier est abîmé.";
        QTest::newRow("other failure") << "runtime"
                                       << "std failure";
    }
    void outcomeComesBack()
    {
        QFETCH(QString, job);
        QFETCH(QString, failure);
        QWidget parent;
        int value = 0;
        QString caught;
        try {
            QVERIFY(LongWork::run(&parent, QStringLiteral("Lecture…"), LongWork::Cancel::Offered,
                                  [&](WorkProgress &) {
                                      value = 42;
                                      if (job == QLatin1String("platform"))
                                          throw PlatformError(failure);
                                      if (job == QLatin1String("runtime"))
                                          throw std::runtime_error("std failure");
                                  }));
        } catch (const PlatformError &e) {
            caught = e.message();
        } catch (const std::exception &e) {
            caught = QString::fromUtf8(e.what());
        }
        QCOMPARE(value, 42);
        QCOMPARE(caught, failure);
        QVERIFY(!LongWork::busy());
        // Another may start now.
        QVERIFY(
            LongWork::run(&parent, QString(), LongWork::Cancel::Offered, [](WorkProgress &) {}));
    }

    void stopReallyStops_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Annuler") << false;
        QTest::newRow("Échap") << true;
    }
    // Keys typed while the work runs, before the bar shows, go nowhere; the person's stop
    // ends the job before run() returns.
    void stopReallyStops()
    {
        QFETCH(bool, escape);
        QWidget parent;
        auto *field = new QLineEdit(&parent);
        parent.show();
        QApplication::setActiveWindow(&parent);
        field->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&parent));
        std::atomic<bool> returned = false;
        std::atomic<int> rounds = 0;
        bool barShown = false;
        QTimer::singleShot(0, &parent, [&] {
            QTest::keyClicks(field, QStringLiteral("abc"));
            QVERIFY(!LongWork::currentBar()->isVisible());
            QTRY_VERIFY_WITH_TIMEOUT(LongWork::currentBar()->isVisible(), 5000);
            barShown = true;
            // A second long work cannot start under this one.
            QVERIFY_THROWS_EXCEPTION(
                PlatformError, LongWork(&parent, QString(), QString(), LongWork::Cancel::Offered));
            WorkBar *bar = LongWork::currentBar();
            if (escape)
                QTest::keyClick(bar, Qt::Key_Escape);
            else
                QTest::mouseClick(bar->findChild<QPushButton *>("btnAnnulerTravail"),
                                  Qt::LeftButton);
        });
        const bool done = LongWork::run(&parent, QStringLiteral("Lecture…"),
                                        LongWork::Cancel::Offered, [&](WorkProgress &progress) {
                                            progress.report(3, 10);
                                            // At most a minute, should the stop never come.
                                            for (; rounds < 6000; ++rounds) {
                                                progress.throwIfStopRequested();
                                                QThread::msleep(10);
                                            }
                                            returned = true;
                                        });
        QVERIFY(barShown);
        QVERIFY(!done);
        QVERIFY(rounds < 6000);
        QVERIFY(!returned);
        QCOMPARE(field->text(), QString());
        QTest::keyClicks(field, QStringLiteral("abc"));
        QCOMPARE(field->text(), QStringLiteral("abc"));
    }

    // Where stopping would lose something there is no "Annuler", and Échap stops nothing.
    void noCancelWhereStoppingLoses()
    {
        QWidget parent;
        parent.show();
        LongWork::setShowDelayForTesting(0);
        QSemaphore release;
        QTimer::singleShot(0, &parent, [&] {
            QTRY_VERIFY(LongWork::currentBar()->isVisible());
            WorkBar *bar = LongWork::currentBar();
            QVERIFY(bar->findChild<QPushButton *>("btnAnnulerTravail")->isHidden());
            QTest::keyClick(bar, Qt::Key_Escape);
            bar->close();
            QVERIFY(bar->isVisible());
            release.release();
        });
        bool stopAsked = true;
        QVERIFY(LongWork::run(&parent, QStringLiteral("Sauvegarde…"), LongWork::Cancel::NotOffered,
                              [&](WorkProgress &progress) {
                                  release.tryAcquire(1, 10000);
                                  stopAsked = progress.stopRequested();
                              }));
        QVERIFY(!stopAsked);
    }
};

QTEST_MAIN(TestLongWork)
#include "test_long_work.moc"
