#pragma once

#include "Twips.h"

#include <QWidget>

#include <vector>

// The main window's client area. At its designed size every control stands where the design puts it, at the
// layout's scale (Twips); when the user enlarges the window, the controls registered with grow() take the extra
// room and all others stay put.
class ClientArea : public QWidget
{
    Q_OBJECT

public:
    // designed: the area's size in twips.
    ClientArea(QSize designed, QWidget* parent);

    // Puts every control placed in twips at scale, and makes the scaled designed size the area's smallest.
    void setScale(Twips::Scale scale);

    // From now on widget's place is its designed place plus the extra width (when wide) and the given shares of
    // the extra height added to its top and to its height.
    void grow(QWidget* widget, bool wide, double topShare, double heightShare);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Growth
    {
        QWidget* widget;
        bool wide;
        double topShare;
        double heightShare;
    };
    QSize m_designed; // twips
    Twips::Scale m_scale;
    std::vector<Growth> m_growing;
};
