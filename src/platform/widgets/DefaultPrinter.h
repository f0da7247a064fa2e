#pragma once

#include "platform/report/ReportPageGeometry.h"

#include <QPageSize>
#include <QPrinterInfo>

#include <functional>

// The system's default printer (CUPS), looked up at each use so that a printer installed while
// the program runs is found. Tests replace the lookup to play a machine without any printer.
class DefaultPrinter
{
public:
    // Null when no printer is installed.
    static QPrinterInfo info();
    // The printer a print goes to. Throws PlatformError: "no printer installed" only when the
    // print server answers and has none; a server that does not answer is told as such.
    static QPrinterInfo forPrinting();
    // The default printer's default paper; A4 when there is no printer or it does not say.
    static QPageSize paperSize();
    // Report pages on that paper (A4 without a printer).
    static ReportPageGeometry pageGeometry();

    static void overrideForTesting(std::function<QPrinterInfo()> lookup);
    static void restore();
};
