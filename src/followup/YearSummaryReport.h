#pragma once

#include "platform/report/ReportDefinition.h"
#include "platform/report/ReportPage.h"
#include "platform/report/ReportPageGeometry.h"

class YearSummary;

// The printed "Bilan annuel": the table per beneficiary and per speciality, then both charts.
class YearSummaryReport
{
public:
    static ReportDefinition definition(const YearSummary &summary);
    static QList<ReportPage> layOut(const YearSummary &summary, const ReportPageGeometry &geometry);
    // The headings of the window's table columns, on two lines where they are long.
    static const QStringList &columnTitles();
};
