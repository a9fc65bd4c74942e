#include "MileageChart.h"

#include "PlotReduction.h"

#include "calc/Numbers.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QEvent>
#include <QLineSeries>
#include <QTextDocument>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

// The axis keys its categories by label; equal dates are told apart by invisible zero-width spaces.
constexpr char16_t Disambiguator = u'\u200b';

const QString EmptyText = QStringLiteral("Choose a vehicle above to draw its miles per gallon.");

} // namespace

MileageChart::MileageChart(QWidget* parent)
    : QWidget(parent)
    , m_chart(new QChart)
    // Given the chart at once: a view made without one makes its own, which setChart would leave undeleted.
    , m_view(new QChartView(m_chart, this))
    , m_series(new QLineSeries(m_chart))
    , m_timeAxis(new QCategoryAxis(m_chart))
    , m_mpgAxis(new QValueAxis(m_chart))
{
    m_view->setRenderHint(QPainter::Antialiasing);
    // Named as a whole and in its view, which is what takes the keyboard focus and so what a screen reader
    // announces.
    setAccessibleName(QStringLiteral("Mileage chart"));
    m_view->setAccessibleName(accessibleName());
    m_chart->legend()->hide();
    m_chart->setMargins(QMargins(2, 2, 2, 2));

    m_series->setName(QStringLiteral("MPG"));
    m_series->setPointsVisible(true);
    m_chart->addSeries(m_series);

    m_timeAxis->setTitleText(QStringLiteral("Time"));
    m_timeAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_mpgAxis->setTitleText(QStringLiteral("MPG"));
    m_chart->addAxis(m_timeAxis, Qt::AlignBottom);
    m_chart->addAxis(m_mpgAxis, Qt::AlignLeft);
    m_series->attachAxis(m_timeAxis);
    m_series->attachAxis(m_mpgAxis);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);

    connect(m_series, &QLineSeries::hovered, this, &MileageChart::showToolTip);
    applyFont();
    clear();
}

void MileageChart::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        applyFont();
    QWidget::changeEvent(event);
}

// The chart draws in its own fonts; it follows the window's instead, so that its dates fit.
void MileageChart::applyFont()
{
    QFont titleFont = font();
    titleFont.setBold(true);
    for (QAbstractAxis* axis : { static_cast<QAbstractAxis*>(m_timeAxis), static_cast<QAbstractAxis*>(m_mpgAxis) }) {
        axis->setLabelsFont(font());
        axis->setTitleFont(titleFont);
    }
}

void MileageChart::clear()
{
    setPoints({});
}

void MileageChart::setPoints(GraphData::Points points)
{
    m_points = std::move(points);
    const qsizetype count = m_points.size();

    double low = 0;
    double high = 1;
    for (qsizetype i = 0; i < count; ++i) {
        const double mpg = m_points.mpg(i);
        low = i == 0 ? mpg : std::min(low, mpg);
        high = i == 0 ? mpg : std::max(high, mpg);
    }
    m_series->replace(PlotReduction::drawnPoints(m_points));

    for (const QString& label : m_timeAxis->categoriesLabels())
        m_timeAxis->remove(label);
    m_timeAxis->setStartValue(-0.5);
    const qsizetype step = std::max<qsizetype>(1, (count + MaxLabels - 1) / MaxLabels);
    for (qsizetype i = 0; i < count; i += step) {
        QString label = m_points.label(i).toHtmlEscaped(); // the axis draws its labels as rich text
        while (m_timeAxis->categoriesLabels().contains(label))
            label += QChar(Disambiguator);
        m_timeAxis->append(label, static_cast<double>(i));
    }
    m_timeAxis->setRange(-0.5, std::max<double>(0.5, static_cast<double>(count) - 0.5));

    // Empty, the chart asks for a vehicle rather than show axes that mean nothing.
    m_timeAxis->setVisible(count > 0);
    m_mpgAxis->setVisible(count > 0);
    m_chart->setTitle(count > 0 ? QString() : EmptyText);

    // A little room above and below the data; a flat line still gets a scale around it.
    const double margin = high > low ? (high - low) * 0.1 : std::max(1.0, std::fabs(high) * 0.1);
    m_mpgAxis->setRange(low - margin, high + margin);
    if (count > 0)
        m_mpgAxis->applyNiceNumbers();
}

void MileageChart::showToolTip(const QPointF& at, bool entered)
{
    const qsizetype i = static_cast<qsizetype>(std::lround(at.x()));
    if (!entered || i < 0 || i >= m_points.size()) {
        QToolTip::hideText();
        return;
    }
    const QString text
        = m_points.date(i) + QStringLiteral("\nMPG: ") + Numbers::formatTwoDecimals(m_points.mpg(i), locale());
    QToolTip::showText(QCursor::pos(), Qt::convertFromPlainText(text, Qt::WhiteSpacePre), m_view);
}
