#pragma once

#include "ReportFont.h"

#include <QList>
#include <QRawFont>
#include <QString>

#include <array>

class ReportPaintCache;

// Places the glyphs of texts made only of the characters numbers, amounts and dates are written
// with, without shaping each text: a register holds hundreds of thousands of distinct amounts
// and dates, and shaping each costs more than writing it. The glyph of every such character
// and the kerning of every pair are learnt once by shaping them as the report painter does, so
// that the glyphs land exactly where the painter puts them.
class SimpleTextShaper
{
public:
    struct Glyph {
        quint32 index = 0;
        qreal x = 0; // from the start of the line
    };

    // Learns `font` as `cache` shapes it (at the cache's scale and device).
    SimpleTextShaper(ReportPaintCache &cache, const ReportFont &font);

    // False when `text` holds another character, or one that the font does not draw itself,
    // or a pair that shaping changes otherwise than by kerning; `glyphs` and `advance` then
    // mean nothing.
    bool shape(const QString &text, QList<Glyph> &glyphs, qreal &advance) const;

    const QRawFont &font() const { return font_; }
    qreal baseline() const { return baseline_; }
    qreal height() const { return height_; }

private:
    static constexpr int characterCount = 20;
    static int slotOf(QChar c);

    QRawFont font_;
    qreal baseline_ = 0, height_ = 0;
    std::array<bool, characterCount> known_{};
    std::array<std::array<bool, characterCount>, characterCount> pairKnown_{};
    std::array<quint32, characterCount> glyph_{};
    std::array<qreal, characterCount> advance_{};
    std::array<std::array<qreal, characterCount>, characterCount> kerning_{};
};
