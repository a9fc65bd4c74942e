#pragma once

#include <QTabBar>

// The window's tab strip: its tabs are as high as the strip, as the design draws them at any scale, so that they
// meet the page below them; a strip lower than the tabs' own height cuts their lower edges, where they meet it.
class TabStrip : public QTabBar
{
    Q_OBJECT

public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override;
};
