#pragma once

#include "ReportFont.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QPoint>
#include <QString>

class QPaintDevice;

// What painting a report's texts costs to work out, worked out once per font and text for a
// run of pages at one scale: a register repeats its dates, names and headings on every page.
class ReportPaintCache
{
public:
    struct Font {
        QFont device;       // at the scale painted
        QFontMetricsF page; // at 96 dpi, deciding where a text is cut
    };
    // A text shaped into glyphs once, placed as the toolkit places a single line in a box.
    struct ShapedText {
        QList<QGlyphRun> runs; // relative to the line's top-left corner
        qreal advance = 0;
        qreal height = 0;
    };

    // Forgets everything when `scale` or the resolution of `device` differs from the last
    // call's; `device` is the one painted on until the next call.
    void use(qreal scale, QPaintDevice *device);
    const Font &font(const ReportFont &font);
    const ShapedText &shaped(const ReportFont &font, const QString &text);

private:
    qreal scale_ = 0;
    QPaintDevice *device_ = nullptr;
    QPoint dpi_;
    QHash<int, Font> fonts_;
    QHash<std::pair<int, QString>, ShapedText> texts_;
};
