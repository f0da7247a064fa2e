#include "ReportLayout.h"

#include "ReportPaginator.h"

QList<ReportPage> ReportLayout::run(const ReportDefinition &definition, ReportDataSource &source,
                                    const ReportPageGeometry &geometry)
{
    QList<ReportPage> pages;
    ReportPaginator(definition, source, geometry).layOutAll([&pages](ReportPage &&page) {
        pages.append(std::move(page));
    });
    return pages;
}
