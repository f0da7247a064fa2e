#include "ReportPageGeometry.h"

ReportPageGeometry::ReportPageGeometry(const QPageSize &paper)
{
    QSizeF mm = paper.isValid() ? paper.size(QPageSize::Millimeter)
                                : QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    if (mm.width() > mm.height())
        mm.transpose(); // reports are portrait
    page_ = QSizeF(millimetresToPixels(mm.width()), millimetresToPixels(mm.height()));
    const qreal m = millimetresToPixels(defaultMarginMillimetres);
    margins_ = QMarginsF(m, m, m, m);
}

ReportPageGeometry::ReportPageGeometry(const QSizeF &pagePixels, const QMarginsF &marginPixels)
    : page_(pagePixels), margins_(marginPixels)
{
}

QRectF ReportPageGeometry::printableRect() const
{
    return QRectF(QPointF(0, 0), page_).marginsRemoved(margins_);
}

QPageSize ReportPageGeometry::pageSize() const
{
    const QSizeF mm(page_.width() * 25.4 / 96.0, page_.height() * 25.4 / 96.0);
    return QPageSize(mm, QPageSize::Millimeter);
}
