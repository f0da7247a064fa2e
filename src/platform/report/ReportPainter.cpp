#include "ReportPainter.h"
#include "ReportLineOrigin.h"

#include "ReportPaintCache.h"

#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

#include <vector>

namespace
{

QRectF scaled(const QRectF &r, qreal scale)
{
    return QRectF(r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale);
}

// The glyphs of texts that follow one another in the same font, drawn in one go: a PDF writer
// then sets up the font once for them rather than once for every text. Texts keep their order,
// in which tools that read the file without looking at positions find them.
class GlyphBatches
{
public:
    void add(const QGlyphRun &run, const QPointF &origin)
    {
        const QRawFont font = run.rawFont();
        if (batches_.empty() || !(batches_.back().font == font))
            batches_.push_back(Batch{font, {}, {}});
        Batch *batch = &batches_.back();
        batch->glyphs.append(run.glyphIndexes());
        for (const QPointF &position : run.positions())
            batch->positions.append(position + origin);
    }

    // Draws what was added and forgets it.
    void flush(QPainter &painter)
    {
        for (const Batch &batch : batches_) {
            QGlyphRun run;
            run.setRawFont(batch.font);
            run.setGlyphIndexes(batch.glyphs);
            run.setPositions(batch.positions);
            painter.drawGlyphRun(QPointF(0, 0), run);
        }
        batches_.clear();
    }

private:
    struct Batch {
        QRawFont font;
        QList<quint32> glyphs;
        QList<QPointF> positions;
    };
    std::vector<Batch> batches_;
};

} // namespace

void ReportPainter::paint(QPainter &painter, const ReportPage &page, qreal scale)
{
    ReportPaintCache cache;
    paint(painter, page, scale, cache);
}

void ReportPainter::paint(QPainter &painter, const ReportPage &page, qreal scale,
                          ReportPaintCache &cache)
{
    cache.use(scale, painter.device());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const ReportPlacedImage &image : page.images)
        painter.drawImage(scaled(image.rect, scale), image.image);

    QPen pen(Qt::black);
    pen.setWidthF(qMax<qreal>(1.0, scale));
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    for (const QLineF &line : page.lines)
        painter.drawLine(QLineF(line.p1() * scale, line.p2() * scale));

    // Thousands of texts share a handful of fonts and repeat their words from page to page:
    // each is shaped once and its glyphs placed where the toolkit's own single-line text in a
    // box would put them. A text wider than its box is left to the toolkit, which places it
    // otherwise. Texts are cut by the 96-dpi font, so that preview, print and PDF cut them
    // alike although device pixel sizes are rounded.
    GlyphBatches batches;
    for (const ReportPlacedText &text : page.texts) {
        QString shown = text.text;
        if (text.elide) {
            const QFontMetricsF &metrics = cache.font(text.font).page;
            if (metrics.horizontalAdvance(shown) > text.rect.width())
                shown = metrics.elidedText(shown, Qt::ElideRight, text.rect.width());
        }
        if (shown.isEmpty())
            continue;
        const ReportPaintCache::ShapedText &shaped = cache.shaped(text.font, shown);
        const QRectF box = scaled(text.rect, scale);
        if (shaped.advance > box.width()) {
            batches.flush(painter);
            painter.setFont(cache.font(text.font).device);
            painter.drawText(
                box, int(text.alignment | Qt::AlignVCenter) | Qt::TextSingleLine | Qt::TextDontClip,
                shown);
            continue;
        }
        const QPointF origin = reportLineOrigin(box, text.alignment, shaped.advance, shaped.height);
        for (const QGlyphRun &run : shaped.runs)
            batches.add(run, origin);
    }
    batches.flush(painter);
    painter.restore();
}

QImage ReportPainter::image(const ReportPage &page, const QSizeF &pagePixels, qreal scale)
{
    ReportPaintCache cache;
    return image(page, pagePixels, scale, cache);
}

QImage ReportPainter::image(const ReportPage &page, const QSizeF &pagePixels, qreal scale,
                            ReportPaintCache &cache)
{
    const QSize size(qMax(1, qRound(pagePixels.width() * scale)),
                     qMax(1, qRound(pagePixels.height() * scale)));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(painter, page, scale, cache);
    painter.end();
    return image;
}
