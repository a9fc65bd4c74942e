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
        // Every tab at its full width. The tabs are at least as high as the strip, their captions centred in them:
        // the strip may cut the tabs' lower edges, where they meet the page, but not their captions.
        const int tab = strip->sizeHint().height();
        const int text = std::max(strip->fontMetrics().height(), strip->iconSize().height());
        return { strip->sizeHint().width(), std::max(text, (tab + text) / 2) };
    }
    QSize least = caption->minimumSizeHint();
    if (qobject_cast<const QLabel*>(caption)) // a letter's room before the control it names
        least.rwidth() += caption->fontMetrics().averageCharWidth();
    if (caption->hasHeightForWidth())
        least.setHeight(caption->heightForWidth(width));
    return least;
}

// The least scale at which twips, rounded to the nearest pixel, come to at least pixels.
double reaching(int pixels, int twips)
{
    return twips > 0 ? (pixels - 0.49) * PerPixel / twips : 1;
}

} // namespace

Scale fittingScale(const QFont& font, const QList<QWidget*>& captions)
{
    const double least = std::max(1.0, fontScale(font));
    Scale scale { least, least };
    // A caption's width does not depend on its height; a word-wrapped caption's height on its width does.
    for (const QWidget* caption : captions)
        scale.across = std::max(scale.across, reaching(needed(caption, 0).width(), designed(caption).width()));
    for (const QWidget* caption : captions) {
        const QRect twips = designed(caption);
        const int width = toPixels(twips.width(), scale.across);
        scale.down = std::max(scale.down, reaching(needed(caption, width).height(), twips.height()));
    }
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
