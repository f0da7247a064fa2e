#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>

class QRawFont;

// A TrueType font file holding only the outlines of the glyphs a document uses, for embedding in
// a PDF file. Glyph numbers are kept (the other glyphs are left empty), so that a page's glyph
// numbers stay valid.
namespace TrueTypeSubset
{

// The font file of `font` with the outlines of `glyphs` (and of the glyphs they are built
// from, and glyph 0); empty when the font has no TrueType outlines.
QByteArray build(const QRawFont &font, const QSet<quint32> &glyphs);

// Units per em, bounding box, ascent and descent from the font's header tables, in
// thousandths of an em as PDF font descriptors give them.
struct Metrics {
    int unitsPerEm = 1000;
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    int ascent = 0, descent = 0;
};
Metrics metrics(const QRawFont &font);
// The advance widths of the glyphs in font units (hmtx), by glyph number.
QList<quint16> advances(const QRawFont &font);

} // namespace TrueTypeSubset
