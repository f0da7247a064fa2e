#pragma once

#include <QString>

#include <atomic>
#include <functional>

class QWidget;

// Work the person waits for (reading a large statement, matching it) run on a pool thread, so
// that the windows keep drawing. A French progress bar shows when it lasts over a second; its
// Annuler drops the work: run() returns at once, and the job, which must own everything it
// touches, runs out on its own with its result thrown away. Meanwhile the person's keys and
// clicks reach only the progress bar, so no other command starts under the work.
class BackgroundWork
{
public:
    struct Progress {
        std::atomic<int> done{0};
        std::atomic<int> total{0}; // 0: how much is left is not known
        std::atomic<bool> canceled{false};
    };
    using Job = std::function<void(Progress &)>;

    // The bar appears after this long.
    static constexpr int showAfterMs = 1000;

    // False when the person cancelled. An exception the job throws is thrown here again.
    static bool run(QWidget *parent, const QString &label, Job job);
};
