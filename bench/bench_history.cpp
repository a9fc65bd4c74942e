// Times the history's readers on synthetic files of 10,000, 100,000 and 1,000,000 records over 50 vehicles,
// each against the floor of reading and splitting the file alone, and prints the figures with the peak memory.
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_history

#include "history/HistoryFile.h"
#include "shell/MainWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTreeView>

#include <cstdio>
#include <sys/resource.h>

namespace {

class BenchWindow : public frmTripLedger
{
public:
    using frmTripLedger::frmTripLedger;

protected:
    void showMessage(const QString& text, const QString& title, QMessageBox::Icon) override
    {
        std::fprintf(stderr, "unexpected message: %s: %s\n", qPrintable(title), qPrintable(text));
    }
};

void writeHistory(const QString& path, int records)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QRandomGenerator random(42);
    QByteArray chunk;
    for (int i = 0; i < records; ++i) {
        const int vehicle = int(random.bounded(50));
        const int mileage = 250 + int(random.bounded(250));
        chunk += QStringLiteral("VehicleReg:AB%1 CDE;Date:%2/%3/2005 %4:%5:12;Mileage:%6;Cost:45.50;MPG: %7;"
                                "Commute Distance:15;Price Per Unit:95;Unit:Litre;\r\n")
                     .arg(vehicle, 2, 10, QLatin1Char('0'))
                     .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                     .arg(1 + i / 28 % 12, 2, 10, QLatin1Char('0'))
                     .arg(i % 24, 2, 10, QLatin1Char('0'))
                     .arg(i % 60, 2, 10, QLatin1Char('0'))
                     .arg(mileage)
                     .arg(mileage / 9.58, 0, 'f', 2)
                     .toLatin1();
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

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    std::printf("%10s %9s | %9s | %-18s | %-18s | %-18s | %8s\n", "records", "file MB", "floor ms", "LoadVehicleList",
        "LoadHistoricalData", "LoadGraphData", "peak MB");

    for (const int records : { 10'000, 100'000, 1'000'000 }) {
        QTemporaryDir dir;
        const QString path = HistoryFile::path(dir.path());
        writeHistory(path, records);
        const double fileMegabytes = double(QFileInfo(path).size()) / (1024.0 * 1024.0);

        qint64 lines = 0;
        const double floor = milliseconds([&] { HistoryFile::forEachLine(path, [&](QByteArrayView) { ++lines; }); });

        AppEnvironment environment = AppEnvironment::system();
        environment.locale = QLocale(QLocale::English, QLocale::UnitedKingdom);
        environment.dataDirectory = dir.path();
        BenchWindow window(environment);
        window.show();
        const double vehicleList = milliseconds([&] { window.Form_Load(); });

        auto* tabs = window.findChild<QTabBar*>(QStringLiteral("tbsData"));
        auto* tree = window.findChild<QTreeView*>(QStringLiteral("tvwListData"));
        const double history = milliseconds([&] {
            tabs->setCurrentIndex(1);
            tree->repaint();
        });

        auto* vehicles = window.findChild<QComboBox*>(QStringLiteral("cboVehicleList"));
        tabs->setCurrentIndex(2);
        const double graph = milliseconds([&] {
            vehicles->setCurrentIndex(0);
            emit vehicles->activated(0);
            window.repaint();
        });

        const auto cell = [floor](double ms) {
            return QStringLiteral("%1 ms (%2x)").arg(ms, 0, 'f', 0).arg(ms / floor, 0, 'f', 1).toStdString();
        };
        std::printf("%10d %9.1f | %9.0f | %-18s | %-18s | %-18s | %8.0f\n", records, fileMegabytes, floor,
            cell(vehicleList).c_str(), cell(history).c_str(), cell(graph).c_str(), peakMegabytes());
        if (lines != records)
            std::fprintf(stderr, "read %lld lines of %d\n", static_cast<long long>(lines), records);
    }
    return 0;
}
