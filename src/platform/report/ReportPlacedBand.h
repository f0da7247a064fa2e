#pragma once

#include "ReportBand.h"

#include <QRectF>

// Where a band landed on a page; a detail band also tells which row (0 for the first) it shows.
class ReportPlacedBand
{
public:
    ReportBand::Type type = ReportBand::Type::Detail;
    QRectF rect;
    int row = -1;
};
