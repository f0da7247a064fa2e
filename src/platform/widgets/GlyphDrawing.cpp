#include "GlyphDrawing.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace
{

const QColor ink(0x1e, 0x2a, 0x38);
const QColor navy(0x22, 0x32, 0x4a);
const QColor blue(0x2f, 0x6d, 0xb5);
const QColor darkBlue(0x24, 0x4f, 0x8c);
const QColor glass(0xcf, 0xe3, 0xf7);
const QColor green(0x2e, 0x8b, 0x47);
const QColor darkGreen(0x1b, 0x5e, 0x2e);
const QColor red(0xc6, 0x28, 0x28);
const QColor darkRed(0x8e, 0x1c, 0x1c);
const QColor gold(0xe2, 0xa7, 0x2e);
const QColor brown(0x8d, 0x5a, 0x2b);
const QColor grey(0x9a, 0xa5, 0xb1);
const QColor lightGrey(0xd9, 0xde, 0xe3);
const QColor midGrey(0x7b, 0x85, 0x90);

QPen outline(const QColor &colour = ink, double width = 1.2)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void fill(QPainter &p, const QColor &colour, const QColor &edge = ink, double width = 1.2)
{
    p.setPen(outline(edge, width));
    p.setBrush(colour);
}

void polygon(QPainter &p, std::initializer_list<QPointF> points)
{
    p.drawPolygon(QPolygonF(QList<QPointF>(points)));
}

void stroke(QPainter &p, const QColor &colour, double width, std::initializer_list<QPointF> points)
{
    p.setPen(outline(colour, width));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF(QList<QPointF>(points)));
}

} // namespace

void GlyphDrawing::informations(QPainter &p)
{
    fill(p, blue, darkBlue);
    p.drawEllipse(QPointF(12, 12), 10.4, 10.4);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12, 6.6), 1.9, 1.9);
    p.drawRect(QRectF(10.3, 9.8, 3.4, 8.4));
    p.drawRect(QRectF(9.0, 9.8, 2.0, 1.9));
    p.drawRect(QRectF(8.6, 16.6, 6.8, 2.1));
}

void GlyphDrawing::doctors(QPainter &p)
{
    // An address book with spiral binding and a medical cross on its label.
    fill(p, darkBlue);
    p.drawRoundedRect(QRectF(4.5, 2, 16, 20.5), 1.5, 1.5);
    fill(p, Qt::white, ink, 1.0);
    for (double y : {5.5, 10.0, 14.5, 19.0})
        p.drawEllipse(QPointF(4.5, y), 1.5, 1.5);
    p.drawRoundedRect(QRectF(8.2, 6.2, 10, 10), 1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(green);
    p.drawRect(QRectF(11.7, 7.4, 3, 7.6));
    p.drawRect(QRectF(9.4, 9.7, 7.6, 3));
}

void GlyphDrawing::person(QPainter &p, double x, double y, double scale, const char *colour)
{
    p.save();
    p.translate(x, y);
    p.scale(scale, scale);
    fill(p, QColor(colour), ink, 1.2 / scale);
    QPainterPath body;
    body.moveTo(-6.5, 9);
    body.lineTo(-6.5, 6);
    body.arcTo(QRectF(-6.5, -0.5, 13, 13), 180, -180);
    body.lineTo(6.5, 9);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(0xf1, 0xc2, 0x9b));
    p.drawEllipse(QPointF(0, -5), 3.7, 3.7);
    p.restore();
}

void GlyphDrawing::badge(QPainter &p, bool plus)
{
    fill(p, plus ? green : red, plus ? darkGreen : darkRed, 1.0);
    p.drawEllipse(QPointF(17.8, 17.8), 5.6, 5.6);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(14.6, 16.7, 6.4, 2.2));
    if (plus)
        p.drawRect(QRectF(16.7, 14.6, 2.2, 6.4));
}

void GlyphDrawing::beneficiaryList(QPainter &p)
{
    person(p, 15.2, 10.2, 0.85, "#2f6db5");
    person(p, 9.2, 13.2, 1.0, "#2e8b47");
}

void GlyphDrawing::preview(QPainter &p)
{
    fill(p, Qt::white);
    polygon(p, {{3, 2}, {13.5, 2}, {18, 6.5}, {18, 21.5}, {3, 21.5}});
    fill(p, lightGrey, ink, 1.0);
    polygon(p, {{13.5, 2}, {13.5, 6.5}, {18, 6.5}});
    for (double y : {9.0, 12.0, 15.0})
        stroke(p, grey, 1.3, {{5.8, y}, {11.0, y}});
    stroke(p, brown, 3.4, {{18.6, 18.6}, {22, 22}});
    p.setPen(outline(ink, 2.0));
    p.setBrush(QColor(0xcf, 0xe3, 0xf7, 220));
    p.drawEllipse(QPointF(14.5, 14.5), 5.2, 5.2);
}

void GlyphDrawing::password(QPainter &p)
{
    p.save();
    p.translate(12, 12);
    p.rotate(45);
    fill(p, gold, brown, 1.1);
    QPainterPath key;
    key.setFillRule(Qt::OddEvenFill);
    key.addEllipse(QPointF(-6, 0), 4.8, 4.8);
    key.addEllipse(QPointF(-7, 0), 1.7, 1.7);
    QPainterPath shaft;
    shaft.addRect(QRectF(-1.6, -1.5, 11.6, 3.0));
    shaft.addRect(QRectF(5.0, 1.0, 2.0, 3.4));
    shaft.addRect(QRectF(8.0, 1.0, 2.0, 2.6));
    p.drawPath(key.united(shaft));
    p.restore();
}

void GlyphDrawing::print(QPainter &p)
{
    fill(p, Qt::white);
    p.drawRect(QRectF(7, 2, 10, 7));
    fill(p, grey);
    p.drawRoundedRect(QRectF(2.5, 8, 19, 9.5), 2, 2);
    stroke(p, ink, 1.4, {{6, 14.5}, {18, 14.5}});
    fill(p, Qt::white);
    p.drawRect(QRectF(6.5, 14.5, 11, 7.5));
    for (double y : {17.3, 19.6})
        stroke(p, midGrey, 1.1, {{8.5, y}, {15.5, y}});
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3c, 0xc8, 0x5a));
    p.drawEllipse(QPointF(18.6, 11), 1.1, 1.1);
}

void GlyphDrawing::backup(QPainter &p)
{
    fill(p, blue, ink);
    polygon(p, {{3, 2.5}, {18, 2.5}, {21.5, 6}, {21.5, 21.5}, {3, 21.5}});
    fill(p, lightGrey, ink, 0.9);
    p.drawRect(QRectF(7, 2.5, 10, 6.5));
    p.setPen(Qt::NoPen);
    p.setBrush(darkBlue);
    p.drawRect(QRectF(13, 3.6, 2.2, 4.2));
    fill(p, Qt::white, ink, 0.9);
    p.drawRect(QRectF(6, 12.5, 12.5, 9));
    for (double y : {15.2, 18.2})
        stroke(p, midGrey, 1.1, {{8, y}, {16.5, y}});
}

void GlyphDrawing::help(QPainter &p)
{
    fill(p, green, darkGreen);
    p.drawEllipse(QPointF(12, 12), 10.4, 10.4);
    QPainterPath mark;
    mark.moveTo(8.5, 8.9);
    mark.arcTo(QRectF(8.5, 5.4, 7.0, 7.0), 180, -240);
    mark.lineTo(12, 13.3);
    mark.lineTo(12, 14.6);
    p.setPen(QPen(Qt::white, 2.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mark);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12, 18.3), 1.7, 1.7);
}

void GlyphDrawing::quit(QPainter &p)
{
    // An open door with an arrow leaving through it.
    fill(p, QColor(0x3a, 0x3f, 0x47));
    p.drawRect(QRectF(5, 2, 10, 20));
    fill(p, brown, ink, 1.0);
    polygon(p, {{5, 2}, {10.5, 4}, {10.5, 23}, {5, 22}});
    p.setPen(Qt::NoPen);
    p.setBrush(gold);
    p.drawEllipse(QPointF(9.2, 13), 0.9, 0.9);
    stroke(p, green, 3.2, {{12, 12}, {18, 12}});
    fill(p, green, darkGreen, 0.8);
    polygon(p, {{16.5, 7.2}, {22.5, 12}, {16.5, 16.8}});
}

void GlyphDrawing::first(QPainter &p)
{
    fill(p, navy, navy, 0.8);
    p.drawRect(QRectF(5, 6, 2.6, 12));
    polygon(p, {{18.5, 6}, {18.5, 18}, {9.5, 12}});
}

void GlyphDrawing::prior(QPainter &p)
{
    fill(p, navy, navy, 0.8);
    polygon(p, {{16, 6}, {16, 18}, {7, 12}});
}

void GlyphDrawing::next(QPainter &p)
{
    fill(p, navy, navy, 0.8);
    polygon(p, {{8, 6}, {8, 18}, {17, 12}});
}

void GlyphDrawing::last(QPainter &p)
{
    fill(p, navy, navy, 0.8);
    polygon(p, {{5.5, 6}, {5.5, 18}, {14.5, 12}});
    p.drawRect(QRectF(16.4, 6, 2.6, 12));
}

void GlyphDrawing::insert(QPainter &p)
{
    QPainterPath upright;
    upright.addRect(QRectF(10.2, 4, 3.6, 16));
    QPainterPath bar;
    bar.addRect(QRectF(4, 10.2, 16, 3.6));
    fill(p, green, darkGreen, 1.0);
    p.drawPath(upright.united(bar));
}

void GlyphDrawing::remove(QPainter &p)
{
    fill(p, red, darkRed, 1.0);
    p.drawRect(QRectF(4, 10.2, 16, 3.6));
}

void GlyphDrawing::post(QPainter &p)
{
    stroke(p, green, 3.6, {{4.5, 12.5}, {9.5, 17.5}, {19.5, 6.5}});
}

void GlyphDrawing::cancel(QPainter &p)
{
    stroke(p, red, 3.6, {{6, 6}, {18, 18}});
    stroke(p, red, 3.6, {{18, 6}, {6, 18}});
}

void GlyphDrawing::addName(QPainter &p)
{
    person(p, 9.5, 11.5, 1.0, "#2f6db5");
    badge(p, true);
}

void GlyphDrawing::removeName(QPainter &p)
{
    person(p, 9.5, 11.5, 1.0, "#2f6db5");
    badge(p, false);
}

void GlyphDrawing::logo(QPainter &p)
{
    // A green cross for care, a gold coin for what it costs and what comes back.
    QPainterPath upright;
    upright.addRoundedRect(QRectF(18, 3, 18, 46), 3, 3);
    QPainterPath bar;
    bar.addRoundedRect(QRectF(4, 17, 46, 18), 3, 3);
    const QPainterPath cross = upright.united(bar);
    QLinearGradient crossFill(QPointF(4, 3), QPointF(50, 49));
    crossFill.setColorAt(0, QColor(0x4c, 0xbb, 0x6c));
    crossFill.setColorAt(1, QColor(0x1c, 0x74, 0x38));
    p.setPen(outline(QColor(0x13, 0x55, 0x29), 1.6));
    p.setBrush(crossFill);
    p.drawPath(cross);

    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(44, 44), 19.5, 19.5);
    QLinearGradient coinFill(QPointF(28, 28), QPointF(60, 60));
    coinFill.setColorAt(0, QColor(0xfa, 0xe0, 0x8a));
    coinFill.setColorAt(1, QColor(0xcf, 0x92, 0x18));
    p.setPen(outline(QColor(0x8a, 0x62, 0x10), 1.6));
    p.setBrush(coinFill);
    p.drawEllipse(QPointF(44, 44), 17, 17);
    p.setPen(outline(QColor(0xb0, 0x7d, 0x12), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(44, 44), 13.5, 13.5);

    const QColor engraving(0x7a, 0x52, 0x08);
    QPainterPath euro;
    euro.arcMoveTo(QRectF(37, 36, 16, 16), 50);
    euro.arcTo(QRectF(37, 36, 16, 16), 50, 260);
    p.setPen(outline(engraving, 3.0));
    p.drawPath(euro);
    stroke(p, engraving, 2.4, {{34.5, 41.5}, {44.5, 41.5}});
    stroke(p, engraving, 2.4, {{34.5, 46.5}, {43.5, 46.5}});
}
