#include "ReportPrinter.h"

#include "DefaultPrinter.h"
#include "PlatformError.h"
#include "PlatformMessages.h"
#include "PrintQueue.h"
#include "ReportLayout.h"
#include "ReportPainter.h"

#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>

namespace
{

void paintPages(QPrinter &printer, const QList<ReportPage> &pages,
                const ReportPageGeometry &geometry, const QString &title, const QString &name)
{
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

// QPrinter hands its job to the print server without looking at the answer, so a refused job
// would pass for printed: the pages go to a private PDF file that the program submits itself.
void sendToPrinter(const QPrinterInfo &info, const QList<ReportPage> &pages,
                   const ReportPageGeometry &geometry, const QString &title)
{
    const QString name = info.printerName();
    QTemporaryFile pdf(QDir::tempPath() + QStringLiteral("/talo-XXXXXX.pdf"));
    if (!pdf.open())
        throw PlatformError(PlatformMessages::printFailed(name));
    pdf.close();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf.fileName());
    paintPages(printer, pages, geometry, title, name);
    PrintQueue::submit(name, pdf.fileName(), title);
}

} // namespace

void ReportPrinter::print(const ReportDefinition &definition, ReportDataSource &source)
{
    const QPrinterInfo info = DefaultPrinter::forPrinting();
    QPageSize paper = info.defaultPageSize();
    if (!paper.isValid())
        paper = QPageSize(QPageSize::A4);
    const ReportPageGeometry geometry(paper);
    const QList<ReportPage> pages = ReportLayout::run(definition, source, geometry);
    sendToPrinter(info, pages, geometry, definition.title);
}

void ReportPrinter::print(const QList<ReportPage> &pages, const ReportPageGeometry &geometry,
                          const QString &title)
{
    sendToPrinter(DefaultPrinter::forPrinting(), pages, geometry, title);
}

void ReportPrinter::printOn(QPrinter &printer, const QList<ReportPage> &pages,
                            const ReportPageGeometry &geometry, const QString &title)
{
    paintPages(printer, pages, geometry, title, printer.printerName());
}
