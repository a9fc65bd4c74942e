#include "MileageChart.h"

#include "Contrast.h"
#include "MileageChartAccessible.h"
#include "PlotReduction.h"

#include "calc/Numbers.h"

#include <QAccessible>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QEvent>
#include <QKeyEvent>
#include <QLineSeries>
#include <QScatterSeries>
#include <QTextDocument>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

// The axis keys its categories by label; equal dates are told apart by invisible zero-width spaces.
constexpr char16_t Disambiguator = u'\u200b';

const QString EmptyText = QStringLiteral("Choose a vehicle above to draw its miles per gallon.");

// The line's designed colour, Qt Charts' own first blue; shown as it is only where it can be read.
constexpr QRgb LineColour = 0x209fdf;

} // namespace

MileageChart::MileageChart(QWidget* parent)
    : QWidget(parent)
    , m_chart(new QChart)
    // Given the chart at once: a view made without one makes its own, which setChart would leave undeleted.
    , m_view(new QChartView(m_chart, this))
    , m_series(new QLineSeries(m_chart))
    , m_ring(new QScatterSeries(m_chart))
    , m_timeAxis(new QCategoryAxis(m_chart))
    , m_mpgAxis(new QValueAxis(m_chart))
{
    MileageChartAccessible::install();
    m_view->setRenderHint(QPainter::Antialiasing);
    // The chart itself, not its view, takes the focus and the keys, so that Tab lands on what a screen reader
    // announces as the chart.
    setAccessibleName(QStringLiteral("Mileage")); // a screen reader adds the role, "chart"
    setFocusPolicy(Qt::StrongFocus);
    m_view->setFocusPolicy(Qt::NoFocus);
    m_chart->legend()->hide();

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

    // A hollow ring in the line's colour around the highlighted point, which stays visible inside it.
    m_ring->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    m_ring->setColor(Qt::transparent);
    m_chart->addSeries(m_ring);
    m_ring->attachAxis(m_timeAxis);
    m_ring->attachAxis(m_mpgAxis);
    const auto ringColour = [this] {
        m_ring->setPen(QPen(m_series->color(), 3));
    };
    ringColour();
    connect(m_series, &QXYSeries::colorChanged, m_ring, ringColour);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);

    connect(m_series, &QLineSeries::hovered, this, &MileageChart::showToolTip);
    connect(m_ring, &QScatterSeries::hovered, this, &MileageChart::showToolTip);
    applyFont();
    applyPalette();
    clear();
}

void MileageChart::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        applyFont();
    else if (event->type() == QEvent::PaletteChange)
        applyPalette();
    QWidget::changeEvent(event);
}

// The chart draws in its own fonts; it follows the window's instead, so that its dates fit. The last date,
// centred on the last point, runs on into the right margin by half its width.
void MileageChart::applyFont()
{
    m_chart->setMargins(QMargins(2, 2, fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000")) / 2, 2));
    QFont titleFont = font();
    titleFont.setBold(true);
    for (QAbstractAxis* axis : { static_cast<QAbstractAxis*>(m_timeAxis), static_cast<QAbstractAxis*>(m_mpgAxis) }) {
        axis->setLabelsFont(font());
        axis->setTitleFont(titleFont);
    }
}

// The chart draws in its own colours; it takes the palette's instead, as a list would: its base behind, its text
// for every text and the axes, and the line made legible on that base.
void MileageChart::applyPalette()
{
    const QColor background = palette().color(QPalette::Base);
    const QColor text = palette().color(QPalette::Text);
    m_view->setBackgroundBrush(background);
    m_chart->setBackgroundBrush(background);
    m_chart->setTitleBrush(text);
    for (QAbstractAxis* axis : { static_cast<QAbstractAxis*>(m_timeAxis), static_cast<QAbstractAxis*>(m_mpgAxis) }) {
        axis->setLabelsBrush(text);
        axis->setTitleBrush(text);
        axis->setLinePenColor(text);
        axis->setGridLineColor(palette().color(QPalette::Mid));
    }
    m_series->setColor(Contrast::readable(QColor(LineColour), background));
}

void MileageChart::clear()
{
    setPoints({}, QString());
}

void MileageChart::setPoints(GraphData::Points points, const QString& vehicle)
{
    m_points = std::move(points);
    m_vehicle = vehicle;
    m_highlighted = -1;
    m_ring->clear();
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

    // A little room above and below the data: a tenth of its spread, or of its size (at least 1) when the line is
    // flat or too flat for a tenth to count. The ends are kept within a double and rounded out to round numbers
    // only far from the largest one, so that the range is finite and holds every point, near the largest double
    // or below the smallest normal one too.
    const double largest = std::numeric_limits<double>::max();
    const double spread = (high - low) * 0.1;
    const double margin = spread > 0 ? spread : std::max(1.0, std::max(std::fabs(high), std::fabs(low)) * 0.1);
    const double bottom = std::max(low - margin, -largest);
    const double top = std::min(high + margin, largest);
    m_mpgAxis->setRange(bottom, top);
    if (count > 0 && std::max(std::fabs(bottom), std::fabs(top)) < largest / 4)
        m_mpgAxis->applyNiceNumbers();

    QAccessibleEvent described(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&described);
}

QString MileageChart::title() const
{
    return m_chart->title();
}

QPoint MileageChart::pointPosition(qsizetype i) const
{
    const QPointF inChart = m_chart->mapToPosition(QPointF(static_cast<double>(i), m_points.mpg(i)), m_series);
    return m_view->viewport()->mapToGlobal(m_view->mapFromScene(m_chart->mapToScene(inChart)));
}

int MileageChart::ringSize() const
{
    return fontMetrics().height() + 4; // as large as a line of text, whatever the screen's density
}

void MileageChart::keyPressEvent(QKeyEvent* event)
{
    const qsizetype count = m_points.size();
    const qsizetype at = m_highlighted;
    const qsizetype tenth = std::max<qsizetype>(1, count / 10);
    // Where each key leads; before the walk's first key every key but End leads to the first point.
    std::optional<qsizetype> to;
    switch (event->key()) {
    case Qt::Key_Right:
        to = at < 0 ? 0 : at + 1;
        break;
    case Qt::Key_Left:
        to = at - 1;
        break;
    case Qt::Key_PageDown:
        to = at < 0 ? 0 : at + tenth;
        break;
    case Qt::Key_PageUp:
        to = at - tenth;
        break;
    case Qt::Key_Home:
        to = 0;
        break;
    case Qt::Key_End:
        to = count - 1;
        break;
    default:
        break;
    }
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (!to || !plain || count == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    highlight(std::clamp<qsizetype>(*to, 0, count - 1));
}

void MileageChart::highlight(qsizetype i)
{
    m_highlighted = i;
    ++m_steps;
    m_ring->setMarkerSize(ringSize());
    m_ring->replace({ QPointF(static_cast<double>(i), m_points.mpg(i)) });
    QToolTip::showText(pointPosition(i) + QPoint(ringSize() / 2, 0),
        Qt::convertFromPlainText(toolTipText(i), Qt::WhiteSpacePre), m_view);
    QAccessibleEvent focused(this, QAccessible::Focus);
    focused.setChild(0); // the highlighted calculation is the chart's one accessible child
    QAccessible::updateAccessibility(&focused);
}

void MileageChart::showToolTip(const QPointF& at, bool entered)
{
    const qsizetype i = static_cast<qsizetype>(std::lround(at.x()));
    if (!entered || i < 0 || i >= m_points.size()) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(QCursor::pos(), Qt::convertFromPlainText(toolTipText(i), Qt::WhiteSpacePre), m_view);
}

QString MileageChart::toolTipText(qsizetype i) const
{
    return m_points.date(i) + QStringLiteral("\nMPG: ") + Numbers::formatTwoDecimals(m_points.mpg(i), locale());
}
