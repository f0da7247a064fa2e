#pragma once

#include <QChart>
#include <QImage>
#include <QSize>

class YearSummary;

// The year summary's charts: per beneficiary a stacked bar, its name at its left, of what the
// C.P.A.M. and the mutual insurer paid, what is still awaited (to check included) and what the
// family bears; and the cost per month of the year (per year over all years).
class YearSummaryCharts
{
public:
    // New charts, owned by the caller (or the view they are given to); on screen, the theme
    // follows the palette, on paper it is the light one.
    static QChart *byBeneficiary(const YearSummary &summary,
                                 QChart::ChartTheme theme = QChart::ChartThemeLight);
    static QChart *costPerPeriod(const YearSummary &summary,
                                 QChart::ChartTheme theme = QChart::ChartThemeLight);
    // The theme that reads on the application's palette.
    static QChart::ChartTheme screenTheme();
    // A chart drawn off screen at `size` (page pixels) and `scale` pixels per page pixel, for
    // print; the chart is deleted.
    static QImage render(QChart *chart, const QSize &size, qreal scale);
};
