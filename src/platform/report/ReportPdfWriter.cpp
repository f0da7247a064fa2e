#include "ReportPdfWriter.h"

#include "ReportLayout.h"
#include "ReportPainter.h"
#include "platform/core/AtomicFileWriter.h"
#include "platform/core/PlatformMessages.h"

#include <QPainter>
#include <QPdfWriter>

void ReportPdfWriter::write(const QString &fileName, const ReportDefinition &definition,
                            ReportDataSource &source, const ReportPageGeometry &geometry)
{
    write(fileName, ReportLayout::run(definition, source, geometry), geometry, definition.title);
}

void ReportPdfWriter::write(const QString &fileName, const QList<ReportPage> &pages,
                            const ReportPageGeometry &geometry, const QString &title)
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
        for (qsizetype i = 0; i < pages.size(); ++i) {
            if (i > 0)
                pdf.newPage();
            ReportPainter::paint(painter, pages.at(i), scale);
        }
        painter.end();
    }
    file.commit();
}
