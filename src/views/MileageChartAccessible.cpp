#include "MileageChartAccessible.h"

#include "MileageChart.h"

#include "calc/Numbers.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <algorithm>

namespace {

// The description of a chart of at least one point.
QString summary(const GraphData::Points& points, const QString& vehicle, const QLocale& locale)
{
    const qsizetype count = points.size();
    double lowest = points.mpg(0);
    double highest = lowest;
    for (qsizetype i = 1; i < count; ++i) {
        lowest = std::min(lowest, points.mpg(i));
        highest = std::max(highest, points.mpg(i));
    }
    const auto mpg = [&locale](double value) {
        return Numbers::formatTwoDecimals(value, locale);
    };
    // One pass over all the arguments: a % in a registration or a date is never taken for a place.
    return QStringLiteral("%1: %2 %3 from %4 to %5; lowest %6, highest %7, latest %8 MPG.")
        .arg(vehicle, locale.toString(count),
            count == 1 ? QStringLiteral("calculation") : QStringLiteral("calculations"), points.date(0),
            points.date(count - 1), mpg(lowest), mpg(highest), mpg(points.mpg(count - 1)));
}

QString pointName(const GraphData::Points& points, qsizetype i, const QLocale& locale)
{
    return points.date(i) + QStringLiteral(", MPG ") + Numbers::formatTwoDecimals(points.mpg(i), locale);
}

// The calculation the walk has reached. A new one is made for every key of the walk, so that a screen reader,
// which announces the focus moving to another object, hears every step, and the point at an end again when a key
// would go past it.
class PointInterface : public QAccessibleInterface
{
public:
    PointInterface(MileageChart* chart, qsizetype index)
        : m_chart(chart)
        , m_index(index)
    {
    }

    qsizetype index() const { return m_index; }

    bool isValid() const override { return m_chart && m_index < m_chart->points().size(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_chart ? parent()->window() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_chart); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    void setText(QAccessible::Text, const QString&) override { }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid())
            return QString();
        return pointName(m_chart->points(), m_index, m_chart->locale());
    }

    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const int size = m_chart->ringSize();
        return QRect(m_chart->pointPosition(m_index) - QPoint(size / 2, size / 2), QSize(size, size));
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.focusable = true;
        state.selectable = true;
        state.selected = isValid() && m_chart->highlighted() == m_index;
        state.focused = state.selected && m_chart->hasFocus();
        return state;
    }

private:
    QPointer<MileageChart> m_chart;
    const qsizetype m_index;
};

class ChartInterface : public QAccessibleWidget
{
public:
    explicit ChartInterface(MileageChart* chart)
        : QAccessibleWidget(chart, QAccessible::Chart)
    {
    }
    ~ChartInterface() override { forgetPoint(); }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Description)
            return QAccessibleWidget::text(t);
        const MileageChart* c = chart();
        return c->points().empty() ? c->title() : summary(c->points(), c->vehicle(), c->locale());
    }

    // The walked calculation is the only child: the chart's view is the chart itself to a screen reader.
    int childCount() const override { return chart()->highlighted() < 0 ? 0 : 1; }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child && child == m_point && childCount() == 1 ? 0 : -1;
    }
    QAccessibleInterface* focusChild() const override { return chart()->hasFocus() ? child(0) : nullptr; }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        QAccessibleInterface* point = child(0);
        return point && point->rect().contains(x, y) ? point : nullptr;
    }

    QAccessibleInterface* child(int index) const override
    {
        const qsizetype at = chart()->highlighted();
        if (index != 0 || at < 0)
            return nullptr;
        if (!m_point || m_pointStep != chart()->steps()) {
            forgetPoint();
            m_point = new PointInterface(chart(), at);
            m_pointStep = chart()->steps();
            m_pointId = QAccessible::registerAccessibleInterface(m_point); // the cache owns it from here
        }
        return m_point;
    }

private:
    MileageChart* chart() const { return static_cast<MileageChart*>(widget()); }
    void forgetPoint() const
    {
        if (m_pointId != 0)
            QAccessible::deleteAccessibleInterface(m_pointId);
        m_point = nullptr;
        m_pointId = 0;
    }

    mutable PointInterface* m_point = nullptr;
    mutable QAccessible::Id m_pointId = 0;
    mutable quint64 m_pointStep = 0;
};

QAccessibleInterface* chartInterface(const QString& className, QObject* object)
{
    auto* chart = qobject_cast<MileageChart*>(object);
    return className == QLatin1String("MileageChart") && chart ? new ChartInterface(chart) : nullptr;
}

} // namespace

namespace MileageChartAccessible {

void install()
{
    static const bool installed = (QAccessible::installFactory(chartInterface), true);
    Q_UNUSED(installed)
}

} // namespace MileageChartAccessible
