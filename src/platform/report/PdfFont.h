#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QRawFont>
#include <QSet>
#include <QString>

class PdfObjectWriter;

// One font of a PDF document, embedded as a subset of its TrueType glyphs and shown by glyph
// number (Identity-H). It learns which glyphs the pages use and which characters each glyph
// stands for, so that a viewer can copy the text out.
class PdfFont
{
public:
    // `name` is the resource name the pages use (F1, F2...); `object` the reserved number
    // of the font object the pages' resources refer to.
    PdfFont(const QRawFont &font, const QByteArray &name, int object);

    const QByteArray &name() const { return name_; }
    int object() const { return object_; }
    // Whether the font's outlines can be embedded: TrueType outlines.
    bool embeddable() const { return embeddable_; }

    // The font's advance of `glyph` in thousandths of the font size.
    double advance(quint32 glyph) const;
    // Notes that `glyph` is shown, standing for `text` (empty when unknown).
    void use(quint32 glyph, const QString &text)
    {
        if (glyph < quint32(used_.size()) && (!used_[glyph] || text_[glyph].isEmpty())) {
            used_[glyph] = true;
            text_[glyph] = text;
        }
    }

    // Writes the font, its descriptor, the subset font file and the character map.
    void write(PdfObjectWriter &pdf) const;

private:
    QList<quint32> usedGlyphs() const;
    QByteArray widths(const QList<quint32> &glyphs) const;
    QByteArray toUnicode(const QList<quint32> &glyphs) const;

    QRawFont font_;
    QByteArray name_;
    int object_ = 0;
    bool embeddable_ = false;
    int unitsPerEm_ = 1000;
    QList<quint16> advances_;
    // By glyph number: shown, and the characters it stands for.
    QList<bool> used_;
    QList<QString> text_;
};
