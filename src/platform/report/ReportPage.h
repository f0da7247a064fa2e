#pragma once

#include "ReportPlacedBand.h"
#include "ReportPlacedText.h"

#include <QLineF>
#include <QList>

// One laid-out page: bands, texts and rules in page pixels at 96 dpi, ready to paint on any
// device.
class ReportPage
{
public:
    int number = 1;
    QList<ReportPlacedBand> bands;
    QList<ReportPlacedText> texts;
    QList<QLineF> lines; // one pixel wide
};
