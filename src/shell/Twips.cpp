#include "Twips.h"

#include <QFontMetrics>
#include <QLabel>
#include <QTabBar>

#include <algorithm>
#include <cmath>

namespace Twips {

int toPixels(int twips, double scale)
{
    return static_cast<int>(std::lround(twips * scale / PerPixel));
}

QRect toPixels(const QRect& twips, Scale scale)
{
    return { toPixels(twips.left(), scale.across), toPixels(twips.top(), scale.down),
        toPixels(twips.width(), scale.across), toPixels(twips.height(), scale.down) };
}

QSize toPixels(const QSize& twips, Scale scale)
{
    return { toPixels(twips.width(), scale.across), toPixels(twips.height(), scale.down) };
}

double fontScale(const QFont& font)
{
    return static_cast<double>(QFontMetrics(font).height()) / ReferenceFontHeight;
}

namespace {

// The room caption needs at its place, in pixels, when its place is width pixels wide.
QSize needed(const QWidget* caption, int width)
{
    if (const auto* strip = qobject_cast<const QTabBar*>(caption)) {
        // Every tab at its full width; the strip may cut the tabs' lower edges, where they meet the page, but not
        // their captions, centred in them.
        const QSize tabs = strip->sizeHint();
        return { tabs.width(), std::max(strip->fontMetrics().height(), strip->iconSize().height()) };
    }
    QSize least = caption->minimumSizeHint();
    if (qobject_cast<const QLabel*>(caption)) // a letter's room before the control it names
        least.rwidth() += caption->fontMetrics().averageCharWidth();
    if (caption->hasHeightForWidth())
        least.setHeight(caption->heightForWidth(width));
    return least;
}

// The least scale, from scale and by Step, at which fits(caption, scale) holds for every caption.
template <typename Fits> double least(double scale, const QList<QWidget*>& captions, Fits fits)
{
    constexpr double Step = 0.01;
    constexpr double Largest = 10; // a bound for a caption that fits at no scale
    while (scale < Largest
        && !std::all_of(captions.begin(), captions.end(), [&](const QWidget* c) { return fits(c, scale); }))
        scale += Step;
    return scale;
}

} // namespace

Scale fittingScale(const QFont& font, const QList<QWidget*>& captions)
{
    Scale scale;
    scale.across = least(std::max(1.0, fontScale(font)), captions, [](const QWidget* caption, double across) {
        const int width = toPixels(designed(caption).width(), across);
        return needed(caption, width).width() <= width;
    });
    scale.down = least(std::max(1.0, fontScale(font)), captions, [&scale](const QWidget* caption, double down) {
        const QRect place = toPixels(designed(caption), Scale { scale.across, down });
        // A tab's caption is centred in the tab, which is at least as high as the strip.
        const int height = qobject_cast<const QTabBar*>(caption)
            ? (std::max(caption->sizeHint().height(), place.height()) + needed(caption, place.width()).height()) / 2
            : needed(caption, place.width()).height();
        return height <= place.height();
    });
    return scale;
}

QRect designed(const QWidget* widget)
{
    return widget->property("twips").toRect();
}

void scaleAll(QWidget* root, Scale scale)
{
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        const QRect twips = designed(widget);
        if (!twips.isNull())
            widget->setGeometry(toPixels(twips, scale));
    }
}

} // namespace Twips
