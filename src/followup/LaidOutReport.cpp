#include "LaidOutReport.h"

#include "platform/HandlerGuard.h"
#include "platform/ReportPreviewDialog.h"
#include "platform/ReportPrinter.h"

#include <QGuiApplication>

namespace
{

// The hourglass while the pages are laid out, whatever happens.
class Hourglass
{
public:
    Hourglass() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Hourglass() { QGuiApplication::restoreOverrideCursor(); }
    Hourglass(const Hourglass &) = delete;
    Hourglass &operator=(const Hourglass &) = delete;
};

} // namespace

void LaidOutReport::preview(QWidget *parent) const
{
    HandlerGuard::run(parent, [this, parent] {
        const ReportPageGeometry geometry = ReportPageGeometry::forDefaultPaper();
        QList<ReportPage> pages;
        {
            Hourglass wait;
            pages = layOut_(geometry);
        }
        ReportPreviewDialog dialog(pages, geometry, title_, parent);
        dialog.exec();
    });
}

void LaidOutReport::print(QWidget *parent) const
{
    HandlerGuard::run(parent, [this] {
        Hourglass wait;
        const ReportPageGeometry geometry = ReportPageGeometry::forDefaultPaper();
        ReportPrinter::print(layOut_(geometry), geometry, title_);
    });
}
