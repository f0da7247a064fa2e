#pragma once

#include "ReportPage.h"

#include <QImage>
#include <QSizeF>

class QPainter;

// Paints a laid-out page on any device (printer, PDF writer, preview image) with the same
// code, so that what the preview shows is what the paper gets.
class ReportPainter
{
public:
    // `scale` is the number of device pixels per 96-dpi page pixel; the painter's origin is
    // the top-left corner of the paper.
    static void paint(QPainter &painter, const ReportPage &page, qreal scale);

    // The page on white paper of `pagePixels` (96 dpi) as an image at `scale`.
    static QImage image(const ReportPage &page, const QSizeF &pagePixels, qreal scale);
};
