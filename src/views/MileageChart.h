#pragma once

#include "history/GraphData.h"

#include <QWidget>

class QCategoryAxis;
class QChart;
class QChartView;
class QLineSeries;
class QValueAxis;

// One vehicle's miles per gallon: a line with a marker on every point, one point per saved calculation in
// file order, the dates on the "Time" axis and the values on the "MPG" axis. With many points only evenly
// spaced dates are labelled, so that the labels stay legible, and only the points that shape the line are
// drawn (PlotReduction); the tooltip still names the saved calculation nearest the pointer.
class MileageChart : public QWidget
{
    Q_OBJECT

public:
    // At most this many dates are written under the axis.
    static constexpr int MaxLabels = 5;

    explicit MileageChart(QWidget* parent = nullptr);

    void setPoints(GraphData::Points points);
    void clear();

protected:
    void changeEvent(QEvent* event) override;

private:
    void applyFont();
    void showToolTip(const QPointF& at, bool entered);

    GraphData::Points m_points;
    QChart* m_chart; // owned by m_view's scene
    QChartView* m_view;
    QLineSeries* m_series;
    QCategoryAxis* m_timeAxis;
    QValueAxis* m_mpgAxis;
};
