#include "ReportPrinter.h"

#include "DefaultPrinter.h"
#include "PrintQueue.h"
#include "ReportProgress.h"
#include "platform/core/PlatformError.h"
#include "platform/core/PlatformMessages.h"
#include "platform/report/LazyReportPages.h"
#include "platform/report/ReportPageList.h"
#include "platform/report/ReportPaintCache.h"
#include "platform/report/ReportPainter.h"
#include "platform/report/ReportPdfWriter.h"

#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

namespace
{

// QPrinter hands its job to the print server without looking at the answer, so a refused job
// would pass for printed, and it does not notice a document cut short by a full disk either:
// the pages go to a private PDF file, written whole or not at all, that the program submits.
// Stopping it before it is submitted loses nothing: false then.
bool sendToPrinter(const QPrinterInfo &info, ReportPages &pages, const ReportPageGeometry &geometry,
                   const QString &title)
{
    const QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/talo-XXXXXX"));
    if (!folder.isValid())
        throw PlatformError(PlatformMessages::printFailed(info.printerName()));
    const QString pdf = folder.filePath(QStringLiteral("document.pdf"));
    try {
        ReportProgress progress(ReportProgress::Kind::Print, nullptr);
        if (!ReportPdfWriter::write(pdf, pages, geometry, title, [&](int written, int count) {
                return progress.progress(written, count);
            }))
            return false;
    } catch (const PlatformError &e) {
        throw PlatformError(PlatformMessages::documentNotSent(
                                info.printerName(), PlatformMessages::printDocumentNotPrepared()) +
                            QLatin1Char('\n') + e.message());
    }
    PrintQueue::submit(info.printerName(), pdf, title);
    return true;
}

} // namespace

bool ReportPrinter::print(const ReportDefinition &definition, ReportDataSource &source)
{
    const QPrinterInfo info = DefaultPrinter::forPrinting();
    QPageSize paper = info.defaultPageSize();
    if (!paper.isValid())
        paper = QPageSize(QPageSize::A4);
    const ReportPageGeometry geometry(paper);
    LazyReportPages pages(definition, source, geometry);
    return sendToPrinter(info, pages, geometry, definition.title);
}

bool ReportPrinter::print(ReportPages &pages, const ReportPageGeometry &geometry,
                          const QString &title)
{
    return sendToPrinter(DefaultPrinter::forPrinting(), pages, geometry, title);
}

bool ReportPrinter::print(const QList<ReportPage> &pages, const ReportPageGeometry &geometry,
                          const QString &title)
{
    ReportPageList list(pages);
    return print(list, geometry, title);
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
    ReportPaintCache cache;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0 && !printer.newPage()) {
            printer.abort();
            throw PlatformError(PlatformMessages::printFailed(name));
        }
        ReportPainter::paint(painter, pages.at(i), scale, cache);
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw PlatformError(PlatformMessages::printFailed(name));
}
