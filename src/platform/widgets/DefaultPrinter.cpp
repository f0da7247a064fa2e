#include "DefaultPrinter.h"

#include "PrintQueue.h"
#include "platform/core/PlatformError.h"
#include "platform/core/PlatformMessages.h"

namespace
{

std::function<QPrinterInfo()> &lookupOverride()
{
    static std::function<QPrinterInfo()> lookup;
    return lookup;
}

} // namespace

QPrinterInfo DefaultPrinter::info()
{
    if (lookupOverride())
        return lookupOverride()();
    return QPrinterInfo::defaultPrinter();
}

QPrinterInfo DefaultPrinter::forPrinting()
{
    const QPrinterInfo printer = info();
    if (!printer.isNull())
        return printer;
    // A server that is down lists no printer either: that is not "none installed".
    if (!lookupOverride()) {
        const QString fault = PrintQueue::serverFault();
        if (!fault.isEmpty())
            throw PlatformError(PlatformMessages::documentNotSent({}, fault));
    }
    throw PlatformError(PlatformMessages::noPrinter());
}

QPageSize DefaultPrinter::paperSize()
{
    const QPrinterInfo printer = info();
    const QPageSize size = printer.isNull() ? QPageSize() : printer.defaultPageSize();
    return size.isValid() ? size : QPageSize(QPageSize::A4);
}

ReportPageGeometry DefaultPrinter::pageGeometry()
{
    return ReportPageGeometry(paperSize());
}

void DefaultPrinter::overrideForTesting(std::function<QPrinterInfo()> lookup)
{
    lookupOverride() = std::move(lookup);
}

void DefaultPrinter::restore()
{
    lookupOverride() = nullptr;
}
