#include "ReportPrinter.h"

#include "DefaultPrinter.h"
#include "PlatformError.h"
#include "PlatformMessages.h"
#include "ReportLayout.h"
#include "ReportPainter.h"

#include <QPainter>
#include <QPrinter>

namespace
{

QPrinterInfo installedPrinter()
{
    const QPrinterInfo info = DefaultPrinter::info();
    if (info.isNull())
        throw PlatformError(PlatformMessages::noPrinter());
    return info;
}

} // namespace

void ReportPrinter::print(const ReportDefinition &definition, ReportDataSource &source)
{
    const QPrinterInfo info = installedPrinter();
    QPageSize paper = info.defaultPageSize();
    if (!paper.isValid())
        paper = QPageSize(QPageSize::A4);
    const ReportPageGeometry geometry(paper);
    const QList<ReportPage> pages = ReportLayout::run(definition, source, geometry);
    QPrinter printer(info, QPrinter::HighResolution);
    printOn(printer, pages, geometry, definition.title);
}

void ReportPrinter::print(const QList<ReportPage> &pages, const ReportPageGeometry &geometry,
                          const QString &title)
{
    QPrinter printer(installedPrinter(), QPrinter::HighResolution);
    printOn(printer, pages, geometry, title);
}

void ReportPrinter::printOn(QPrinter &printer, const QList<ReportPage> &pages,
                            const ReportPageGeometry &geometry, const QString &title)
{
    const QString name = printer.printerName();
    printer.setDocName(title);
    printer.setCreator(QStringLiteral("Talo 3.0"));
    // Our own margins are in the layout: the painter's origin must be the paper's corner.
    printer.setFullPage(true);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageSize(geometry.pageSize());

    QPainter painter;
    if (!painter.begin(&printer))
        throw PlatformError(PlatformMessages::printFailed(name));
    const qreal scale = printer.resolution() / 96.0;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0 && !printer.newPage()) {
            printer.abort();
            throw PlatformError(PlatformMessages::printFailed(name));
        }
        ReportPainter::paint(painter, pages.at(i), scale);
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw PlatformError(PlatformMessages::printFailed(name));
}
