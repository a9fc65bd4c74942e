#pragma once

#include <QRect>
#include <QWidget>

#include <vector>

// The main window's client area. At its designed size every control stands where the design puts it; when the
// user enlarges the window, the controls registered with grow() take the extra room and all others stay put.
class ClientArea : public QWidget
{
    Q_OBJECT

public:
    ClientArea(QSize designed, QWidget* parent);

    // From now on widget's place is its present geometry plus the extra width (when wide) and the given shares
    // of the extra height added to its top and to its height.
    void grow(QWidget* widget, bool wide, double topShare, double heightShare);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Growth
    {
        QWidget* widget;
        QRect designed;
        bool wide;
        double topShare;
        double heightShare;
    };
    QSize m_designed;
    std::vector<Growth> m_growing;
};
