#include "LazyReportPages.h"

LazyReportPages::LazyReportPages(ReportDefinition definition, ReportDataSource &source,
                                 const ReportPageGeometry &geometry)
    : definition_(std::move(definition)), paginator_(definition_, source, geometry),
      starts_(paginator_.plan())
{
}

const ReportPage &LazyReportPages::page(int index)
{
    Q_ASSERT(index >= 0 && index < count());
    const auto seen = std::find_if(kept_.begin(), kept_.end(),
                                   [index](const auto &kept) { return kept.first == index; });
    if (seen != kept_.end()) {
        if (seen != kept_.begin()) {
            auto again = std::move(*seen);
            kept_.erase(seen);
            kept_.push_front(std::move(again));
        }
        return kept_.front().second;
    }
    ReportPage laidOut = paginator_.layOutPage(starts_.at(index), index + 1);
    if (kept_.size() >= keptPages)
        kept_.pop_back();
    kept_.emplace_front(index, std::move(laidOut));
    return kept_.front().second;
}
