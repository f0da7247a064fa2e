#pragma once

#include "platform/report/ReportPageGeometry.h"

#include <QPageSize>
#include <QPrinterInfo>

#include <functional>

// The system's default printer (CUPS), looked up at each use so that a printer installed while
// the program runs is found. Tests replace the lookup to play a machine without any printer.
namespace DefaultPrinter
{

// Null when no printer is installed.
QPrinterInfo info();
// The printer a print goes to. Throws PlatformError: "no printer installed" only when the
// print server answers and has none; a server that does not answer is told as such.
QPrinterInfo forPrinting();
// The default printer's default paper; A4 when there is no printer or it does not say.
QPageSize paperSize();
// Report pages on that paper (A4 without a printer).
ReportPageGeometry pageGeometry();

void overrideForTesting(std::function<QPrinterInfo()> lookup);
void restore();

} // namespace DefaultPrinter
