// Times the history's readers on synthetic files of several shapes, each against the floor of reading and
// splitting the file alone (and beside it what reading the file into one fresh buffer costs), and prints the
// figures with the peak memory and the accessibility events that one History and one Graph rebuild send. Times are the
// process's CPU time (user and system), the best of three, so that other work on a busy machine counts as little as it
// can. Each file is measured in a process of its own, so that the peak memory is that file's; an empty history is
// measured first, and every other file's peak is given as what it needs above the empty one's, as a multiple of the
// file's size. Run: QT_QPA_PLATFORM=offscreen build/bench/bench_history

#include "RecordLine.h"
#include "history/HistoryFile.h"
#include "shell/MainWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
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
#include <ctime>
#include <sys/resource.h>

namespace {

// Each file is given this long before its row is marked unfinished.
constexpr int TimeoutSeconds = 180;

// The registration of the damaged line's vehicle, and of the one huge line's.
constexpr qsizetype LongLineBytes = 8 * 1024 * 1024;
constexpr qsizetype HugeLineBytes = 128 * 1024 * 1024;

enum class Shape {
    Empty, // an empty file: what the program needs whatever the history
    Fleet, // 50 vehicles, records spread at random among them
    OneVehicle,
    OneRecordEach, // a vehicle for every record
    LongLine, // the fleet, after a first record of an 8 MB registration
    HugeLine, // the fleet, after a first record of a 128 MB registration: read in 128 pieces
    OddRegistration, // the fleet, after a first record under the registration "VehicleReg:X"
};

const char* shapeName(Shape shape)
{
    switch (shape) {
    case Shape::Empty:
        return "empty";
    case Shape::Fleet:
        return "50 vehicles";
    case Shape::OneVehicle:
        return "1 vehicle";
    case Shape::OneRecordEach:
        return "1 record each";
    case Shape::LongLine:
        return "one 8 MB line";
    case Shape::HugeLine:
        return "one 128 MB line";
    case Shape::OddRegistration:
        return "VehicleReg:X";
    }
    return "";
}

class BenchWindow : public frmTripLedger
{
public:
    using frmTripLedger::frmTripLedger;
    bool expectMessages = false; // an empty history has no vehicle to draw

protected:
    void showMessage(const QString& text, const QString& title, QMessageBox::Icon) override
    {
        if (expectMessages)
            return;
        std::fprintf(stderr, "unexpected message: %s: %s\n", qPrintable(title), qPrintable(text.left(200)));
    }
};

void writeHistory(const QString& path, Shape shape, int records)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QRandomGenerator random(42);
    QByteArray chunk;
    if (shape == Shape::LongLine || shape == Shape::HugeLine)
        chunk += recordLine(QByteArray(shape == Shape::LongLine ? LongLineBytes : HugeLineBytes, 'W'), 0, 400);
    if (shape == Shape::OddRegistration)
        chunk += recordLine("VehicleReg:X", 0, 400);
    for (int i = 0; i < records; ++i) {
        int vehicle = 0;
        if (shape == Shape::Fleet || shape == Shape::LongLine || shape == Shape::HugeLine
            || shape == Shape::OddRegistration)
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

// The peak resident size of this process, in KiB.
long peakKilobytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double cpuMilliseconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

template <typename Work> double milliseconds(Work work)
{
    const double start = cpuMilliseconds();
    work();
    return cpuMilliseconds() - start;
}

// The best of three runs.
template <typename Work> double bestMilliseconds(Work work)
{
    double best = milliseconds(work);
    for (int run = 1; run < 3; ++run)
        best = std::min(best, milliseconds(work));
    return best;
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
// still shows what was measured. emptyPeak: the empty history's peak in KiB, or 0 while that is measured; the
// peak, in KiB, goes to the file peakPath.
int measure(Shape shape, int records, long emptyPeak, const QString& peakPath)
{
    QTemporaryDir dir;
    const QString path = HistoryFile::path(dir.path());
    writeHistory(path, shape, records);
    const qint64 fileBytes = QFileInfo(path).size();
    std::printf("%-14s %9d %8.1f", shapeName(shape), records, static_cast<double>(fileBytes) / (1024.0 * 1024.0));

    qint64 lines = 0;
    const double floor = bestMilliseconds([&] {
        lines = 0;
        HistoryFile::forEachLine(path, [&](QByteArrayView) { ++lines; });
    });
    std::printf(" | %8.1f", floor);
    // What keeping the file's bytes costs by itself: reading it into one fresh buffer, its lines found.
    const double buffer = bestMilliseconds([&] {
        QByteArray bytes;
        HistoryFile::readLines(path, bytes, [](QByteArrayView) {});
    });
    std::printf(" | %5.1f (%3.1fx)", buffer, buffer / std::max(floor, 0.1));
    std::fflush(stdout);
    const auto timed = [floor](double ms) {
        return QStringLiteral("%1 ms (%2x)").arg(ms, 0, 'f', 0).arg(ms / std::max(floor, 0.1), 0, 'f', 1);
    };

    AppEnvironment environment = AppEnvironment::system();
    environment.locale = QLocale(QLocale::English, QLocale::UnitedKingdom);
    environment.programDirectory = dir.path(); // the history beside the program
    BenchWindow window(environment);
    window.expectMessages = shape == Shape::Empty;
    window.show();
    printCell(timed(bestMilliseconds([&] {
        window.Form_Load();
        settle(window);
    })));

    auto* tabs = window.findChild<QTabBar*>(QStringLiteral("tbsData"));
    tabs->setCurrentIndex(1);
    settle(window);
    printCell(timed(bestMilliseconds([&] {
        emit tabs->tabBarClicked(1);
        settle(window);
    })));

    // The graph of the last vehicle to appear, or in the damaged file the one of the long line.
    auto* vehicles = window.findChild<QComboBox*>(QStringLiteral("cboVehicleList"));
    const bool longLine = shape == Shape::LongLine || shape == Shape::HugeLine;
    const int chosen = longLine ? 0 : vehicles->count() - 1;
    tabs->setCurrentIndex(2);
    settle(window);
    printCell(timed(bestMilliseconds([&] {
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

    const long peak = peakKilobytes();
    std::printf(" | %8.0f", static_cast<double>(peak) / 1024.0);
    if (shape == Shape::Empty)
        std::printf(" | %12s\n", "");
    else
        std::printf(" | %11.2fx\n", static_cast<double>(peak - emptyPeak) * 1024.0 / static_cast<double>(fileBytes));
    if (lines != records + (longLine || shape == Shape::OddRegistration ? 1 : 0))
        std::fprintf(stderr, "read %lld lines of %d\n", static_cast<long long>(lines), records);
    QFile peakFile(peakPath);
    if (!peakFile.open(QIODevice::WriteOnly) || peakFile.write(QByteArray::number(static_cast<qint64>(peak))) <= 0)
        qFatal("cannot write %s", qPrintable(peakPath));
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 5)
        return measure(
            static_cast<Shape>(arguments[1].toInt()), arguments[2].toInt(), arguments[3].toLong(), arguments[4]);

    std::printf("%-14s %9s %8s | %8s | %-12s | %-18s | %-18s | %-18s | %-18s | %-18s | %8s | %12s\n", "shape",
        "records", "file MB", "floor ms", "bytes ms", "LoadVehicleList", "LoadHistoricalData", "LoadGraphData",
        "a11y: History", "a11y: Graph", "peak MB", "above empty");
    std::fflush(stdout);
    const std::pair<Shape, int> files[] = {
        { Shape::Empty, 0 },
        { Shape::Fleet, 10'000 },
        { Shape::Fleet, 100'000 },
        { Shape::Fleet, 1'000'000 },
        { Shape::OneVehicle, 10'000 },
        { Shape::OneVehicle, 1'000'000 },
        { Shape::OneRecordEach, 10'000 },
        { Shape::OneRecordEach, 100'000 },
        { Shape::LongLine, 10'000 },
        { Shape::HugeLine, 10'000 },
        { Shape::OddRegistration, 1'000'000 },
    };
    // Each process leaves its peak in a file; the empty history's is handed to the others.
    QTemporaryDir scratch;
    const QString peakPath = scratch.filePath(QStringLiteral("peak"));
    long emptyPeak = 0;
    for (const auto& [shape, records] : files) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
            { QString::number(static_cast<int>(shape)), QString::number(records), QString::number(emptyPeak),
                peakPath });
        if (!child.waitForFinished(TimeoutSeconds * 1000)) {
            child.kill();
            child.waitForFinished();
            std::printf(" | unfinished after %d s\n", TimeoutSeconds);
        }
        if (shape == Shape::Empty) {
            QFile peakFile(peakPath);
            if (peakFile.open(QIODevice::ReadOnly))
                emptyPeak = peakFile.readAll().toLong();
        }
    }
    return 0;
}
