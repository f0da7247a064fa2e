#pragma once

#include <QFont>

// The font of a report item: Arial at a character height in pixels at 96 dpi. Kept apart from
// QFont so that a laid-out page is plain data, independent of the device it is painted on.
class ReportFont
{
public:
    int pixelSize = 12;
    bool bold = false;
    bool italic = false;

    static ReportFont regular(int pixelSize) { return {pixelSize, false, false}; }
    static ReportFont boldFont(int pixelSize) { return {pixelSize, true, false}; }
    static ReportFont italicFont(int pixelSize) { return {pixelSize, false, true}; }

    // The font for a device with `scale` device pixels per 96-dpi pixel.
    QFont toQFont(qreal scale) const;

    // Tells the fonts apart, for caches of fonts and metrics.
    int key() const { return pixelSize * 4 + (bold ? 2 : 0) + (italic ? 1 : 0); }

    bool operator==(const ReportFont &) const = default;
};
