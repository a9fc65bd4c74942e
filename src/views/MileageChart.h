#pragma once

#include "history/GraphData.h"

#include <QWidget>

class QCategoryAxis;
class QChart;
class QChartView;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

// One vehicle's miles per gallon: a line with a marker on every point, one point per saved calculation in
// file order, the dates on the "Time" axis and the values on the "MPG" axis. With many points only evenly
// spaced dates are labelled, so that the labels stay legible, and only the points that shape the line are
// drawn (PlotReduction); the tooltip still names the saved calculation nearest the pointer.
//
// Focused, it is walked from the keyboard over every saved calculation, drawn or not: Right and Left to the next
// and previous, Home and End to the first and last, Page Down and Page Up a tenth of them forward and back. The
// calculation walked to is ringed, its tooltip shown beside it, and it becomes the chart's focused accessible
// child (MileageChartAccessible), which is what a screen reader announces.
class MileageChart : public QWidget
{
    Q_OBJECT

public:
    // At most this many dates are written under the axis: at any font, as many as fit the chart's width whole.
    static constexpr int MaxLabels = 4;

    explicit MileageChart(QWidget* parent = nullptr);

    // Draws the points of the vehicle shown as `vehicle`; the walk starts again with nothing highlighted.
    void setPoints(GraphData::Points points, const QString& vehicle);
    void clear();

    const GraphData::Points& points() const { return m_points; }
    const QString& vehicle() const { return m_vehicle; }
    // The chart's title: what an empty chart says instead of a line.
    QString title() const;
    // The calculation the walk has reached, or -1 before the first key.
    qsizetype highlighted() const { return m_highlighted; }
    // How many keys the walk has taken: those that stopped at an end as well as those that moved it.
    quint64 steps() const { return m_steps; }
    // Where point i is drawn, in global coordinates.
    QPoint pointPosition(qsizetype i) const;
    // The diameter of the ring around the highlighted point, in pixels.
    int ringSize() const;

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyFont();
    void applyPalette();
    void showToolTip(const QPointF& at, bool entered);
    QString toolTipText(qsizetype i) const;
    void highlight(qsizetype i);

    GraphData::Points m_points;
    QString m_vehicle;
    qsizetype m_highlighted = -1;
    quint64 m_steps = 0;
    QChart* m_chart; // owned by m_view's scene
    QChartView* m_view;
    QLineSeries* m_series;
    QScatterSeries* m_ring; // the highlighted point, alone
    QCategoryAxis* m_timeAxis;
    QValueAxis* m_mpgAxis;
};
