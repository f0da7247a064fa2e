#include "BackgroundWork.h"

#include <QApplication>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QKeyEvent>
#include <QProgressDialog>
#include <QPromise>
#include <QThreadPool>
#include <QTimer>

#include <exception>
#include <functional>
#include <memory>

namespace
{

// Keeps the person's input away from every window but the progress bar's while the work runs:
// the bar is modal only once shown, and a menu command started in the first second would run
// over a register the work is reading.
// Échap on the bar cancels as its button does (a dialog's own Échap would only hide it).
class InputOnlyTo : public QObject
{
public:
    InputOnlyTo(QWidget *allowed, std::function<void()> escape)
        : allowed_(allowed), escape_(std::move(escape))
    {
        qApp->installEventFilter(this);
    }
    ~InputOnlyTo() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        const bool elsewhere = !widget || widget->window() != allowed_;
        const bool escape =
            (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
            static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape;
        if (escape && !elsewhere) {
            event->accept();
            if (event->type() == QEvent::KeyPress)
                escape_();
            return true;
        }
        switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Taken as the widget's own key, so that no menu shortcut fires; the key press
            // that follows is then dropped below.
            if (elsewhere)
                event->accept();
            return elsewhere;
        case QEvent::Shortcut: // a shortcut's owner may be an action, not a widget
            return elsewhere;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            if (widget && elsewhere) {
                event->ignore();
                return true;
            }
            return false;
        case QEvent::Close: // the window manager's close box, not the program's own closing
            if (widget && elsewhere && event->spontaneous()) {
                event->ignore();
                return true;
            }
            return false;
        default:
            return false;
        }
    }

private:
    QWidget *allowed_;
    std::function<void()> escape_;
};

} // namespace

bool BackgroundWork::run(QWidget *parent, const QString &label, Job job)
{
    struct State {
        Progress progress;
        std::exception_ptr error;
        QPromise<void> promise;
    };
    auto state = std::make_shared<State>();
    QFuture<void> future = state->promise.future();
    state->promise.start();
    QThreadPool::globalInstance()->start([state, job = std::move(job)] {
        try {
            job(state->progress);
        } catch (...) {
            state->error = std::current_exception();
        }
        state->promise.finish();
    });

    QProgressDialog bar(label, QStringLiteral("Annuler"), 0, 0, parent);
    bar.setObjectName(QStringLiteral("barreTravail"));
    bar.setWindowTitle(QStringLiteral(" Patientez"));
    bar.setWindowModality(Qt::WindowModal);
    bar.setMinimumDuration(showAfterMs);
    bar.setAutoClose(false);
    bar.setAutoReset(false);
    QEventLoop loop;
    const InputOnlyTo onlyBar(&bar, [&loop] { loop.quit(); });
    QFutureWatcher<void> watcher;
    QObject::connect(&watcher, &QFutureWatcher<void>::finished, &loop, &QEventLoop::quit);
    QObject::connect(&bar, &QProgressDialog::canceled, &loop, &QEventLoop::quit);
    QObject::connect(&bar, &QDialog::rejected, &loop, &QEventLoop::quit);
    QTimer tick;
    tick.setInterval(50);
    QObject::connect(&tick, &QTimer::timeout, &bar, [&bar, state] {
        const int total = state->progress.total;
        if (bar.maximum() != total)
            bar.setMaximum(total);
        bar.setValue(total > 0 ? std::min(int(state->progress.done), total) : 0);
    });
    watcher.setFuture(future);
    tick.start();
    if (!future.isFinished())
        loop.exec();
    tick.stop();
    if (!future.isFinished()) {
        state->progress.canceled = true;
        return false;
    }
    if (state->error)
        std::rethrow_exception(state->error);
    return true;
}
