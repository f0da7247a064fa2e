#include "ReportPainter.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>

namespace
{

QRectF scaled(const QRectF &r, qreal scale)
{
    return QRectF(r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale);
}

} // namespace

void ReportPainter::paint(QPainter &painter, const ReportPage &page, qreal scale)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QPen pen(Qt::black);
    pen.setWidthF(qMax<qreal>(1.0, scale));
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    for (const QLineF &line : page.lines)
        painter.drawLine(QLineF(line.p1() * scale, line.p2() * scale));

    // Thousands of texts share a handful of fonts: the device's, and the 96-dpi one that
    // decides where a text is cut, so that preview, print and PDF cut it alike although
    // device pixel sizes are rounded.
    QHash<int, std::pair<QFont, QFontMetricsF>> fonts;
    for (const ReportPlacedText &text : page.texts) {
        const int key = text.font.key();
        auto it = fonts.find(key);
        if (it == fonts.end())
            it = fonts.insert(key, {text.font.toQFont(scale), QFontMetricsF(text.font.toQFont(1))});
        painter.setFont(it->first);
        QString shown = text.text;
        if (text.elide && it->second.horizontalAdvance(shown) > text.rect.width())
            shown = it->second.elidedText(shown, Qt::ElideRight, text.rect.width());
        painter.drawText(
            scaled(text.rect, scale),
            int(text.alignment | Qt::AlignVCenter) | Qt::TextSingleLine | Qt::TextDontClip, shown);
    }
    painter.restore();
}

QImage ReportPainter::image(const ReportPage &page, const QSizeF &pagePixels, qreal scale)
{
    const QSize size(qMax(1, qRound(pagePixels.width() * scale)),
                     qMax(1, qRound(pagePixels.height() * scale)));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(painter, page, scale);
    painter.end();
    return image;
}
