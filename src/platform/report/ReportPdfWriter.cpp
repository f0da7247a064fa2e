#include "ReportPdfWriter.h"

#include "ReportPageList.h"
#include "ReportPaginator.h"
#include "ReportPaintCache.h"
#include "ReportPainter.h"
#include "platform/core/AtomicFileWriter.h"
#include "platform/core/PlatformMessages.h"

#include <QPainter>
#include <QPdfWriter>

#include <functional>

namespace
{

using PagePainter = std::function<void(const ReportPage &)>;

// Opens the file and a painter on it, and has `producePages` hand every page in order to the
// painter function it is given.
void writePages(const QString &fileName, const ReportPageGeometry &geometry, const QString &title,
                const std::function<void(const PagePainter &)> &producePages)
{
    AtomicFileWriter file(fileName);
    {
        QPdfWriter pdf(&file.device());
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("Talo 3.0"));
        pdf.setResolution(1200);
        pdf.setPageSize(geometry.pageSize());
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&pdf))
            file.fail(PlatformMessages::writeFailed());
        const qreal scale = pdf.resolution() / 96.0;
        ReportPaintCache cache;
        bool firstPage = true;
        producePages([&](const ReportPage &page) {
            if (!firstPage)
                pdf.newPage();
            firstPage = false;
            ReportPainter::paint(painter, page, scale, cache);
        });
        painter.end();
    }
    file.commit();
}

} // namespace

void ReportPdfWriter::write(const QString &fileName, const ReportDefinition &definition,
                            ReportDataSource &source, const ReportPageGeometry &geometry)
{
    writePages(fileName, geometry, definition.title, [&](const PagePainter &paint) {
        ReportPaginator(definition, source, geometry).layOutAll([&](ReportPage &&page) {
            paint(page);
        });
    });
}

void ReportPdfWriter::write(const QString &fileName, ReportPages &pages,
                            const ReportPageGeometry &geometry, const QString &title)
{
    writePages(fileName, geometry, title, [&](const PagePainter &paint) {
        for (int i = 0; i < pages.count(); ++i)
            paint(pages.page(i));
    });
}

void ReportPdfWriter::write(const QString &fileName, const QList<ReportPage> &pages,
                            const ReportPageGeometry &geometry, const QString &title)
{
    ReportPageList list(pages);
    write(fileName, list, geometry, title);
}
