#include "LongWorkProgress.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QPushButton>

#include <algorithm>

namespace
{
constexpr int Scale = 1000;
// Events are let through at this pace at most: a report per row costs nothing then.
constexpr int EventsEveryMs = 30;
} // namespace

LongWorkProgress::LongWorkProgress(QWidget *parent, const QString &title, const QString &label,
                                   Cancel cancel)
    : dialog_(std::make_unique<QProgressDialog>(parent)), cancelOffered_(cancel == Cancel::Offered)
{
    dialog_->setObjectName(QStringLiteral("LongWorkProgress"));
    dialog_->setWindowTitle(title);
    dialog_->setLabelText(label);
    dialog_->setRange(0, Scale);
    dialog_->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    if (cancelOffered_)
        dialog_->setCancelButton(new QPushButton(QStringLiteral("Annuler"), dialog_.get()));
    else
        dialog_->setCancelButton(nullptr);
    dialog_->setMinimumDuration(ShowAfterMs);
    dialog_->setValue(0);
    sinceEvents_.start();
}

LongWorkProgress::~LongWorkProgress() = default;

bool LongWorkProgress::report(qint64 done, qint64 total)
{
    if (sinceEvents_.elapsed() >= EventsEveryMs || done >= total) {
        const int value = total > 0 ? int(std::clamp<qint64>(done * Scale / total, 0, Scale)) : 0;
        // Below the full scale: a dialog at its maximum takes itself for finished.
        dialog_->setValue(std::min(value, Scale - 1));
        // A modal dialog lets events through only when its value changes.
        QCoreApplication::processEvents();
        sinceEvents_.restart();
    }
    return !cancelRequested();
}

bool LongWorkProgress::cancelRequested() const
{
    return cancelOffered_ && dialog_->wasCanceled();
}

void LongWorkProgress::withdrawCancel()
{
    if (!cancelOffered_)
        return;
    cancelOffered_ = false;
    dialog_->setCancelButton(nullptr);
}

void LongWorkProgress::setLabel(const QString &label)
{
    dialog_->setLabelText(label);
}
