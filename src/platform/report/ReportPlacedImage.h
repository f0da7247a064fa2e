#pragma once

#include <QImage>
#include <QRectF>

// A picture placed on a page (a chart), scaled into its rectangle in page pixels at 96 dpi.
class ReportPlacedImage
{
public:
    QRectF rect;
    QImage image;
};
