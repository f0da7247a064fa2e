#include "WorkProgress.h"

void WorkProgress::report(qint64 done, qint64 total)
{
    // The total first: the window never sees more done than there is.
    total_ = total;
    done_ = done;
}

void WorkProgress::setLabel(const QString &label)
{
    const std::lock_guard lock(labelMutex_);
    label_ = label;
    labelChanged_ = true;
}

bool WorkProgress::takeLabel(QString &label)
{
    const std::lock_guard lock(labelMutex_);
    if (!labelChanged_)
        return false;
    label = label_;
    labelChanged_ = false;
    return true;
}
