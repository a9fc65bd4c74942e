#include "ReportPainter.h"

#include "DisplayText.h"
#include "MileageChart.h"
#include "ReportPages.h"

#include "calc/Numbers.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace ReportPainter {

namespace {

// The table's columns: their share of the width, and whether numbers stand in them (right-aligned).
constexpr qreal ColumnShares[] = { 0.30, 0.14, 0.14, 0.14, 0.14, 0.14 };

// A number of the table as the window shows it, or the text as saved where it is none.
QString shown(const QString& saved, const QLocale& locale, bool twoDecimals)
{
    const std::optional<double> value = Numbers::parseStored(saved, locale);
    if (!value)
        return DisplayText::oneLine(saved.trimmed());
    return twoDecimals ? Numbers::formatTwoDecimals(*value, locale) : Numbers::generalText(*value, locale);
}

// The Graph page's chart of the vehicle, drawn at the size of target as if on a screen of 96 pixels an inch, in
// black on white.
void drawChart(ReportPages& pages, QPagedPaintDevice& device, const QRectF& target,
    const VehicleReport::Vehicle& vehicle, const QFont& font)
{
    MileageChart chart;
    chart.setAttribute(Qt::WA_DontShowOnScreen);
    QPalette palette(Qt::black, Qt::white);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Mid, Qt::lightGray);
    chart.setPalette(palette);
    chart.setFont(font);
    const qreal scale = device.logicalDpiX() / 96.0;
    chart.resize(QSizeF(target.width() / scale, target.height() / scale).toSize());
    chart.setPoints(vehicle.points, vehicle.registration);
    chart.show();
    QPainter& painter = pages.painter();
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(scale, scale);
    chart.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    painter.restore();
}

void paintVehicle(ReportPages& pages, QPagedPaintDevice& device, const VehicleReport::Vehicle& vehicle,
    const QLocale& locale, const QFont& font)
{
    const qreal w = pages.width();
    const qreal line = pages.line();
    const VehicleReport::Totals& t = vehicle.totals;
    const auto number = [&locale](double value) {
        return Numbers::formatTwoDecimals(value, locale);
    };
    pages.heading(QStringLiteral("Vehicle ") + DisplayText::oneLine(vehicle.registration));
    const QString first = vehicle.calculations.empty() ? QString() : vehicle.calculations.front().date;
    const QString last = vehicle.calculations.empty() ? QString() : vehicle.calculations.back().date;
    const std::pair<QString, QString> facts[] = {
        { QStringLiteral("First calculation"), DisplayText::oneLine(first) },
        { QStringLiteral("Last calculation"), DisplayText::oneLine(last) },
        { QStringLiteral("Calculations counted"), locale.toString(t.calculations) },
        { QStringLiteral("Total miles"), number(t.miles) },
        { QStringLiteral("Total fuel (gallons)"), number(t.gallons) },
        { QStringLiteral("Total spent"), number(t.spent) },
        { QStringLiteral("Overall MPG"), number(t.overallMpg) + QStringLiteral("  (total miles / total gallons)") },
        { QStringLiteral("Mean MPG"), number(t.meanMpg) + QStringLiteral("  (the mean of the calculations' MPG)") },
        { QStringLiteral("Cost per mile"), number(t.costPerMile) },
        { QStringLiteral("Lowest MPG"), number(t.lowestMpg) },
        { QStringLiteral("Highest MPG"), number(t.highestMpg) },
    };
    for (const auto& [label, value] : facts) {
        pages.text(label, 0, w * 0.3);
        pages.text(value, w * 0.3, w * 0.7);
        pages.y() += line;
    }
    pages.paragraph(QStringLiteral("Overall MPG counts every gallon alike and the mean every calculation alike: the "
                                   "two differ when tanks differ in size."));
    pages.y() += line;

    if (!vehicle.points.empty()) {
        const qreal height = std::min(w * 0.45, device.height() * 0.4);
        pages.room(height);
        drawChart(pages, device, QRectF(0, pages.y(), w, height), vehicle, font);
        pages.y() += height + line;
    }

    const QString headers[] = { QStringLiteral("Date"), QStringLiteral("Miles"), QStringLiteral("Cost"),
        QStringLiteral("MPG"), QStringLiteral("Price"), QStringLiteral("Unit") };
    const auto row = [&](const QString(&cells)[6], bool bold) {
        qreal x = 0;
        for (int c = 0; c < 6; ++c) {
            const qreal cw = w * ColumnShares[c];
            pages.text(cells[c], x, cw - line / 2, c == 0 || c == 5 ? Qt::AlignLeft : Qt::AlignRight, bold);
            x += cw;
        }
        pages.y() += line;
    };
    const auto header = [&] {
        row(headers, true);
        pages.painter().drawLine(QPointF(0, pages.y()), QPointF(w, pages.y()));
        pages.y() += line / 4;
    };
    pages.room(3 * line);
    header();
    for (const VehicleReport::Calculation& c : vehicle.calculations) {
        if (pages.room(line))
            header();
        row({ DisplayText::oneLine(c.date), shown(c.miles, locale, false), shown(c.cost, locale, true),
                shown(c.mpg, locale, true), shown(c.price, locale, false), DisplayText::oneLine(c.unit) },
            false);
    }
    if (vehicle.unreadable > 0) {
        pages.y() += line / 2;
        const bool one = vehicle.unreadable == 1;
        pages.paragraph(locale.toString(vehicle.unreadable)
            + (one ? QStringLiteral(" calculation listed here is") : QStringLiteral(" calculations listed here are"))
            + QStringLiteral(" left out of the totals: ") + (one ? QStringLiteral("its") : QStringLiteral("their"))
            + QStringLiteral(" mileage, cost or MPG cannot be read."));
    }
}

} // namespace

bool paint(QPagedPaintDevice& device, const std::vector<VehicleReport::Vehicle>& vehicles, const QLocale& locale,
    const QFont& font)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    QFont printed = font;
    if (printed.pointSizeF() <= 0) // a font sized in pixels has no size on paper
        printed.setPointSizeF(10);
    ReportPages pages(device, painter, printed);
    for (size_t i = 0; i < vehicles.size(); ++i) {
        if (i > 0)
            pages.newPage();
        paintVehicle(pages, device, vehicles[i], locale, printed);
    }
    return painter.end();
}

QPageSize pageSize(const QLocale& locale)
{
    const QLocale::Territory letter[]
        = { QLocale::Canada, QLocale::Mexico, QLocale::Chile, QLocale::Colombia, QLocale::Philippines };
    const bool usesLetter = locale.measurementSystem() == QLocale::ImperialUSSystem
        || std::find(std::begin(letter), std::end(letter), locale.territory()) != std::end(letter);
    return QPageSize(usesLetter ? QPageSize::Letter : QPageSize::A4);
}

} // namespace ReportPainter
