#pragma once

#include "ReportDataSource.h"
#include "ReportDefinition.h"
#include "ReportPage.h"
#include "ReportPageGeometry.h"
#include "ReportPages.h"

#include <QList>
#include <QString>

#include <functional>

// Writes a report to a PDF file with real text (searchable, copyable). The file appears only
// once complete: a failure leaves an older file of that name as it was and no partial file.
// A new file is readable by its owner only (health data). Failures throw PlatformError.
namespace ReportPdfWriter
{

// Told after each page is written, with the page count (0 while unknown); answers false to
// stop: nothing is then written, an older file stays as it was, and write() returns false.
using Progress = std::function<bool(int written, int count)>;

// Lays the report out on pages of `geometry` and writes each page as it is laid out.
void write(const QString &fileName, const ReportDefinition &definition, ReportDataSource &source,
           const ReportPageGeometry &geometry);
// True when written, false when `progress` stopped it.
bool write(const QString &fileName, ReportPages &pages, const ReportPageGeometry &geometry,
           const QString &title, const Progress &progress = {});
void write(const QString &fileName, const QList<ReportPage> &pages,
           const ReportPageGeometry &geometry, const QString &title);

} // namespace ReportPdfWriter
