#include "PrintQueue.h"

#include "platform/core/PlatformError.h"
#include "platform/core/PlatformMessages.h"

#include <QFile>

#include <cups/cups.h>

namespace
{

// The last CUPS failure in French; the server's own words only for a failure we do not name.
QString lastFailure()
{
    switch (cupsLastError()) {
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return PlatformMessages::printerRejectsJobs();
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
        return PlatformMessages::printServerDown();
    case IPP_STATUS_ERROR_NOT_FOUND:
        return PlatformMessages::printerNotFound();
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
    case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
        return PlatformMessages::printNotAllowed();
    default:
        return QString::fromUtf8(cupsLastErrorString());
    }
}

} // namespace

void PrintQueue::submit(const QString &printer, const QString &pdfPath, const QString &title)
{
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, printer.toUtf8().constData(),
                                   QFile::encodeName(pdfPath).constData(),
                                   title.toUtf8().constData(), 0, nullptr);
    if (job == 0)
        throw PlatformError(PlatformMessages::documentNotSent(printer, lastFailure()));
}

QString PrintQueue::serverFault()
{
    http_t *http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                5000, nullptr);
    if (!http)
        return PlatformMessages::printServerDown();
    httpClose(http);
    return {};
}
