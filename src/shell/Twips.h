#pragma once

#include <QString>

// The windows' layouts are given in twips, 1440 to the inch: 15 to the pixel at 96 pixels per inch. Qt scales
// the resulting device-independent pixels on high-density screens.
namespace Twips {

constexpr int PerPixel = 15;

constexpr int toPixels(int twips)
{
    return twips / PerPixel;
}

// Names widget and places it in its parent; every measure in twips.
template <typename Widget> Widget* place(Widget* widget, const QString& name, int left, int top, int width, int height)
{
    widget->setObjectName(name);
    widget->setGeometry(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
    return widget;
}

} // namespace Twips
