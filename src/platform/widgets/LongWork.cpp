#include "LongWork.h"

#include "InputHold.h"
#include "WorkBar.h"

#include "platform/core/PlatformError.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <exception>

namespace
{
int showDelay = LongWork::ShowAfterMs;
LongWork *running = nullptr;
// A report on this thread lets events through at this pace at most: one per row costs nothing.
constexpr int EventsEveryMs = 30;
constexpr int TickMs = 25;
} // namespace

LongWork::LongWork(QWidget *parent, const QString &title, const QString &label, Cancel cancel)
    : progress_(std::make_shared<WorkProgress>(cancel == Cancel::Offered))
{
    if (running)
        throw PlatformError(busyMessage());
    bar_ = std::make_unique<WorkBar>(parent, title, label, cancel == Cancel::Offered);
    QObject::connect(bar_.get(), &WorkBar::stopAsked, bar_.get(), [this] { askStop(); });
    hold_ = std::make_unique<InputHold>(bar_.get(), [this] { askStop(); });
    running = this;
    started_.start();
    sinceEvents_.start();
}

LongWork::~LongWork()
{
    running = nullptr;
    arrow_.reset();
    hold_.reset();
    bar_->hide();
}

void LongWork::askStop()
{
    if (stopping_ || !progress_->cancelOffered())
        return;
    stopping_ = true;
    progress_->requestStop();
    bar_->showStopping();
}

void LongWork::refresh()
{
    QString label;
    if (!stopping_ && progress_->takeLabel(label))
        bar_->setLabel(label);
    if (!progress_->cancelOffered())
        bar_->withdrawCancel();
    bar_->setProgress(progress_->done(), progress_->total());
    if (!bar_->isVisible() && started_.elapsed() >= showDelay) {
        bar_->show();
        arrow_.emplace(Qt::ArrowCursor, CursorOverride::When::OverAnother);
    }
}

bool LongWork::report(qint64 done, qint64 total)
{
    progress_->report(done, total);
    const bool hidden = !bar_->isVisible();
    refresh();
    if (sinceEvents_.elapsed() >= EventsEveryMs || done >= total || hidden != !bar_->isVisible()) {
        QCoreApplication::processEvents();
        sinceEvents_.restart();
    }
    return !progress_->stopRequested();
}

bool LongWork::runOnWorker(const Job &job)
{
    std::exception_ptr failure;
    std::atomic<bool> finished = false;
    // The worker shares only the progress with this thread. A QThread: a child process
    // started there (a statement's reading) needs its event dispatcher.
    std::unique_ptr<QThread> worker(
        QThread::create([&failure, &finished, &job, progress = progress_] {
            try {
                job(*progress);
            } catch (const WorkProgress::Stopped &) {
                // Told apart from a failure by the progress.
            } catch (...) {
                failure = std::current_exception();
            }
            finished = true;
        }));
    worker->start();
    QEventLoop loop;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [this, &finished, &loop] {
        refresh();
        if (finished)
            loop.quit();
    });
    tick.start(TickMs);
    loop.exec();
    worker->wait();
    if (failure)
        std::rethrow_exception(failure);
    return !progress_->stopRequested();
}

bool LongWork::run(QWidget *parent, const QString &label, Cancel cancel, const Job &job)
{
    LongWork work(parent, QStringLiteral(" Patientez"), label, cancel);
    return work.runOnWorker(job);
}

bool LongWork::busy()
{
    return running != nullptr;
}

QString LongWork::busyMessage()
{
    return QStringLiteral("Un travail est déjà en cours : attendez qu'il se termine.");
}

void LongWork::setShowDelayForTesting(int milliseconds)
{
    showDelay = milliseconds < 0 ? ShowAfterMs : milliseconds;
}

WorkBar *LongWork::currentBar()
{
    return running ? running->bar_.get() : nullptr;
}
