#pragma once

#include "ReportFont.h"
#include "ReportItem.h"

#include <QRectF>
#include <QString>

// A text item as placed on a page: what it prints and where, in page pixels at 96 dpi.
class ReportPlacedText
{
public:
    ReportItem::Kind kind = ReportItem::Kind::Label;
    QString text;
    QRectF rect;
    ReportFont font;
    Qt::Alignment alignment = Qt::AlignLeft; // horizontal; text is centred vertically
    bool elide = false;
    QString fieldName; // of a field or a sum, to find items in tests and tools
};
