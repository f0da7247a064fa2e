#include "TextContrast.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace
{

double channel(int value)
{
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// The colour of `hue` and `saturation` at `lightness`, rounded to what the screen shows.
QColor atLightness(const QColor &hsl, double lightness)
{
    const QColor c = QColor::fromHslF(std::max(0.0f, hsl.hslHueF()), hsl.hslSaturationF(),
                                      float(std::clamp(lightness, 0.0, 1.0)))
                         .toRgb();
    return QColor(c.red(), c.green(), c.blue());
}

// The lightness nearest to `from`, towards `to`, at which the colour reaches `minimum` on every
// background; none when even `to` does not. Luminance grows with lightness at a fixed hue and
// saturation, so the ratio on each background moves one way and a bisection finds the edge.
std::optional<QColor> search(const QColor &hsl, double from, double to,
                             const QList<QColor> &backgrounds, double minimum)
{
    const auto reads = [&](double lightness) {
        return TextContrast::worstRatio(atLightness(hsl, lightness), backgrounds) >= minimum;
    };
    if (!reads(to))
        return std::nullopt;
    double fails = from, passes = to;
    for (int step = 0; step < 24; ++step) {
        const double middle = (fails + passes) / 2;
        (reads(middle) ? passes : fails) = middle;
    }
    return atLightness(hsl, passes);
}

} // namespace

double TextContrast::luminance(const QColor &colour)
{
    const QColor c = colour.toRgb();
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double TextContrast::ratio(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double TextContrast::worstRatio(const QColor &text, const QList<QColor> &backgrounds)
{
    double worst = 21.0;
    for (const QColor &background : backgrounds)
        worst = std::min(worst, ratio(text, background));
    return worst;
}

QColor TextContrast::readable(const QColor &wanted, const QList<QColor> &backgrounds,
                              double minimum)
{
    const QColor shown(wanted.red(), wanted.green(), wanted.blue());
    if (worstRatio(shown, backgrounds) >= minimum)
        return shown;
    const QColor hsl = shown.toHsl();
    const double lightness = hsl.lightnessF();
    // Away from the backgrounds first: lighter when white reads better on them than black.
    const bool lighter = worstRatio(Qt::white, backgrounds) >= worstRatio(Qt::black, backgrounds);
    const double first = lighter ? 1.0 : 0.0;
    if (const auto found = search(hsl, lightness, first, backgrounds, minimum))
        return *found;
    if (const auto found = search(hsl, lightness, 1.0 - first, backgrounds, minimum))
        return *found;
    // Backgrounds both dark and light: only a middle lightness may read on all of them. The
    // nearest one that does, or else the one that reads best.
    constexpr int Steps = 512;
    std::optional<QColor> nearest;
    double nearestDistance = 2.0;
    QColor best = shown;
    double bestRatio = worstRatio(shown, backgrounds);
    for (int step = 0; step <= Steps; ++step) {
        const double l = double(step) / Steps;
        const QColor candidate = atLightness(hsl, l);
        const double r = worstRatio(candidate, backgrounds);
        if (r >= minimum && std::abs(l - lightness) < nearestDistance) {
            nearest = candidate;
            nearestDistance = std::abs(l - lightness);
        }
        if (r > bestRatio) {
            best = candidate;
            bestRatio = r;
        }
    }
    return nearest ? *nearest : best;
}
