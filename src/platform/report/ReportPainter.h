#pragma once

#include "ReportPage.h"

#include <QImage>
#include <QSizeF>

class QPainter;
class ReportPaintCache;

// Paints a laid-out page on any device (printer, PDF writer, preview image) with the same
// code, so that what the preview shows is what the paper gets.
namespace ReportPainter
{

// `scale` is the number of device pixels per 96-dpi page pixel; the painter's origin is
// the top-left corner of the paper.
void paint(QPainter &painter, const ReportPage &page, qreal scale);
// The same, reusing what earlier pages of the run worked out (fonts, shaped texts).
void paint(QPainter &painter, const ReportPage &page, qreal scale, ReportPaintCache &cache);

// The page on white paper of `pagePixels` (96 dpi) as an image at `scale`.
QImage image(const ReportPage &page, const QSizeF &pagePixels, qreal scale);
QImage image(const ReportPage &page, const QSizeF &pagePixels, qreal scale,
             ReportPaintCache &cache);

} // namespace ReportPainter
