#include "Contrast.h"

#include <algorithm>
#include <cmath>

namespace Contrast {

namespace {

// Relative luminance, from the sRGB channels.
double luminance(const QColor& colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

} // namespace

double ratio(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readable(const QColor& designed, const QColor& background, double minimum)
{
    if (ratio(designed, background) >= minimum)
        return designed;
    // Lightness only grows every channel (or only shrinks it), so the first step that reaches minimum is the
    // least change.
    const bool lighter = ratio(Qt::white, background) >= ratio(Qt::black, background);
    const QColor hsl = designed.toHsl();
    constexpr float Step = 1.0F / 1024; // finer than one step of an 8-bit channel
    const float step = lighter ? Step : -Step;
    for (float lightness = hsl.lightnessF() + step; lightness >= 0 && lightness <= 1; lightness += step) {
        // As the screen shows it: 8 bits a channel.
        const QColor candidate(QColor::fromHslF(hsl.hslHueF(), hsl.hslSaturationF(), lightness).rgb());
        if (ratio(candidate, background) >= minimum)
            return candidate;
    }
    return lighter ? QColor(Qt::white) : QColor(Qt::black);
}

QColor caption(const QColor& designed, const QColor& text, const QColor& background)
{
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    const bool highContrast
        = (text.rgb() == black && background.rgb() == white) || (text.rgb() == white && background.rgb() == black);
    return highContrast ? text : readable(designed, background);
}

} // namespace Contrast
