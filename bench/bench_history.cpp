// Times the history's readers on synthetic files of several shapes, each against the floor of reading and
// splitting the file alone, and prints the figures with the peak memory and the accessibility events that one
// History and one Graph rebuild send. Each file is measured in a process of its own, so that the peak memory
// is that file's.
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_history

#include "history/HistoryFile.h"
#include "shell/MainWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>

#include <cstdio>
#include <sys/resource.h>

namespace {

// Each file is given this long before its row is marked unfinished.
constexpr int TimeoutSeconds = 180;

// The registration of the damaged line's vehicle.
constexpr qsizetype LongLineBytes = 8 * 1024 * 1024;

enum class Shape {
    Fleet, // 50 vehicles, records spread at random among them
    OneVehicle,
    OneRecordEach, // a vehicle for every record
    LongLine, // the fleet, after a first record of an 8 MB registration
};

const char* shapeName(Shape shape)
{
    switch (shape) {
    case Shape::Fleet:
        return "50 vehicles";
    case Shape::OneVehicle:
        return "1 vehicle";
    case Shape::OneRecordEach:
        return "1 record each";
    case Shape::LongLine:
        return "one 8 MB line";
    }
    return "";
}

class BenchWindow : public frmTripLedger
{
public:
    using frmTripLedger::frmTripLedger;

protected:
    void showMessage(const QString& text, const QString& title, QMessageBox::Icon) override
    {
        std::fprintf(stderr, "unexpected message: %s: %s\n", qPrintable(title), qPrintable(text.left(200)));
    }
};

QByteArray recordLine(const QByteArray& registration, int i, int mileage)
{
    return "VehicleReg:" + registration
        + QStringLiteral(";Date:%1/%2/2005 %3:%4:12;Mileage:%5;Cost:45.50;MPG: %6;"
                         "Commute Distance:15;Price Per Unit:95;Unit:Litre;\r\n")
              .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
              .arg(1 + i / 28 % 12, 2, 10, QLatin1Char('0'))
              .arg(i % 24, 2, 10, QLatin1Char('0'))
              .arg(i % 60, 2, 10, QLatin1Char('0'))
              .arg(mileage)
              .arg(mileage / 9.58, 0, 'f', 2)
              .toLatin1();
}

void writeHistory(const QString& path, Shape shape, int records)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QRandomGenerator random(42);
    QByteArray chunk;
    if (shape == Shape::LongLine)
        chunk += recordLine(QByteArray(LongLineBytes, 'W'), 0, 400);
    for (int i = 0; i < records; ++i) {
        int vehicle = 0;
        if (shape == Shape::Fleet || shape == Shape::LongLine)
            vehicle = int(random.bounded(50));
        else if (shape == Shape::OneRecordEach)
            vehicle = i;
        const int mileage = 250 + int(random.bounded(250));
        chunk += recordLine("AB" + QByteArray::number(vehicle).rightJustified(2, '0') + " CDE", i, mileage);
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk);
}

double peakMegabytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

template <typename Work> double milliseconds(Work work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

// Lets the window finish what a click started, as the event loop would before the user sees the page: the
// views lay their items out in posted events, then everything is painted.
void settle(QWidget& window)
{
    for (int round = 0; round < 3; ++round)
        QCoreApplication::processEvents();
    window.repaint();
}

int accessibilityEvents = 0;

void countAccessibilityEvent(QAccessibleEvent*)
{
    ++accessibilityEvents;
}

void printCell(const QString& text)
{
    std::printf(" | %-18s", qPrintable(text));
    std::fflush(stdout);
}

// Measures one file in this process and prints its row, cell by cell, so that a row cut short by the timeout
// still shows what was measured.
int measure(Shape shape, int records)
{
    QTemporaryDir dir;
    const QString path = HistoryFile::path(dir.path());
    writeHistory(path, shape, records);
    const double fileMegabytes = double(QFileInfo(path).size()) / (1024.0 * 1024.0);
    std::printf("%-14s %9d %8.1f", shapeName(shape), records, fileMegabytes);

    qint64 lines = 0;
    const double floor = milliseconds([&] { HistoryFile::forEachLine(path, [&](QByteArrayView) { ++lines; }); });
    std::printf(" | %8.0f", floor);
    std::fflush(stdout);
    const auto timed = [floor](double ms) {
        return QStringLiteral("%1 ms (%2x)").arg(ms, 0, 'f', 0).arg(ms / std::max(floor, 1.0), 0, 'f', 1);
    };

    AppEnvironment environment = AppEnvironment::system();
    environment.locale = QLocale(QLocale::English, QLocale::UnitedKingdom);
    environment.programDirectory = dir.path(); // the history beside the program
    BenchWindow window(environment);
    window.show();
    printCell(timed(milliseconds([&] {
        window.Form_Load();
        settle(window);
    })));

    auto* tabs = window.findChild<QTabBar*>(QStringLiteral("tbsData"));
    printCell(timed(milliseconds([&] {
        tabs->setCurrentIndex(1);
        settle(window);
    })));

    // The graph of the last vehicle to appear, or in the damaged file the one of the long line.
    auto* vehicles = window.findChild<QComboBox*>(QStringLiteral("cboVehicleList"));
    const int chosen = shape == Shape::LongLine ? 0 : vehicles->count() - 1;
    tabs->setCurrentIndex(2);
    settle(window);
    printCell(timed(milliseconds([&] {
        vehicles->setCurrentIndex(chosen);
        emit vehicles->activated(chosen);
        settle(window);
    })));

    // One more rebuild of each page, as a screen reader's user would see it.
    // As a screen reader's bridge would: the public QAccessible::setActive only tells observers, so the
    // platform's own switch is thrown.
    QAccessible::installUpdateHandler(countAccessibilityEvent);
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    tabs->setCurrentIndex(1);
    settle(window);
    accessibilityEvents = 0;
    const double history = milliseconds([&] {
        emit tabs->tabBarClicked(1);
        settle(window);
    });
    printCell(QStringLiteral("%1 in %2 ms").arg(accessibilityEvents).arg(history, 0, 'f', 0));
    tabs->setCurrentIndex(2);
    settle(window);
    accessibilityEvents = 0;
    const double graph = milliseconds([&] {
        emit vehicles->activated(chosen);
        settle(window);
    });
    printCell(QStringLiteral("%1 in %2 ms").arg(accessibilityEvents).arg(graph, 0, 'f', 0));

    std::printf(" | %8.0f\n", peakMegabytes());
    if (lines != records + (shape == Shape::LongLine ? 1 : 0))
        std::fprintf(stderr, "read %lld lines of %d\n", static_cast<long long>(lines), records);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 3)
        return measure(Shape(arguments[1].toInt()), arguments[2].toInt());

    std::printf("%-14s %9s %8s | %8s | %-18s | %-18s | %-18s | %-18s | %-18s | %8s\n", "shape", "records", "file MB",
        "floor ms", "LoadVehicleList", "LoadHistoricalData", "LoadGraphData", "a11y: History", "a11y: Graph",
        "peak MB");
    std::fflush(stdout);
    const std::pair<Shape, int> files[] = {
        { Shape::Fleet, 10'000 },
        { Shape::Fleet, 100'000 },
        { Shape::Fleet, 1'000'000 },
        { Shape::OneVehicle, 10'000 },
        { Shape::OneVehicle, 1'000'000 },
        { Shape::OneRecordEach, 10'000 },
        { Shape::OneRecordEach, 100'000 },
        { Shape::LongLine, 10'000 },
    };
    for (const auto& [shape, records] : files) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), { QString::number(int(shape)), QString::number(records) });
        if (!child.waitForFinished(TimeoutSeconds * 1000)) {
            child.kill();
            child.waitForFinished();
            std::printf(" | unfinished after %d s\n", TimeoutSeconds);
        }
    }
    return 0;
}
