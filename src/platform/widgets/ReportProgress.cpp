#include "ReportProgress.h"

#include <QApplication>
#include <QProgressDialog>

namespace
{

constexpr int defaultShowDelay = 1000;
int showDelay = defaultShowDelay;
QPointer<QProgressDialog> shown;

} // namespace

ReportProgress::ReportProgress(Kind kind, QWidget *parent)
    : kind_(kind), parent_(parent != nullptr ? parent : QApplication::activeWindow())
{
}

ReportProgress::~ReportProgress()
{
    arrow_.reset();
}

bool ReportProgress::progress(int written, int count)
{
    if (!dialog_) {
        // The dialog times the work from its creation and shows itself after the delay.
        dialog_ = std::make_unique<QProgressDialog>(parent_);
        dialog_->setWindowTitle(kind_ == Kind::Pdf ? QStringLiteral("Enregistrement en PDF")
                                                   : QStringLiteral("Impression"));
        dialog_->setCancelButtonText(QStringLiteral("Annuler"));
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->setMinimumDuration(showDelay);
        dialog_->setMaximum(qMax(1, count));
        dialog_->setValue(0); // starts the clock
        shown = dialog_.get();
    }
    if (dialog_->wasCanceled())
        return false;
    dialog_->setMaximum(qMax(count, written));
    dialog_->setLabelText(label(kind_, written, count));
    // Shows the bar once due, and lets the user reach Annuler.
    dialog_->setValue(written);
    if (!arrow_ && dialog_->isVisible())
        arrow_.emplace(Qt::ArrowCursor, CursorOverride::When::OverAnother);
    return !dialog_->wasCanceled();
}

QString ReportProgress::label(Kind kind, int page, int count)
{
    const QString work = kind == Kind::Pdf ? QStringLiteral("Écriture du PDF")
                                           : QStringLiteral("Préparation de l'impression");
    if (count <= 0)
        return QStringLiteral("%1 : page %2").arg(work).arg(page);
    return QStringLiteral("%1 : page %2 sur %3").arg(work).arg(page).arg(count);
}

void ReportProgress::setShowDelayForTesting(int milliseconds)
{
    showDelay = milliseconds < 0 ? defaultShowDelay : milliseconds;
}

QProgressDialog *ReportProgress::current()
{
    return shown;
}
