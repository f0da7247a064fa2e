#include "ReportPdfDocument.h"
#include "ReportLineOrigin.h"

#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

#include <cmath>

namespace
{

// Points per page pixel (96 dpi).
constexpr double pointsPerPixel = 72.0 / 96.0;
// Points per device pixel of the shaped texts.
constexpr double pointsPerDevicePixel = pointsPerPixel / ReportPdfDocument::shapingScale;
// As the report painter's texts do: texts repeat, amounts hardly do.
constexpr qsizetype maxEncodedTexts = 10'000;

void append(QByteArray &out, double value)
{
    PdfObjectWriter::appendNumber(out, value);
}

void appendHex4(QByteArray &out, quint32 glyph)
{
    static const char digits[] = "0123456789ABCDEF";
    const char bytes[4] = {digits[(glyph >> 12) & 0xF], digits[(glyph >> 8) & 0xF],
                           digits[(glyph >> 4) & 0xF], digits[glyph & 0xF]};
    out.append(bytes, 4);
}

// Appends "[<glyphs> correction <glyphs>] TJ" for glyphs at `xs` (points from the first glyph),
// correcting the font's advances only where the shaped positions differ from them.
template <typename GlyphAt>
void appendShow(QByteArray &show, const PdfFont &font, double size, qsizetype count,
                const GlyphAt &glyphAt)
{
    show += "[<";
    double pen = 0; // where a viewer puts the next glyph
    for (qsizetype i = 0; i < count; ++i) {
        const auto [glyph, x] = glyphAt(i);
        // In thousandths of the font size; a viewer moves left by positive numbers.
        const long long correction = std::llround((pen - x) * 1000.0 / size);
        if (correction != 0) {
            show += "> " + QByteArray::number(correction) + " <";
            pen -= double(correction) * size / 1000.0;
        }
        appendHex4(show, glyph);
        pen += font.advance(glyph) * size / 1000.0;
    }
    show += ">] TJ\n";
}

} // namespace

ReportPdfDocument::ReportPdfDocument(QIODevice &device, const ReportPageGeometry &geometry)
    : pdf_(device), pageWidth_(geometry.pagePixels().width() * pointsPerPixel),
      pageHeight_(geometry.pagePixels().height() * pointsPerPixel),
      shapingDevice_(1, 1, QImage::Format_RGB32)
{
    // Texts are shaped as on a 1200-dpi device, so that they get the widths they have on paper.
    const int dotsPerMeter = qRound(1200.0 / 0.0254);
    shapingDevice_.setDotsPerMeterX(dotsPerMeter);
    shapingDevice_.setDotsPerMeterY(dotsPerMeter);
    cache_.use(shapingScale, &shapingDevice_);
    pagesObject_ = pdf_.reserve();
    resourcesObject_ = pdf_.reserve();
}

ReportPdfDocument::~ReportPdfDocument() = default;

void ReportPdfDocument::addPage(const ReportPage &page)
{
    QByteArray content;
    content.reserve(32 * 1024);
    appendImages(content, page);
    if (!page.lines.isEmpty()) {
        // As the painter's pen: one pixel at 96 dpi, square ends.
        content += "0 J 0.75 w\n";
        for (const QLineF &line : page.lines) {
            append(content, line.x1() * pointsPerPixel);
            content += ' ';
            append(content, pageHeight_ - line.y1() * pointsPerPixel);
            content += " m ";
            append(content, line.x2() * pointsPerPixel);
            content += ' ';
            append(content, pageHeight_ - line.y2() * pointsPerPixel);
            content += " l\n";
        }
        content += "S\n";
    }
    content += "BT\n";
    currentFont_ = nullptr;
    currentSize_ = 0;
    for (const ReportPlacedText &text : page.texts)
        appendText(content, text);
    content += "ET\n";

    const int contents = pdf_.stream(content);
    QByteArray body =
        "<< /Type /Page /Parent " + PdfObjectWriter::reference(pagesObject_) + " /MediaBox [0 0 ";
    append(body, pageWidth_);
    body += ' ';
    append(body, pageHeight_);
    body += "] /Resources " + PdfObjectWriter::reference(resourcesObject_) + " /Contents " +
            PdfObjectWriter::reference(contents) + " >>";
    pageObjects_.append(pdf_.object(body));
}

void ReportPdfDocument::appendText(QByteArray &content, const ReportPlacedText &text)
{
    // Cut as the painter cuts it, by the 96-dpi font.
    QString shown = text.text;
    if (text.elide) {
        const QFontMetricsF &metrics = cache_.font(text.font).page;
        if (metrics.horizontalAdvance(shown) > text.rect.width())
            shown = metrics.elidedText(shown, Qt::ElideRight, text.rect.width());
    }
    if (shown.isEmpty())
        return;
    const QRectF box(text.rect.topLeft() * shapingScale, text.rect.size() * shapingScale);
    if (appendSimpleText(content, text, shown, box))
        return;
    const EncodedText &encoded = this->encoded(text.font, shown);
    const QPointF origin = reportLineOrigin(box, text.alignment, encoded.advance, encoded.height);
    if (!encoded.actualText.isEmpty())
        content += "/Span << /ActualText " + encoded.actualText + " >> BDC\n";
    for (const Segment &segment : encoded.segments) {
        appendPosition(content, segment.font, segment.size,
                       origin * pointsPerDevicePixel + QPointF(segment.dx, segment.dy));
        content += segment.show;
    }
    if (!encoded.actualText.isEmpty())
        content += "EMC\n";
}

void ReportPdfDocument::appendPosition(QByteArray &content, PdfFont *font, double size,
                                       const QPointF &baseline)
{
    if (font != currentFont_ || size != currentSize_) {
        content += '/' + font->name() + ' ';
        append(content, size);
        content += " Tf\n";
        currentFont_ = font;
        currentSize_ = size;
    }
    content += "1 0 0 1 ";
    append(content, baseline.x());
    content += ' ';
    append(content, pageHeight_ - baseline.y());
    content += " Tm ";
}

bool ReportPdfDocument::appendSimpleText(QByteArray &content, const ReportPlacedText &text,
                                         const QString &shown, const QRectF &box)
{
    auto it = shapers_.find(text.font.key());
    if (it == shapers_.end()) {
        auto shaper = std::make_unique<SimpleTextShaper>(cache_, text.font);
        PdfFont *font = shaper->font().isValid() ? fontFor(shaper->font()) : nullptr;
        it = shapers_.emplace(text.font.key(), SimpleFont{std::move(shaper), font}).first;
    }
    const SimpleTextShaper &shaper = *it->second.shaper;
    PdfFont *font = it->second.font;
    qreal advance = 0;
    if (font == nullptr || !shaper.shape(shown, simpleGlyphs_, advance))
        return false;
    const double size = shaper.font().pixelSize() * pointsPerDevicePixel;
    const QPointF origin = reportLineOrigin(box, text.alignment, advance, shaper.height());
    appendPosition(content, font, size,
                   (origin + QPointF(0, shaper.baseline())) * pointsPerDevicePixel);
    appendShow(content, *font, size, simpleGlyphs_.size(), [&](qsizetype i) {
        return std::pair(simpleGlyphs_[i].index, simpleGlyphs_[i].x * pointsPerDevicePixel);
    });
    for (qsizetype i = 0; i < shown.size(); ++i)
        font->use(simpleGlyphs_[i].index, shown.at(i));
    return true;
}

const ReportPdfDocument::EncodedText &ReportPdfDocument::encoded(const ReportFont &font,
                                                                 const QString &text)
{
    const std::pair<int, QString> key(font.key(), text);
    if (auto it = texts_.constFind(key); it != texts_.cend())
        return *it;
    if (texts_.size() >= maxEncodedTexts)
        texts_.clear();
    const ReportPaintCache::ShapedText &shaped = cache_.shaped(font, text);
    EncodedText encoded;
    encoded.advance = shaped.advance;
    encoded.height = shaped.height;
    bool everyGlyphKnown = true;
    for (const QGlyphRun &run : shaped.runs) {
        const QRawFont raw = run.rawFont();
        PdfFont *pdfFont = fontFor(raw);
        // The characters each glyph stands for, where one character makes one glyph.
        QHash<quint32, QString> characters;
        const QList<quint32> mapped = raw.glyphIndexesForString(text);
        for (qsizetype i = 0; i < mapped.size() && i < text.size(); ++i)
            if (mapped[i] != 0)
                characters.insert(mapped[i], text.at(i));
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        const double size = raw.pixelSize() * pointsPerDevicePixel;
        // Glyphs on one baseline make one segment.
        for (qsizetype from = 0; from < glyphs.size();) {
            qsizetype to = from + 1;
            while (to < glyphs.size() && positions[to].y() == positions[from].y())
                ++to;
            const QPointF first = positions[from] * pointsPerDevicePixel;
            Segment segment{pdfFont, size, first.x(), first.y(), {}};
            appendShow(segment.show, *pdfFont, size, to - from, [&](qsizetype i) {
                return std::pair(glyphs[from + i],
                                 positions[from + i].x() * pointsPerDevicePixel - first.x());
            });
            for (qsizetype i = from; i < to; ++i) {
                const QString stands = characters.value(glyphs[i]);
                everyGlyphKnown = everyGlyphKnown && !stands.isEmpty();
                pdfFont->use(glyphs[i], stands);
            }
            encoded.segments.push_back(std::move(segment));
            from = to;
        }
    }
    if (!everyGlyphKnown)
        encoded.actualText = PdfObjectWriter::textString(text);
    return *texts_.insert(key, std::move(encoded));
}

PdfFont *ReportPdfDocument::fontFor(const QRawFont &font)
{
    const QString key = font.familyName() + QLatin1Char('|') + font.styleName() + QLatin1Char('|') +
                        QString::number(font.weight()) + QLatin1Char('|') +
                        QString::number(int(font.style()));
    if (PdfFont *known = fontsByName_.value(key))
        return known;
    const QByteArray name = "F" + QByteArray::number(fonts_.size() + 1);
    fonts_.push_back(std::make_unique<PdfFont>(font, name, pdf_.reserve()));
    if (!fonts_.back()->embeddable())
        throw FontNotEmbeddable();
    fontsByName_.insert(key, fonts_.back().get());
    return fonts_.back().get();
}

void ReportPdfDocument::appendImages(QByteArray &content, const ReportPage &page)
{
    for (const ReportPlacedImage &placed : page.images) {
        if (placed.image.isNull())
            continue;
        // On white paper, so any transparency is flattened onto white.
        QImage rgb(placed.image.size(), QImage::Format_RGB888);
        rgb.fill(Qt::white);
        {
            QPainter painter(&rgb);
            painter.drawImage(0, 0, placed.image);
        }
        QByteArray pixels;
        pixels.reserve(qsizetype(rgb.width()) * rgb.height() * 3);
        for (int y = 0; y < rgb.height(); ++y)
            pixels.append(reinterpret_cast<const char *>(rgb.constScanLine(y)), rgb.width() * 3);
        const int object = pdf_.stream(pixels, "/Type /XObject /Subtype /Image /Width " +
                                                   QByteArray::number(rgb.width()) + " /Height " +
                                                   QByteArray::number(rgb.height()) +
                                                   " /ColorSpace /DeviceRGB /BitsPerComponent 8");
        const QByteArray name = "Im" + QByteArray::number(images_.size() + 1);
        images_.append({name, object});
        const QRectF r = placed.rect;
        content += "q ";
        append(content, r.width() * pointsPerPixel);
        content += " 0 0 ";
        append(content, r.height() * pointsPerPixel);
        content += ' ';
        append(content, r.x() * pointsPerPixel);
        content += ' ';
        append(content, pageHeight_ - r.bottom() * pointsPerPixel);
        content += " cm /" + name + " Do Q\n";
    }
}

void ReportPdfDocument::finish(const QString &title)
{
    // A document has at least one page, blank when the report has none.
    if (pageObjects_.isEmpty())
        addPage(ReportPage());
    QByteArray fonts;
    for (const auto &font : fonts_) {
        font->write(pdf_);
        fonts += '/' + font->name() + ' ' + PdfObjectWriter::reference(font->object()) + ' ';
    }
    QByteArray xobjects;
    for (const auto &[name, object] : images_)
        xobjects += '/' + name + ' ' + PdfObjectWriter::reference(object) + ' ';
    pdf_.object("<< /ProcSet [/PDF /Text /ImageC] /Font << " + fonts + ">> /XObject << " +
                    xobjects + ">> >>",
                resourcesObject_);
    QByteArray kids;
    for (const int page : pageObjects_)
        kids += PdfObjectWriter::reference(page) + ' ';
    pdf_.object("<< /Type /Pages /Kids [" + kids + "] /Count " +
                    QByteArray::number(pageObjects_.size()) + " >>",
                pagesObject_);
    const int catalog =
        pdf_.object("<< /Type /Catalog /Pages " + PdfObjectWriter::reference(pagesObject_) + " >>");
    const int info = pdf_.object("<< /Title " + PdfObjectWriter::textString(title) + " /Creator " +
                                 PdfObjectWriter::textString("Talo 3.0") + " >>");
    pdf_.finish(catalog, info);
}
