#pragma once

#include <QPointF>
#include <QRectF>
#include <Qt>

// Where a single line of `advance` by `height` goes in `box`: centred vertically, and
// horizontally as `alignment` says. One rule for the painter and the PDF writer, so that a
// saved file places every text where the preview shows it.
inline QPointF reportLineOrigin(const QRectF &box, Qt::Alignment alignment, qreal advance,
                                qreal height)
{
    qreal x = 0;
    if (alignment & Qt::AlignRight)
        x = box.width() - advance;
    else if (alignment & Qt::AlignHCenter)
        x = (box.width() - advance) / 2;
    return QPointF(box.x() + x, box.y() + (box.height() - height) / 2);
}
