#pragma once

#include "ReportPages.h"

#include <QList>

// Pages laid out beforehand, held whole (reports finished after their layout, such as those
// with a chart drawn in).
class ReportPageList : public ReportPages
{
public:
    explicit ReportPageList(QList<ReportPage> pages) : pages_(std::move(pages)) {}

    int count() const override { return int(pages_.size()); }
    const ReportPage &page(int index) override { return pages_.at(index); }

private:
    QList<ReportPage> pages_;
};
