// Feeds each input, as the whole history file, to everything that reads that file: the vehicle list, the
// History table, the Graph points of each vehicle and the field look-up. A crash, a sanitizer report, a broken
// tree, a run past libFuzzer's -timeout or an AppError (a plain file always reads, whatever it holds) is a
// finding.

#include "history/GraphData.h"
#include "history/HistoryFile.h"
#include "history/HistoryTable.h"
#include "history/RecordField.h"
#include "history/VehicleList.h"

#include <QLocale>

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The readers take a path, so each input goes into one file in memory (memfd), named by its /proc/self/fd
// path: no run waits for a disk, and nothing is left behind, not even by a crash.
int historyFile()
{
    static const int fd = memfd_create("TripLedger.txt", 0);
    if (fd < 0)
        std::abort();
    return fd;
}

QString historyPath()
{
    static const QString path = QStringLiteral("/proc/self/fd/%1").arg(historyFile());
    return path;
}

void writeHistory(const uint8_t* data, size_t size)
{
    if (ftruncate(historyFile(), 0) != 0 || pwrite(historyFile(), data, size, 0) != ssize_t(size))
        std::abort();
}

// Every node sits where its parent's list puts it.
void checkTree(const HistoryTable& table)
{
    for (qint32 row = 0; row < table.rootCount(); ++row) {
        if (table.row(table.root(row)) != row || !table.isVehicle(table.root(row)))
            std::abort();
    }
    for (qint32 node = 0; node < table.nodeCount(); ++node) {
        const qint32 parent = table.parent(node);
        if (parent != HistoryTable::NoNode && table.child(parent, table.row(node)) != node)
            std::abort();
        table.text(node);
    }
}

void readAll(const QLocale& locale)
{
    const QStringList registrations = VehicleList::registrations(historyPath()).toStringList();

    const HistoryTable table = HistoryTable::load(historyPath(), locale).table;
    checkTree(table);
    const MeanList means = table.means();
    for (qsizetype i = 0; i < means.size(); ++i)
        means.text(i, locale);

    // A few vehicles are enough to reach every path; all of them would make long inputs quadratic.
    for (const QString& registration : registrations.mid(0, 4))
        GraphData::points(historyPath(), registration, locale);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    writeHistory(data, size);
    // Numbers read under both conventions, chosen by the input's length so that each input stays a plain file.
    readAll(size % 2 == 0 ? QLocale(QLocale::English, QLocale::UnitedKingdom)
                          : QLocale(QLocale::German, QLocale::Germany)); // "," decimals, "." groups

    HistoryFile::forEachLine(historyPath(), [](QByteArrayView bytes) {
        const QString line = HistoryFile::decode(bytes);
        QString value;
        for (const char* name :
            { "VehicleReg", "Date", "Mileage", "Cost", "MPG", "Commute Distance", "Price Per Unit", "Unit" })
            GetRecordField(line, QString::fromLatin1(name), value);
    });
    return 0;
}
