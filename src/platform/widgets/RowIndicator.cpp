#include "RowIndicator.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

QPixmap RowIndicator::pixmap(Table::State state, int height, const QColor &ink)
{
    const int size = std::max(8, height - 6);
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    if (state == Table::State::Inactive)
        return pixmap;
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    switch (state) {
    case Table::State::Browse: {
        QPainterPath arrow;
        arrow.moveTo(s * 0.25, s * 0.1);
        arrow.lineTo(s * 0.8, s * 0.5);
        arrow.lineTo(s * 0.25, s * 0.9);
        arrow.closeSubpath();
        p.fillPath(arrow, ink);
        break;
    }
    case Table::State::Edit: {
        p.setPen(QPen(ink, std::max(1.0, s / 10)));
        const qreal mid = s / 2;
        p.drawLine(QPointF(mid, s * 0.1), QPointF(mid, s * 0.9));
        p.drawLine(QPointF(mid - s * 0.2, s * 0.1), QPointF(mid + s * 0.2, s * 0.1));
        p.drawLine(QPointF(mid - s * 0.2, s * 0.9), QPointF(mid + s * 0.2, s * 0.9));
        break;
    }
    case Table::State::Insert: {
        p.setPen(QPen(ink, std::max(1.2, s / 8), Qt::SolidLine, Qt::RoundCap));
        const QPointF centre(s / 2, s / 2);
        const qreal r = s * 0.38;
        for (int i = 0; i < 3; ++i) {
            const qreal angle = (90.0 + i * 60.0) * M_PI / 180.0;
            const QPointF d(r * std::cos(angle), r * std::sin(angle));
            p.drawLine(centre - d, centre + d);
        }
        break;
    }
    case Table::State::Inactive:
        break;
    }
    return pixmap;
}
