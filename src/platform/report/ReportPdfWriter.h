#pragma once

#include "ReportDataSource.h"
#include "ReportDefinition.h"
#include "ReportPage.h"
#include "ReportPageGeometry.h"
#include "ReportPages.h"

#include <QList>
#include <QString>

// Writes a report to a PDF file with real text (searchable, copyable). The file appears only
// once complete: a failure leaves an older file of that name as it was and no partial file.
// A new file is readable by its owner only (health data). Failures throw PlatformError.
namespace ReportPdfWriter
{

// Lays the report out on pages of `geometry` and writes each page as it is laid out.
void write(const QString &fileName, const ReportDefinition &definition, ReportDataSource &source,
           const ReportPageGeometry &geometry);
void write(const QString &fileName, ReportPages &pages, const ReportPageGeometry &geometry,
           const QString &title);
void write(const QString &fileName, const QList<ReportPage> &pages,
           const ReportPageGeometry &geometry, const QString &title);

} // namespace ReportPdfWriter
