#pragma once

#include <QColor>
#include <QList>

// Contrast of a text colour on its background as the accessibility guidelines measure it
// (relative luminance, ratio from 1:1 to 21:1), and the nearest readable colour: a fixed colour
// of the program (blue totals, green captions) kept where the desktop's palette lets it be read,
// made lighter or darker, in its own hue, where it does not.
namespace TextContrast
{

// Body text must reach this ratio on its background.
constexpr double MinimumRatio = 4.5;

// Relative luminance of the colour as shown (8 bits a channel): 0 for black, 1 for white.
double luminance(const QColor &colour);
// (lighter + 0.05) / (darker + 0.05): 1 for the same colour, 21 for black on white.
double ratio(const QColor &a, const QColor &b);
// The lowest ratio of `text` on any of `backgrounds` (21 when there is none).
double worstRatio(const QColor &text, const QList<QColor> &backgrounds);
// `wanted` itself when it reaches `minimum` on every background; otherwise the colour of the
// same hue and saturation whose lightness is closest to it and that does, lighter on dark
// backgrounds and darker on light ones; black or white, whichever reads better, when no
// lightness of that hue does.
QColor readable(const QColor &wanted, const QList<QColor> &backgrounds,
                double minimum = MinimumRatio);

} // namespace TextContrast
