#include "ReportPdfWriter.h"

#include "ReportPageList.h"
#include "ReportPaginator.h"
#include "ReportPdfDocument.h"
#include "platform/core/AtomicFileWriter.h"

void ReportPdfWriter::write(const QString &fileName, const ReportDefinition &definition,
                            ReportDataSource &source, const ReportPageGeometry &geometry)
{
    AtomicFileWriter file(fileName);
    ReportPdfDocument document(file.device(), geometry);
    ReportPaginator(definition, source, geometry).layOutAll([&](ReportPage &&page) {
        document.addPage(page);
    });
    document.finish(definition.title);
    file.commit();
}

bool ReportPdfWriter::write(const QString &fileName, ReportPages &pages,
                            const ReportPageGeometry &geometry, const QString &title,
                            const Progress &progress)
{
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
}

void ReportPdfWriter::write(const QString &fileName, const QList<ReportPage> &pages,
                            const ReportPageGeometry &geometry, const QString &title)
{
    ReportPageList list(pages);
    write(fileName, list, geometry, title);
}
