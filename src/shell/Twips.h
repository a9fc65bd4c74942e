#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

class QFont;

// The windows' layouts are given in twips, 1440 to the inch: 15 to the pixel at 96 pixels per inch, for the font
// they were drawn for, whose lines are ReferenceFontHeight pixels high. A window in a larger font scales every
// place and size by the ratio of that font's line height to the reference's, and the widths further where the
// font's letters are wider, for their height, than the reference's; in a smaller font it keeps the designed
// places. Qt scales the resulting device-independent pixels on high-density screens.
namespace Twips {

constexpr int PerPixel = 15;
// The line height, in pixels, of the font the layouts were drawn for (8-point MS Sans Serif on a 96 dpi screen).
constexpr int ReferenceFontHeight = 13;

// A layout's scale: of its widths and lefts (across) and of its heights and tops (down).
struct Scale
{
    double across = 1;
    double down = 1;
};

// Rounded to the nearest pixel; at scale 1 a multiple of 15 twips is exact.
int toPixels(int twips, double scale = 1);
QRect toPixels(const QRect& twips, Scale scale);
QSize toPixels(const QSize& twips, Scale scale);

// The scale that font's height asks for: its line height over the reference's.
double fontScale(const QFont& font);

// The least scale, from the font's own and never below 1, at which each of the captions shows whole in its scaled
// place: its minimum size fits (a label: with a letter's room to spare; a word-wrapped label: its longest word,
// and its lines at its scaled width; a tab strip: every tab at full width, and their captions). The captions are
// measured where they stand: a tab strip's tabs are as high as the strip.
Scale fittingScale(const QFont& font, const QList<QWidget*>& captions);

// The place given to widget by place(), in twips; a null rectangle for a widget placed otherwise.
QRect designed(const QWidget* widget);
// Every widget inside root that was placed with place() goes to its place at scale.
void scaleAll(QWidget* root, Scale scale);

// Names widget and places it in its parent at scale 1; every measure in twips. The place is kept for scaleAll().
template <typename Widget> Widget* place(Widget* widget, const QString& name, int left, int top, int width, int height)
{
    widget->setObjectName(name);
    const QRect twips(left, top, width, height);
    widget->setProperty("twips", twips);
    widget->setGeometry(toPixels(twips, Scale()));
    return widget;
}

} // namespace Twips
