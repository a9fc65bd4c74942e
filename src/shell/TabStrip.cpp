#include "TabStrip.h"

#include <algorithm>

QSize TabStrip::tabSizeHint(int index) const
{
    QSize size = QTabBar::tabSizeHint(index);
    size.setHeight(std::max(size.height(), height()));
    return size;
}
