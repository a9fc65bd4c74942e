// Times the mileage chart's keyboard walk with a screen reader listening, on charts of several sizes: one key
// press with the repaint it causes, and the reading of what a screen reader asks for after it (the focused
// calculation's name, and the chart's description, which is summed up from every point).
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_chartwalk

#include "views/MileageChart.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>

#include <cstdio>

namespace {

int focusEvents = 0;

void countFocusEvent(QAccessibleEvent* event)
{
    if (event->type() == QAccessible::Focus)
        ++focusEvents;
}

// The mean milliseconds of one run of `step`, over `runs` runs.
template <typename Step> double millisecondsEach(int runs, Step step)
{
    QElapsedTimer timer;
    timer.start();
    for (int run = 0; run < runs; ++run)
        step();
    return double(timer.nsecsElapsed()) / 1e6 / runs;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QAccessible::installUpdateHandler(countFocusEvent);
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true); // as a screen reader's bridge
    std::printf(
        "%9s | %-16s | %-16s | %-16s | %-12s\n", "points", "draw ms", "key + repaint ms", "name ms", "description ms");
    for (const int count : { 1'000, 10'000, 100'000, 1'000'000 }) {
        GraphData::Points points;
        for (int i = 0; i < count; ++i)
            points.append("21/03/2005 14:35:12", 30.0 + (i * 7919 % 1000) / 100.0);
        MileageChart chart;
        chart.resize(800, 600);
        chart.show();
        chart.setFocus();
        const double draw = millisecondsEach(1, [&] {
            chart.setPoints(points, QStringLiteral("AB12 CDE"));
            QCoreApplication::processEvents(); // the scene takes its changes in posted events
            chart.repaint();
        });
        QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
        QCoreApplication::sendEvent(&chart, &end);
        focusEvents = 0;
        QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
        const double key = millisecondsEach(100, [&] {
            QCoreApplication::sendEvent(&chart, &left);
            QCoreApplication::processEvents();
            chart.repaint();
        });
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&chart);
        const double name = millisecondsEach(100, [&] { accessible->child(0)->text(QAccessible::Name); });
        const double description = millisecondsEach(10, [&] { accessible->text(QAccessible::Description); });
        std::printf("%9d | %16.2f | %16.2f | %16.4f | %12.2f   (%d focus events for 100 keys)\n", count, draw, key,
            name, description, focusEvents);
    }
    return 0;
}
