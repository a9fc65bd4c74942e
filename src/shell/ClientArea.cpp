#include "ClientArea.h"

#include <QResizeEvent>

#include <cmath>

ClientArea::ClientArea(QSize designed, QWidget* parent)
    : QWidget(parent)
    , m_designed(designed)
{
    setScale({});
}

void ClientArea::setScale(Twips::Scale scale)
{
    m_scale = scale;
    Twips::scaleAll(this, scale);
    const QSize smallest = Twips::toPixels(m_designed, scale);
    setMinimumSize(smallest);
    resize(smallest);
}

void ClientArea::grow(QWidget* widget, bool wide, double topShare, double heightShare)
{
    m_growing.push_back({ widget, wide, topShare, heightShare });
}

void ClientArea::resizeEvent(QResizeEvent* event)
{
    const int extraWidth = std::max(0, width() - minimumWidth());
    const int extraHeight = std::max(0, height() - minimumHeight());
    for (const Growth& g : m_growing) {
        const QRect designed = Twips::toPixels(Twips::designed(g.widget), m_scale);
        const int top = static_cast<int>(std::lround(extraHeight * g.topShare));
        const int taller = static_cast<int>(std::lround(extraHeight * g.heightShare));
        g.widget->setGeometry(
            designed.x(), designed.y() + top, designed.width() + (g.wide ? extraWidth : 0), designed.height() + taller);
    }
    QWidget::resizeEvent(event);
}
