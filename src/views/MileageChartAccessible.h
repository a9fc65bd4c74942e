#pragma once

#include "history/GraphData.h"

#include <QLocale>
#include <QString>

#include <vector>

// What a screen reader finds of a MileageChart: a chart named "Mileage chart" whose description sums up what is
// drawn, and, once the keyboard walk has reached a calculation, that calculation as the chart's one child, a
// list item named after its date and MPG. Texts follow the chart's locale.
namespace MileageChartAccessible {

// Makes every MileageChart known to Qt's accessibility by this interface; the first call in a process does it.
void install();

// "<vehicle>: <n> calculations from <first date> to <last date>; lowest <mpg>, highest <mpg>, latest <mpg> MPG."
// Empty points have no summary: the caller says what the empty chart says.
QString summary(const std::vector<GraphData::Point>& points, const QString& vehicle, const QLocale& locale);

// "<date>, MPG <mpg>".
QString pointName(const GraphData::Point& point, const QLocale& locale);

} // namespace MileageChartAccessible
