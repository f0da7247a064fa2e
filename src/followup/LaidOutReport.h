#pragma once

#include "platform/report/ReportPage.h"
#include "platform/report/ReportPageGeometry.h"

#include <functional>

class QWidget;

// Print and preview of a report whose pages a window lays out itself (pages finished after
// the layout, a chart), on the default printer's paper. Failures end in the error box.
class LaidOutReport
{
public:
    using LayOut = std::function<QList<ReportPage>(const ReportPageGeometry &)>;

    LaidOutReport(QString title, LayOut layOut)
        : title_(std::move(title)), layOut_(std::move(layOut))
    {
    }

    void preview(QWidget *parent) const;
    void print(QWidget *parent) const;

private:
    QString title_;
    LayOut layOut_;
};
