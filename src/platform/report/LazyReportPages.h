#pragma once

#include "ReportDefinition.h"
#include "ReportPages.h"
#include "ReportPaginator.h"

#include <deque>
#include <memory>

// A report's pages laid out when they are asked for: construction walks the rows once to find
// where each page starts (no text is placed), then a page is laid out from its start, the few
// pages seen last being kept. The source must outlive the pages and keep its rows meanwhile.
class LazyReportPages : public ReportPages
{
public:
    // Throws what the layout throws (a page too small, an unknown field).
    LazyReportPages(ReportDefinition definition, ReportDataSource &source,
                    const ReportPageGeometry &geometry);
    LazyReportPages(const LazyReportPages &) = delete;
    LazyReportPages &operator=(const LazyReportPages &) = delete;

    int count() const override { return int(starts_.size()); }
    const ReportPage &page(int index) override;

    static constexpr size_t keptPages = 4;

private:
    const ReportDefinition definition_; // the paginator points into its bands
    ReportPaginator paginator_;
    QList<ReportPaginator::PageStart> starts_;
    std::deque<std::pair<int, ReportPage>> kept_; // most recent first
};
