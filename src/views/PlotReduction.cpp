#include "PlotReduction.h"

#include <algorithm>

namespace PlotReduction {

QList<QPointF> drawnPoints(const GraphData::Points& points)
{
    const qsizetype count = points.size();
    const auto point = [&points](qsizetype i) {
        return QPointF(static_cast<double>(i), points.mpg(i));
    };
    QList<QPointF> drawn;
    if (count <= DrawnWhole) {
        drawn.reserve(count);
        for (qsizetype i = 0; i < count; ++i)
            drawn.append(point(i));
        return drawn;
    }

    drawn.reserve(4 * Columns);
    qsizetype first = 0;
    for (qsizetype column = 1; column <= Columns; ++column) {
        const qsizetype end = column * count / Columns;
        qsizetype lowest = first;
        qsizetype highest = first;
        double low = points.mpg(first);
        double high = low;
        for (qsizetype i = first + 1; i < end; ++i) {
            const double mpg = points.mpg(i);
            if (mpg < low) {
                lowest = i;
                low = mpg;
            }
            if (mpg > high) {
                highest = i;
                high = mpg;
            }
        }
        for (const qsizetype i : { first, std::min(lowest, highest), std::max(lowest, highest), end - 1 }) {
            if (drawn.isEmpty() || drawn.last().x() < static_cast<double>(i))
                drawn.append(point(i));
        }
        first = end;
    }
    return drawn;
}

} // namespace PlotReduction
