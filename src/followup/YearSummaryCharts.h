#pragma once

#include <QImage>
#include <QSize>

class QChart;
class YearSummary;

// The year summary's charts: per beneficiary a stacked bar of what the C.P.A.M. and the
// mutual insurer paid, what is still awaited and what the family bears; and the cost per month
// of the year (per year over all years).
class YearSummaryCharts
{
public:
    // New charts, owned by the caller (or the view they are given to).
    static QChart *byBeneficiary(const YearSummary &summary);
    static QChart *costPerPeriod(const YearSummary &summary);
    // A chart drawn off screen at `size` (page pixels) and `scale` pixels per page pixel, for
    // print; the chart is deleted.
    static QImage render(QChart *chart, const QSize &size, qreal scale);
};
