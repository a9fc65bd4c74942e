#pragma once

#include <QColor>

// Text colours that stay legible on whatever background the desktop's palette gives: the contrast ratio of
// WCAG 2.1 and the least change of a designed colour that reaches it.
namespace Contrast {

// The contrast WCAG 2.1 AA asks of normal text.
constexpr double Minimum = 4.5;

// The contrast ratio of two opaque colours, from 1 (equal luminance) to 21 (black and white).
double ratio(const QColor& a, const QColor& b);

// designed where it reaches minimum against background; otherwise the same hue and saturation made lighter (on
// a background darker than middle grey) or darker (on a lighter one), by the least step of lightness that reaches
// minimum, or white or black where none does.
QColor readable(const QColor& designed, const QColor& background, double minimum = Minimum);

// The colour of a coloured caption drawn on background among texts of colour text: under a high-contrast
// palette (pure black and pure white) the palette's own text colour, elsewhere readable(designed, background).
QColor caption(const QColor& designed, const QColor& text, const QColor& background);

} // namespace Contrast
