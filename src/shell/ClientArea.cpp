#include "ClientArea.h"

#include <QResizeEvent>

#include <cmath>

ClientArea::ClientArea(QSize designed, QWidget* parent)
    : QWidget(parent)
    , m_designed(designed)
{
    setMinimumSize(designed);
    resize(designed);
}

void ClientArea::grow(QWidget* widget, bool wide, double topShare, double heightShare)
{
    m_growing.push_back({ widget, widget->geometry(), wide, topShare, heightShare });
}

void ClientArea::resizeEvent(QResizeEvent* event)
{
    const int extraWidth = std::max(0, width() - m_designed.width());
    const int extraHeight = std::max(0, height() - m_designed.height());
    for (const Growth& g : m_growing) {
        const int top = int(std::lround(extraHeight * g.topShare));
        const int taller = int(std::lround(extraHeight * g.heightShare));
        g.widget->setGeometry(g.designed.x(), g.designed.y() + top, g.designed.width() + (g.wide ? extraWidth : 0),
            g.designed.height() + taller);
    }
    QWidget::resizeEvent(event);
}
