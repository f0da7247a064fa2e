#include "ReportItem.h"

#include "platform/core/Formats.h"

namespace
{

ReportItem make(ReportItem::Kind kind, const QString &text, const ReportFont &font)
{
    ReportItem item;
    item.kind = kind;
    item.text = text;
    item.font = font;
    return item;
}

const QString numberPattern = QStringLiteral("#,##0.00");

} // namespace

ReportItem ReportItem::label(const QString &text, const ReportFont &font)
{
    return make(Kind::Label, text, font);
}

ReportItem ReportItem::field(const QString &fieldName, const ReportFont &font)
{
    ReportItem item = make(Kind::Field, QString(), font);
    item.fieldName = fieldName;
    return item;
}

ReportItem ReportItem::sum(const QString &fieldName, const QString &mask, const ReportFont &font)
{
    Q_ASSERT(mask.startsWith(numberPattern));
    ReportItem item = make(Kind::Sum, QString(), font);
    item.fieldName = fieldName;
    item.mask = mask;
    return item;
}

ReportItem ReportItem::date(const QString &prefix, const ReportFont &font)
{
    return make(Kind::Date, prefix, font);
}

ReportItem ReportItem::pageNumber(const QString &prefix, const ReportFont &font)
{
    return make(Kind::PageNumber, prefix, font);
}

ReportItem ReportItem::shape(ShapeKind shape)
{
    ReportItem item = make(Kind::Shape, QString(), ReportFont());
    item.shapeKind = shape;
    return item;
}

ReportItem &ReportItem::from(qreal l, qreal w)
{
    left = l;
    width = w;
    anchoredRight = false;
    alignment = Qt::AlignLeft;
    return *this;
}

ReportItem &ReportItem::endingAt(qreal right, qreal w)
{
    left = right - w;
    width = w;
    anchoredRight = false;
    alignment = Qt::AlignRight;
    return *this;
}

ReportItem &ReportItem::centredIn(qreal l, qreal w)
{
    left = l;
    width = w;
    anchoredRight = false;
    alignment = Qt::AlignHCenter;
    return *this;
}

ReportItem &ReportItem::rightAlignedIn(qreal l, qreal right)
{
    left = l;
    width = right - l;
    anchoredRight = false;
    alignment = Qt::AlignRight;
    return *this;
}

ReportItem &ReportItem::againstRightEdge(qreal w)
{
    left = 0;
    width = w;
    anchoredRight = true;
    alignment = Qt::AlignRight;
    return *this;
}

ReportItem &ReportItem::elided()
{
    elide = true;
    return *this;
}

ReportItem &ReportItem::wrapped()
{
    wrap = true;
    return *this;
}

QString ReportItem::sumText(qint64 cents) const
{
    return Formats::reportNumber(cents) + mask.mid(numberPattern.size());
}
