#include "ReportPdfWriter.h"

#include "LazyReportPages.h"
#include "ReportPageList.h"
#include "ReportPaginator.h"
#include "ReportPaintCache.h"
#include "ReportPainter.h"
#include "ReportPdfDocument.h"
#include "platform/core/AtomicFileWriter.h"
#include "platform/core/PlatformMessages.h"

#include <QPainter>
#include <QPdfWriter>

namespace
{

// The same pages through the toolkit's PDF engine, slower, for the rare document with a font
// only that engine embeds. Any older file is still there: the first attempt was not committed.
bool writeThroughToolkit(const QString &fileName, ReportPages &pages,
                         const ReportPageGeometry &geometry, const QString &title,
                         const ReportPdfWriter::Progress &progress)
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
        ReportPaintCache cache;
        const int count = pages.count();
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                pdf.newPage();
            ReportPainter::paint(painter, pages.page(i), pdf.resolution() / 96.0, cache);
            if (progress && !progress(i + 1, count))
                return false;
        }
        painter.end();
    }
    file.commit();
    return true;
}

} // namespace

void ReportPdfWriter::write(const QString &fileName, const ReportDefinition &definition,
                            ReportDataSource &source, const ReportPageGeometry &geometry)
{
    try {
        AtomicFileWriter file(fileName);
        ReportPdfDocument document(file.device(), geometry);
        ReportPaginator(definition, source, geometry).layOutAll([&](ReportPage &&page) {
            document.addPage(page);
        });
        document.finish(definition.title);
        file.commit();
    } catch (const ReportPdfDocument::FontNotEmbeddable &) {
        LazyReportPages pages(definition, source, geometry);
        writeThroughToolkit(fileName, pages, geometry, definition.title, {});
    }
}

bool ReportPdfWriter::write(const QString &fileName, ReportPages &pages,
                            const ReportPageGeometry &geometry, const QString &title,
                            const Progress &progress)
{
    try {
        AtomicFileWriter file(fileName);
        ReportPdfDocument document(file.device(), geometry);
        const int count = pages.count();
        for (int i = 0; i < count; ++i) {
            document.addPage(pages.page(i));
            // Stopped, the writer goes without commit and takes its temporary file with it.
            if (progress && !progress(i + 1, count))
                return false;
        }
        document.finish(title);
        file.commit();
        return true;
    } catch (const ReportPdfDocument::FontNotEmbeddable &) {
        return writeThroughToolkit(fileName, pages, geometry, title, progress);
    }
}

void ReportPdfWriter::write(const QString &fileName, const QList<ReportPage> &pages,
                            const ReportPageGeometry &geometry, const QString &title)
{
    ReportPageList list(pages);
    write(fileName, list, geometry, title);
}
