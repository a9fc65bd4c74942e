#include "PlotReduction.h"

#include <algorithm>

namespace PlotReduction {

QList<QPointF> drawnPoints(const std::vector<GraphData::Point>& points)
{
    const qsizetype count = qsizetype(points.size());
    const auto point = [&points](qsizetype i) {
        return QPointF(double(i), points[size_t(i)].mpg);
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
        for (qsizetype i = first + 1; i < end; ++i) {
            const double mpg = points[size_t(i)].mpg;
            if (mpg < points[size_t(lowest)].mpg)
                lowest = i;
            if (mpg > points[size_t(highest)].mpg)
                highest = i;
        }
        for (const qsizetype i : { first, std::min(lowest, highest), std::max(lowest, highest), end - 1 }) {
            if (drawn.isEmpty() || drawn.last().x() < double(i))
                drawn.append(point(i));
        }
        first = end;
    }
    return drawn;
}

} // namespace PlotReduction
