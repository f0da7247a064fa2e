#include "ReportTextGrid.h"

void ReportTextGrid::placeOn(ReportPage &page, const QRectF &area) const
{
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const qreal top = area.top() + r * rowHeight;
        const bool emphasised = r == 0 || r == rows.size() - 1;
        const ReportFont font =
            emphasised ? ReportFont::boldFont(pixelSize) : ReportFont::regular(pixelSize);
        for (qsizetype c = 0; c < rows[r].size(); ++c) {
            ReportPlacedText text;
            text.text = rows[r][c];
            text.font = font;
            if (c == 0) {
                text.rect = QRectF(area.left(), top, firstColumnWidth, rowHeight);
            } else {
                const qreal end = area.left() + columnEnds.value(c - 1);
                const qreal start =
                    area.left() + (c >= 2 ? columnEnds.value(c - 2) : firstColumnWidth);
                text.rect = QRectF(start, top, end - start, rowHeight);
                text.alignment = Qt::AlignRight;
            }
            page.texts.append(text);
        }
        if (r == 1 || (r == rows.size() - 1 && r > 1))
            page.lines.append(QLineF(area.left(), top,
                                     area.left() + columnEnds.value(columnEnds.size() - 1), top));
    }
}
