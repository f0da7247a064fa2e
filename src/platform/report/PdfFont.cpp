#include "PdfFont.h"

#include "PdfObjectWriter.h"
#include "TrueTypeSubset.h"

#include <QRegularExpression>

#include <algorithm>

namespace
{

// The PostScript name of the font, letters and digits only.
QByteArray baseName(const QRawFont &font)
{
    QString name = font.familyName() + QLatin1Char('-') + font.styleName();
    name.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9-]")));
    return name.toLatin1();
}

// Six capitals telling this subset apart from other subsets of the same font.
QByteArray subsetTag(const QByteArray &name, const QList<quint32> &glyphs)
{
    size_t seed = qHash(name);
    for (const quint32 glyph : glyphs)
        seed ^= qHash(glyph) + 0x9e3779b9 + (seed << 6) + (seed >> 2);
    QByteArray tag(6, 'A');
    for (char &c : tag) {
        c = char('A' + seed % 26);
        seed /= 26;
    }
    return tag;
}

QByteArray hex4(quint32 value)
{
    return QByteArray::number(value, 16).rightJustified(4, '0').toUpper();
}

} // namespace

PdfFont::PdfFont(const QRawFont &font, const QByteArray &name, int object)
    : font_(font), name_(name), object_(object)
{
    const QByteArray glyf = font.fontTable("glyf");
    embeddable_ = !glyf.isEmpty() && !font.fontTable("loca").isEmpty();
    if (embeddable_) {
        unitsPerEm_ = TrueTypeSubset::metrics(font).unitsPerEm;
        advances_ = TrueTypeSubset::advances(font);
        used_.resize(advances_.size(), false);
        text_.resize(advances_.size());
    }
}

double PdfFont::advance(quint32 glyph) const
{
    return glyph < quint32(advances_.size()) ? advances_[glyph] * 1000.0 / unitsPerEm_ : 0.0;
}

void PdfFont::write(PdfObjectWriter &pdf) const
{
    const QList<quint32> glyphs = usedGlyphs();
    const QByteArray name = subsetTag(name_, glyphs) + '+' + baseName(font_);
    const TrueTypeSubset::Metrics m = TrueTypeSubset::metrics(font_);
    const int file =
        pdf.stream(TrueTypeSubset::build(font_, QSet<quint32>(glyphs.cbegin(), glyphs.cend())));
    int flags = 32; // not symbolic
    if (font_.style() != QFont::StyleNormal)
        flags |= 64;
    const int descriptor = pdf.object(
        "<< /Type /FontDescriptor /FontName /" + name + " /Flags " + QByteArray::number(flags) +
        " /FontBBox [" + QByteArray::number(m.xMin) + ' ' + QByteArray::number(m.yMin) + ' ' +
        QByteArray::number(m.xMax) + ' ' + QByteArray::number(m.yMax) + "] /ItalicAngle " +
        (font_.style() != QFont::StyleNormal ? "-12" : "0") + " /Ascent " +
        QByteArray::number(m.ascent) + " /Descent " + QByteArray::number(m.descent) +
        " /CapHeight " + QByteArray::number(m.ascent) + " /StemV " +
        (font_.weight() >= QFont::Bold ? "120" : "80") + " /FontFile2 " +
        PdfObjectWriter::reference(file) + " >>");
    const int cidFont =
        pdf.object("<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + name +
                   " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
                   " /FontDescriptor " +
                   PdfObjectWriter::reference(descriptor) + " /CIDToGIDMap /Identity /W " +
                   widths(glyphs) + " >>");
    const int unicode = pdf.stream(toUnicode(glyphs));
    pdf.object("<< /Type /Font /Subtype /Type0 /BaseFont /" + name +
                   " /Encoding /Identity-H /DescendantFonts [" +
                   PdfObjectWriter::reference(cidFont) + "] /ToUnicode " +
                   PdfObjectWriter::reference(unicode) + " >>",
               object_);
}

QList<quint32> PdfFont::usedGlyphs() const
{
    QList<quint32> glyphs;
    for (qsizetype glyph = 0; glyph < used_.size(); ++glyph)
        if (used_[glyph])
            glyphs.append(quint32(glyph));
    return glyphs;
}

QByteArray PdfFont::widths(const QList<quint32> &glyphs) const
{
    QByteArray out = "[";
    for (const quint32 glyph : glyphs) {
        out += QByteArray::number(glyph) + " [";
        PdfObjectWriter::appendNumber(out, advance(glyph));
        out += "] ";
    }
    return out + ']';
}

QByteArray PdfFont::toUnicode(const QList<quint32> &used) const
{
    QList<quint32> glyphs;
    for (const quint32 glyph : used)
        if (!text_[glyph].isEmpty())
            glyphs.append(glyph);
    QByteArray out = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                     "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                     "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                     "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    // At most a hundred entries a block.
    for (qsizetype from = 0; from < glyphs.size(); from += 100) {
        const qsizetype count = std::min<qsizetype>(100, glyphs.size() - from);
        out += QByteArray::number(count) + " beginbfchar\n";
        for (qsizetype i = from; i < from + count; ++i) {
            out += '<' + hex4(glyphs[i]) + "> <";
            for (const QChar c : text_[glyphs[i]])
                out += hex4(c.unicode());
            out += ">\n";
        }
        out += "endbfchar\n";
    }
    return out + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}
