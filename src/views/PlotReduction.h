#pragma once

#include "history/GraphData.h"

#include <QList>
#include <QPointF>

// The points of the mileage line worth drawing, point i at x = i. A plot is only so many pixels across: a long
// series is cut into runs of consecutive points, one run a column, and each run keeps its first, lowest,
// highest and last point. The line through those covers the same pixels as the line through all of them.
namespace PlotReduction {

// A series of at most this many points is drawn whole.
constexpr qsizetype DrawnWhole = 4096;
// The runs of a longer series: more than the plot has pixels across, even on a high-density screen.
constexpr qsizetype Columns = 1024;

// The points to draw, in x order, each once.
QList<QPointF> drawnPoints(const GraphData::Points& points);

} // namespace PlotReduction
