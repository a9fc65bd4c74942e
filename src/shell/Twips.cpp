#include "Twips.h"

#include <QFontMetrics>
#include <QTabBar>

#include <algorithm>
#include <cmath>

namespace Twips {

int toPixels(int twips, double scale)
{
    return int(std::lround(twips * scale / PerPixel));
}

QRect toPixels(const QRect& twips, double scale)
{
    return { toPixels(twips.left(), scale), toPixels(twips.top(), scale), toPixels(twips.width(), scale),
        toPixels(twips.height(), scale) };
}

double fontScale(const QFont& font)
{
    return double(QFontMetrics(font).height()) / ReferenceFontHeight;
}

double fittingScale(const QFont& font, const QList<QWidget*>& captions)
{
    constexpr double Step = 0.01;
    constexpr double Largest = 10; // a bound for a caption that fits at no scale
    const auto fits = [](const QWidget* caption, double scale) {
        const QRect place = toPixels(designed(caption), scale);
        if (const auto* tabs = qobject_cast<const QTabBar*>(caption)) {
            // Every tab at its full width; the strip may cut the tabs' lower edges, where they meet the page,
            // but not their captions, centred in them.
            const QSize tab = tabs->sizeHint();
            const int captionHeight = std::max(tabs->fontMetrics().height(), tabs->iconSize().height());
            return tab.width() <= place.width() && (tab.height() + captionHeight) / 2 <= place.height();
        }
        const QSize needed = caption->minimumSizeHint();
        const int height = caption->hasHeightForWidth() ? caption->heightForWidth(place.width()) : needed.height();
        return needed.width() <= place.width() && height <= place.height();
    };
    double scale = std::max(1.0, fontScale(font));
    while (scale < Largest
        && !std::all_of(captions.begin(), captions.end(), [&](const QWidget* c) { return fits(c, scale); }))
        scale += Step;
    return scale;
}

QRect designed(const QWidget* widget)
{
    return widget->property("twips").toRect();
}

void scaleAll(QWidget* root, double scale)
{
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        const QRect twips = designed(widget);
        if (!twips.isNull())
            widget->setGeometry(toPixels(twips, scale));
    }
}

} // namespace Twips
