#pragma once

#include "platform/report/ReportFont.h"
#include "platform/report/ReportPage.h"

#include <QList>
#include <QStringList>

// A small table of texts (the age bands, a summary) placed into the room a report band kept
// for it: one line per row, the first column left-aligned, the others right-aligned and ending
// at their given edges; the first row in bold, a rule under it and above the last row.
class ReportTextGrid
{
public:
    // Right edges of the columns after the first, from the band's left edge, in page pixels.
    QList<qreal> columnEnds;
    qreal firstColumnWidth = 120;
    qreal rowHeight = 18;
    int pixelSize = 11;
    QList<QStringList> rows;

    qreal height() const { return rowHeight * rows.size(); }
    // Places the grid at the top of `area` on `page`.
    void placeOn(ReportPage &page, const QRectF &area) const;
};
