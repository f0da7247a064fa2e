#include "TrueTypeSubset.h"

#include <QList>
#include <QRawFont>

#include <algorithm>
#include <array>

namespace
{

quint16 u16(const QByteArray &data, qsizetype at)
{
    if (at < 0 || at + 2 > data.size())
        return 0;
    return quint16(quint8(data[at]) << 8 | quint8(data[at + 1]));
}

qint16 s16(const QByteArray &data, qsizetype at)
{
    return qint16(u16(data, at));
}

quint32 u32(const QByteArray &data, qsizetype at)
{
    if (at < 0 || at + 4 > data.size())
        return 0;
    return quint32(u16(data, at)) << 16 | u16(data, at + 2);
}

void put16(QByteArray &data, qsizetype at, quint16 value)
{
    data[at] = char(value >> 8);
    data[at + 1] = char(value & 0xFF);
}

void append16(QByteArray &out, quint16 value)
{
    out.append(char(value >> 8));
    out.append(char(value & 0xFF));
}

void append32(QByteArray &out, quint32 value)
{
    append16(out, quint16(value >> 16));
    append16(out, quint16(value & 0xFFFF));
}

quint32 checksum(const QByteArray &table)
{
    QByteArray padded = table;
    padded.append((4 - padded.size() % 4) % 4, '\0');
    quint32 sum = 0;
    for (qsizetype i = 0; i < padded.size(); i += 4)
        sum += u32(padded, i);
    return sum;
}

// Where each glyph's outline starts in glyf, one more entry than glyphs.
QList<quint32> glyphOffsets(const QByteArray &loca, bool longOffsets, int glyphCount)
{
    QList<quint32> offsets;
    offsets.reserve(glyphCount + 1);
    for (int i = 0; i <= glyphCount; ++i)
        offsets.append(longOffsets ? u32(loca, qsizetype(i) * 4)
                                   : u16(loca, qsizetype(i) * 2) * 2u);
    return offsets;
}

// The glyphs a composite glyph is made of.
QList<quint32> components(const QByteArray &glyph)
{
    QList<quint32> parts;
    if (s16(glyph, 0) >= 0)
        return parts;
    constexpr quint16 wordArguments = 0x0001, scale = 0x0008, more = 0x0020, xyScale = 0x0040,
                      twoByTwo = 0x0080;
    qsizetype at = 10;
    quint16 flags = more;
    while ((flags & more) && at + 4 <= glyph.size()) {
        flags = u16(glyph, at);
        parts.append(u16(glyph, at + 2));
        at += 4 + ((flags & wordArguments) ? 4 : 2);
        at += (flags & scale) ? 2 : (flags & xyScale) ? 4 : (flags & twoByTwo) ? 8 : 0;
    }
    return parts;
}

} // namespace

QByteArray TrueTypeSubset::build(const QRawFont &font, const QSet<quint32> &glyphs)
{
    QByteArray head = font.fontTable("head");
    const QByteArray maxp = font.fontTable("maxp");
    const QByteArray loca = font.fontTable("loca");
    const QByteArray glyf = font.fontTable("glyf");
    if (head.size() < 54 || maxp.size() < 6 || loca.isEmpty() || glyf.isEmpty())
        return {};
    const int glyphCount = u16(maxp, 4);
    const QList<quint32> offsets = glyphOffsets(loca, s16(head, 50) == 1, glyphCount);
    auto outline = [&](quint32 glyph) {
        const quint32 from = offsets[glyph], to = offsets[glyph + 1];
        return to > from && to <= quint32(glyf.size()) ? glyf.mid(from, to - from) : QByteArray();
    };

    // The glyphs used, and those composite glyphs are built from.
    QList<bool> kept(glyphCount, false);
    QList<quint32> pending(glyphs.cbegin(), glyphs.cend());
    pending.append(0);
    while (!pending.isEmpty()) {
        const quint32 glyph = pending.takeLast();
        if (glyph >= quint32(glyphCount) || kept[glyph])
            continue;
        kept[glyph] = true;
        pending.append(components(outline(glyph)));
    }

    QByteArray newGlyf, newLoca;
    for (int glyph = 0; glyph < glyphCount; ++glyph) {
        append32(newLoca, quint32(newGlyf.size()));
        if (kept[glyph]) {
            newGlyf += outline(quint32(glyph));
            newGlyf.append((4 - newGlyf.size() % 4) % 4, '\0');
        }
    }
    append32(newLoca, quint32(newGlyf.size()));
    put16(head, 8, 0);
    put16(head, 10, 0); // checksum adjustment, which readers of embedded fonts ignore
    put16(head, 50, 1); // long glyph offsets

    // The tables a PDF reader needs to draw TrueType glyphs, in the order of their tags.
    struct Table {
        const char *tag;
        QByteArray data;
    };
    std::array<Table, 9> all{{{"cvt ", font.fontTable("cvt ")},
                              {"fpgm", font.fontTable("fpgm")},
                              {"glyf", newGlyf},
                              {"head", head},
                              {"hhea", font.fontTable("hhea")},
                              {"hmtx", font.fontTable("hmtx")},
                              {"loca", newLoca},
                              {"maxp", maxp},
                              {"prep", font.fontTable("prep")}}};
    QList<Table> tables;
    for (const Table &table : all)
        if (!table.data.isEmpty())
            tables.append(table);

    const auto count = quint16(tables.size());
    quint16 power = 1, log2 = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++log2;
    }
    QByteArray file;
    append32(file, 0x00010000);
    append16(file, count);
    append16(file, quint16(power * 16));
    append16(file, log2);
    append16(file, quint16(count * 16 - power * 16));
    quint32 offset = 12 + 16 * count;
    QByteArray bodies;
    for (const Table &table : tables) {
        file.append(table.tag, 4);
        append32(file, checksum(table.data));
        append32(file, offset + quint32(bodies.size()));
        append32(file, quint32(table.data.size()));
        bodies += table.data;
        bodies.append((4 - bodies.size() % 4) % 4, '\0');
    }
    return file + bodies;
}

TrueTypeSubset::Metrics TrueTypeSubset::metrics(const QRawFont &font)
{
    const QByteArray head = font.fontTable("head");
    const QByteArray hhea = font.fontTable("hhea");
    Metrics m;
    m.unitsPerEm = u16(head, 18) > 0 ? u16(head, 18) : 1000;
    auto thousandths = [&](int units) { return units * 1000 / m.unitsPerEm; };
    m.xMin = thousandths(s16(head, 36));
    m.yMin = thousandths(s16(head, 38));
    m.xMax = thousandths(s16(head, 40));
    m.yMax = thousandths(s16(head, 42));
    m.ascent = thousandths(s16(hhea, 4));
    m.descent = thousandths(s16(hhea, 6));
    return m;
}

QList<quint16> TrueTypeSubset::advances(const QRawFont &font)
{
    const QByteArray hhea = font.fontTable("hhea");
    const QByteArray hmtx = font.fontTable("hmtx");
    const int glyphCount = u16(font.fontTable("maxp"), 4);
    const int metricCount = std::max(1, int(u16(hhea, 34)));
    QList<quint16> widths(glyphCount, 0);
    for (int glyph = 0; glyph < glyphCount; ++glyph)
        widths[glyph] = u16(hmtx, qsizetype(std::min(glyph, metricCount - 1)) * 4);
    return widths;
}
