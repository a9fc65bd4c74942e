// Times File > Export History's CSV writing for a 1,000,000-record history against cp(1) copying the same file,
// each the best of three by the wall clock (cp is a process of its own), both into the same folder, beside the
// time the history's lines take to be read alone.
// Run: build/bench/bench_export

#include "RecordLine.h"
#include "history/CsvExport.h"
#include "history/HistoryFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int Records = 1'000'000;

// 50 vehicles, records spread at random among them, dates in the en_GB form.
void writeHistory(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QRandomGenerator random(42);
    QByteArray chunk;
    for (int i = 0; i < Records; ++i) {
        const int mileage = 250 + static_cast<int>(random.bounded(250));
        const QByteArray registration = "AB" + QByteArray::number(random.bounded(50)).rightJustified(2, '0') + " CDE";
        chunk += recordLine(registration, i, mileage);
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk);
}

template <typename Work> double bestMilliseconds(Work work)
{
    double best = 0;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        best = run == 0 ? ms : std::min(best, ms);
    }
    return best;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString history = HistoryFile::path(dir.path());
    writeHistory(history);
    const QString copy = dir.filePath(QStringLiteral("copy.txt"));
    const QString csv = dir.filePath(QStringLiteral("export.csv"));
    const double cp = bestMilliseconds([&] {
        if (QProcess::execute(QStringLiteral("cp"), { history, copy }) != 0)
            qFatal("cp failed");
    });
    // The floor: the history's lines read and split, as every reader does, with nothing made of them.
    const double floor = bestMilliseconds([&] { HistoryFile::forEachLine(history, [](QByteArrayView) {}); });
    std::optional<CsvExport::Counts> counts;
    const double exported = bestMilliseconds(
        [&] { counts = CsvExport::write(history, csv, ',', QLocale(QLocale::English, QLocale::UnitedKingdom)); });
    std::printf("%d records, history %.1f MB, CSV %.1f MB (%lld rows)\n", Records,
        static_cast<double>(QFileInfo(history).size()) / 1048576.0,
        static_cast<double>(QFileInfo(csv).size()) / 1048576.0, static_cast<long long>(counts ? counts->rows : -1));
    std::printf(
        "cp: %.0f ms | lines read alone: %.0f ms | export: %.0f ms (%.1fx cp)\n", cp, floor, exported, exported / cp);
    return 0;
}
