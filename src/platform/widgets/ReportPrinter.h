#pragma once

#include "platform/report/ReportDataSource.h"
#include "platform/report/ReportDefinition.h"
#include "platform/report/ReportPage.h"
#include "platform/report/ReportPageGeometry.h"
#include "platform/report/ReportPages.h"

#include <QList>
#include <QString>

class QPrinter;

// Prints reports straight to the system's default printer, without any dialog, under the
// report's title as job name. Every failure throws PlatformError with a French message. A long
// document shows its progress while it is prepared; the user may stop it before it is sent,
// and print() then returns false.
namespace ReportPrinter
{

// Lays the report out on the default printer's paper and prints it.
bool print(const ReportDefinition &definition, ReportDataSource &source);
// Prints pages already laid out, or laid out as they are read (the preview's), on the default
// printer.
bool print(ReportPages &pages, const ReportPageGeometry &geometry, const QString &title);
bool print(const QList<ReportPage> &pages, const ReportPageGeometry &geometry,
           const QString &title);
// Prints on a given printer; tests use a printer writing a PDF file.
void printOn(QPrinter &printer, const QList<ReportPage> &pages, const ReportPageGeometry &geometry,
             const QString &title);

} // namespace ReportPrinter
