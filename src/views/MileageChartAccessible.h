#pragma once

// What a screen reader finds of a MileageChart: a chart named "Mileage" (the reader adds "chart") whose
// description sums up what is drawn, "<vehicle>: <n> calculations from <first date> to <last date>; lowest <mpg>,
// highest <mpg>, latest <mpg> MPG." (or, empty, what the empty chart says), and, once the keyboard walk has reached
// a calculation, that calculation as the chart's one child, a list item named "<date>, MPG <mpg>". Numbers follow
// the chart's locale.
namespace MileageChartAccessible {

// Makes every MileageChart known to Qt's accessibility by this interface; the first call in a process does it.
void install();

} // namespace MileageChartAccessible
