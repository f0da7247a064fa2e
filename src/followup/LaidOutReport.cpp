#include "LaidOutReport.h"

#include "platform/widgets/CursorOverride.h"
#include "platform/widgets/DefaultPrinter.h"
#include "platform/widgets/HandlerGuard.h"
#include "platform/widgets/ReportPreviewDialog.h"
#include "platform/widgets/ReportPrinter.h"

void LaidOutReport::preview(QWidget *parent) const
{
    HandlerGuard::run(parent, [this, parent] {
        const ReportPageGeometry geometry = DefaultPrinter::pageGeometry();
        QList<ReportPage> pages;
        {
            const CursorOverride wait(Qt::WaitCursor);
            pages = layOut_(geometry);
        }
        ReportPreviewDialog dialog(pages, geometry, title_, parent);
        dialog.exec();
    });
}

void LaidOutReport::print(QWidget *parent) const
{
    HandlerGuard::run(parent, [this] {
        const CursorOverride wait(Qt::WaitCursor);
        const ReportPageGeometry geometry = DefaultPrinter::pageGeometry();
        ReportPrinter::print(layOut_(geometry), geometry, title_);
    });
}
