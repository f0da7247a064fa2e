#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>

// Acts on the next modal dialog from inside the event loop that its exec() runs: waits until
// the dialog is up and active, then runs `action` on it. If no dialog comes within the
// timeout, nothing runs and `fired()` stays false.
class ModalDriver
{
public:
    explicit ModalDriver(std::function<void(QDialog &)> action, int timeoutMs = 5000)
        : action_(std::move(action))
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { poll(); });
        deadline_.start();
        timeoutMs_ = timeoutMs;
        timer_.start();
    }

    bool fired() const { return fired_; }

private:
    void poll()
    {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible() && QApplication::activeWindow() == dialog) {
            timer_.stop();
            fired_ = true;
            const QPointer<QDialog> guard(dialog);
            action_(*dialog);
            // A failed check inside the action returns early: do not leave exec() waiting.
            if (guard && guard->isVisible())
                guard->reject();
            return;
        }
        if (deadline_.elapsed() > timeoutMs_) {
            timer_.stop();
            // A dialog that never became active must not hang the test run.
            if (dialog)
                dialog->reject();
        }
    }

    std::function<void(QDialog &)> action_;
    QTimer timer_;
    QElapsedTimer deadline_;
    int timeoutMs_ = 5000;
    bool fired_ = false;
};
