#include "DefaultPrinter.h"

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

QPageSize DefaultPrinter::paperSize()
{
    const QPrinterInfo printer = info();
    const QPageSize size = printer.isNull() ? QPageSize() : printer.defaultPageSize();
    return size.isValid() ? size : QPageSize(QPageSize::A4);
}

void DefaultPrinter::overrideForTesting(std::function<QPrinterInfo()> lookup)
{
    lookupOverride() = std::move(lookup);
}

void DefaultPrinter::restore()
{
    lookupOverride() = nullptr;
}
