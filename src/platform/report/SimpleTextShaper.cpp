#include "SimpleTextShaper.h"

#include "ReportPaintCache.h"

#include <QGlyphRun>

namespace
{

// Digits, signs and separators of amounts and dates, the blanks of thousands included.
const char16_t characters[] = u"0123456789 ,./-+:\u00A0\u202F\u20AC";

} // namespace

int SimpleTextShaper::slotOf(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    switch (u) {
    case u' ':
        return 10;
    case u',':
        return 11;
    case u'.':
        return 12;
    case u'/':
        return 13;
    case u'-':
        return 14;
    case u'+':
        return 15;
    case u':':
        return 16;
    case u'\u00A0':
        return 17;
    case u'\u202F':
        return 18;
    case u'\u20AC':
        return 19;
    default:
        return -1;
    }
}

SimpleTextShaper::SimpleTextShaper(ReportPaintCache &cache, const ReportFont &font)
{
    static_assert(sizeof(characters) / sizeof(char16_t) - 1 == characterCount);
    // The font and line of a digit, which every report font draws itself.
    const ReportPaintCache::ShapedText &digit = cache.shaped(font, QStringLiteral("0"));
    if (digit.runs.size() != 1 || digit.runs[0].glyphIndexes().size() != 1)
        return;
    font_ = digit.runs[0].rawFont();
    baseline_ = digit.runs[0].positions()[0].y();
    height_ = digit.height;
    // Each character alone: one glyph of that same font, at the line's start.
    for (int i = 0; i < characterCount; ++i) {
        const ReportPaintCache::ShapedText &alone =
            cache.shaped(font, QString(QChar(characters[i])));
        known_[i] = alone.runs.size() == 1 && alone.runs[0].glyphIndexes().size() == 1 &&
                    alone.runs[0].rawFont() == font_ &&
                    alone.runs[0].positions()[0] == QPointF(0, baseline_) &&
                    alone.height == height_;
        if (known_[i]) {
            glyph_[i] = alone.runs[0].glyphIndexes()[0];
            advance_[i] = alone.advance;
        }
    }
    // Each pair: the same two glyphs, the second moved by the pair's kerning alone.
    for (int a = 0; a < characterCount; ++a) {
        for (int b = 0; b < characterCount; ++b) {
            if (!known_[a] || !known_[b])
                continue;
            const ReportPaintCache::ShapedText &pair =
                cache.shaped(font, QString(QChar(characters[a])) + QChar(characters[b]));
            if (pair.runs.size() != 1 ||
                pair.runs[0].glyphIndexes() != QList<quint32>{glyph_[a], glyph_[b]})
                continue;
            const QList<QPointF> positions = pair.runs[0].positions();
            kerning_[a][b] = positions[1].x() - advance_[a];
            pairKnown_[a][b] = positions[0] == QPointF(0, baseline_) &&
                               positions[1].y() == baseline_ &&
                               pair.advance == positions[1].x() + advance_[b];
        }
    }
}

bool SimpleTextShaper::shape(const QString &text, QList<Glyph> &glyphs, qreal &advance) const
{
    glyphs.resize(text.size());
    qreal x = 0;
    int previous = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int slot = slotOf(text.at(i));
        if (slot < 0 || !known_[slot] || (previous >= 0 && !pairKnown_[previous][slot]))
            return false;
        if (previous >= 0)
            x += advance_[previous] + kerning_[previous][slot];
        glyphs[i] = Glyph{glyph_[slot], x};
        previous = slot;
    }
    advance = previous >= 0 ? x + advance_[previous] : 0;
    return true;
}
