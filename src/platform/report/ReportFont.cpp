#include "ReportFont.h"

#include <QtMath>

QFont ReportFont::toQFont(qreal scale) const
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(qMax(1, qRound(pixelSize * scale)));
    font.setBold(bold);
    font.setItalic(italic);
    // Hinting would snap glyphs to the grid of a low-resolution preview, so that the text
    // there would no longer have the width it has on paper.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}
