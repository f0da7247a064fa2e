#include "ReportPaintCache.h"

#include <QPaintDevice>
#include <QTextLayout>
#include <QTextOption>

namespace
{

// Amounts hardly repeat: past this many texts (a few megabytes) the cache starts again.
constexpr qsizetype maxShapedTexts = 10'000;
// Wide enough that no line is ever broken.
constexpr qreal noWrapWidth = 0x01000000;

} // namespace

void ReportPaintCache::use(qreal scale, QPaintDevice *device)
{
    const QPoint dpi(device->logicalDpiX(), device->logicalDpiY());
    device_ = device;
    if (scale == scale_ && dpi == dpi_)
        return;
    scale_ = scale;
    dpi_ = dpi;
    fonts_.clear();
    texts_.clear();
}

const ReportPaintCache::Font &ReportPaintCache::font(const ReportFont &font)
{
    const int key = font.key();
    auto it = fonts_.find(key);
    if (it == fonts_.end())
        it = fonts_.insert(key, {font.toQFont(scale_), QFontMetricsF(font.toQFont(1))});
    return *it;
}

const ReportPaintCache::ShapedText &ReportPaintCache::shaped(const ReportFont &font,
                                                             const QString &text)
{
    const std::pair<int, QString> key(font.key(), text);
    auto it = texts_.constFind(key);
    if (it != texts_.cend())
        return *it;
    if (texts_.size() >= maxShapedTexts)
        texts_.clear();
    // One unwrapped line keeping its trailing blanks, as a single-line text in a box is laid.
    QTextLayout layout(text, this->font(font).device, device_);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    option.setTextDirection(Qt::LeftToRight);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    ShapedText shaped;
    if (line.isValid()) {
        line.setLineWidth(noWrapWidth);
        line.setPosition(QPointF(0, 0));
        shaped.advance = line.horizontalAdvance();
        shaped.height = line.ascent() + line.descent();
    }
    layout.endLayout();
    shaped.runs = layout.glyphRuns();
    return *texts_.insert(key, shaped);
}
