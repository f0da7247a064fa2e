#pragma once

#include "ReportFont.h"

#include <QString>
#include <Qt>

// One printable item of a report band: a fixed caption, a field of the current row, the running
// sum of a money field, the date or the page number with a prefix, or rules across the band.
// Horizontal geometry is in pixels at 96 dpi from the band's left edge; the item spans the
// band's height and its text is centred vertically.
class ReportItem
{
public:
    enum class Kind { Label, Field, Sum, Date, PageNumber, Shape };
    enum class ShapeKind { TopAndBottom, HorizontalLine };

    static ReportItem label(const QString &text, const ReportFont &font);
    static ReportItem field(const QString &fieldName, const ReportFont &font);
    // The sum of a money field over the detail rows printed so far, shown with `mask`: a
    // number pattern "#,##0.00" (regional separators) followed by literal text, e.g. " F".
    static ReportItem sum(const QString &fieldName, const QString &mask, const ReportFont &font);
    static ReportItem date(const QString &prefix, const ReportFont &font);
    static ReportItem pageNumber(const QString &prefix, const ReportFont &font);
    static ReportItem shape(ShapeKind shape);

    // Geometry, chained after the constructors above.
    ReportItem &from(qreal left, qreal width);           // left-aligned
    ReportItem &endingAt(qreal right, qreal width);      // right-aligned, right edge at `right`
    ReportItem &centredIn(qreal left, qreal width);      // centred in the box
    ReportItem &rightAlignedIn(qreal left, qreal right); // right-aligned in the box
    ReportItem &againstRightEdge(qreal width);           // right-aligned on the band's edge
    // A text wider than its box ends in "…" instead of running over the next column.
    ReportItem &elided();
    // A text wider than its box goes on over more lines of the band, which grows for that row.
    ReportItem &wrapped();

    // The text of a sum of `cents` under this item's mask.
    QString sumText(qint64 cents) const;

    Kind kind = Kind::Label;
    QString text; // the caption of a label, the prefix of a date or page number
    QString fieldName;
    QString mask;
    ShapeKind shapeKind = ShapeKind::HorizontalLine;
    qreal left = 0;
    qreal width = 0;
    bool anchoredRight = false;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool elide = false;
    bool wrap = false;
    ReportFont font;
};
