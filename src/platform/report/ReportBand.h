#pragma once

#include "ReportItem.h"

#include <QList>

// A horizontal strip of a report, printed whole, at a place given by its type: the title once
// on the first page, the column header atop every page, one detail per row, the summary after
// the last row, the page footer at the foot of every page.
class ReportBand
{
public:
    enum class Type { Title, ColumnHeader, Detail, Summary, PageFooter };

    ReportBand() = default;
    ReportBand(Type bandType, qreal bandHeight) : type(bandType), height(bandHeight) {}

    Type type = Type::Detail;
    qreal height = 0; // pixels at 96 dpi
    QList<ReportItem> items;
};
