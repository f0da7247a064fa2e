#include "ReportProgress.h"

#include "LongWork.h"

#include <QApplication>

ReportProgress::ReportProgress(Kind kind, QWidget *parent)
    : kind_(kind),
      work_(std::make_unique<LongWork>(parent != nullptr ? parent : QApplication::activeWindow(),
                                       kind == Kind::Pdf ? QStringLiteral("Enregistrement en PDF")
                                                         : QStringLiteral("Impression"),
                                       label(kind, 0, 0), LongWork::Cancel::Offered))
{
}

ReportProgress::~ReportProgress() = default;

bool ReportProgress::progress(int written, int count)
{
    work_->progress().setLabel(label(kind_, written, count));
    return work_->report(written, qMax(count, written));
}

QString ReportProgress::label(Kind kind, int page, int count)
{
    const QString work = kind == Kind::Pdf ? QStringLiteral("Écriture du PDF")
                                           : QStringLiteral("Préparation de l'impression");
    if (count <= 0)
        return QStringLiteral("%1 : page %2").arg(work).arg(page);
    return QStringLiteral("%1 : page %2 sur %3").arg(work).arg(page).arg(count);
}
