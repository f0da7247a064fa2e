#pragma once

#include "CursorOverride.h"

#include "platform/core/WorkProgress.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class InputHold;
class QWidget;
class WorkBar;

// Work the person waits for. From the first moment the person's input reaches only its
// progress bar (InputHold), which shows after a second (WorkBar), modal on the window that
// started the work; only one such work runs at a time. "Annuler" is offered only where
// stopping loses nothing, and then the work really stops before the call returns.
//
// Either the work runs on a worker thread of its own (runOnWorker: it must touch nothing the
// windows touch, no table component nor connection of theirs), while the windows keep
// drawing; or it must stay on this thread (a report reading the bound tables) and calls
// report() often, which keeps the windows drawing.
class LongWork
{
public:
    enum class Cancel { Offered, NotOffered };
    using Job = std::function<void(WorkProgress &)>;

    // Throws PlatformError (busyMessage()) while another long work runs.
    LongWork(QWidget *parent, const QString &title, const QString &label, Cancel cancel);
    ~LongWork();
    LongWork(const LongWork &) = delete;
    LongWork &operator=(const LongWork &) = delete;

    // Runs `job` on a worker and returns once it has returned: false when the person stopped
    // it, true otherwise. An exception the job throws is thrown here again.
    bool runOnWorker(const Job &job);
    // Work on this thread: `done` of `total`; false once the person has asked to stop.
    bool report(qint64 done, qint64 total);
    WorkProgress &progress() { return *progress_; }

    // The thin call: `job` on a worker under a bar titled " Patientez".
    static bool run(QWidget *parent, const QString &label, Cancel cancel, const Job &job);

    // Whether a long work runs now: a command must not start.
    static bool busy();
    static QString busyMessage();

    static constexpr int ShowAfterMs = 1000;
    // Test hooks: the delay before the bar shows (negative: back to a second), and the bar
    // of the work running now (null when none).
    static void setShowDelayForTesting(int milliseconds);
    static WorkBar *currentBar();

private:
    // The bar brought up to date with the progress; shown once due.
    void refresh();
    void askStop();

    std::shared_ptr<WorkProgress> progress_;
    std::unique_ptr<WorkBar> bar_;
    std::unique_ptr<InputHold> hold_;
    // The arrow over the bar, so that "Annuler" does not look out of reach under an hourglass.
    std::optional<CursorOverride> arrow_;
    QElapsedTimer started_;
    QElapsedTimer sinceEvents_;
    bool stopping_ = false;
};
