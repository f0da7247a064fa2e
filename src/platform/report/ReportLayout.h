#pragma once

#include "ReportDataSource.h"
#include "ReportDefinition.h"
#include "ReportPage.h"
#include "ReportPageGeometry.h"

#include <QList>

// Runs a report definition over its data source into pages, before anything is painted: the
// title once atop the first page, the column header atop every page (under the title on the
// first), one detail band per row in the source's order, the summary once after the last row
// (on a new page when it does not fit), the page footer at the foot of every page. Sums run
// over the printed detail rows, an empty amount counting as zero.
namespace ReportLayout
{

// Restarts the source at its first row. Throws PlatformError when the page cannot hold
// even one band between its header and footer.
QList<ReportPage> run(const ReportDefinition &definition, ReportDataSource &source,
                      const ReportPageGeometry &geometry);

} // namespace ReportLayout
