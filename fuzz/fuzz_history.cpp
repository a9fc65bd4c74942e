// Feeds each input, as the whole history file, to everything that reads that file: the vehicle list, the
// History table, the Graph points of each vehicle and the field look-up. A crash, a sanitizer report, a broken
// tree, a reader that differs from the reference reading (tests/support/ReferenceReader.h), a run past
// libFuzzer's -timeout or an AppError (a plain file always reads, whatever it holds) is a finding. Inputs over
// the readers' 1 MiB read need -max_len (CI gives 4 MiB).

#include "MemoryHistory.h"
#include "ReferenceReader.h"

#include "history/GraphData.h"
#include "history/HistoryFile.h"
#include "history/HistoryTable.h"
#include "history/RecordField.h"

#include <QLocale>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

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
    const QStringList registrations = Reference::registrations(MemoryHistory::path());

    const HistoryTable table = HistoryTable::load(MemoryHistory::path(), locale).table;
    checkTree(table);
    const MeanList means = table.means();
    for (qsizetype i = 0; i < means.size(); ++i)
        means.text(i, locale);

    // A few vehicles are enough to reach every path; all of them would make long inputs quadratic.
    for (const QString& registration : registrations.mid(0, 4))
        GraphData::points(MemoryHistory::path(), registration, locale);

    const QString differs = Reference::differences(MemoryHistory::path(), locale);
    if (!differs.isEmpty()) {
        std::fprintf(stderr, "differs from the reference reading: %s\n", qPrintable(differs));
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MemoryHistory::write(QByteArrayView(data, static_cast<qsizetype>(size)));
    // Numbers read under both conventions, chosen by the input's length so that each input stays a plain file.
    readAll(size % 2 == 0 ? QLocale(QLocale::English, QLocale::UnitedKingdom)
                          : QLocale(QLocale::German, QLocale::Germany)); // "," decimals, "." groups

    HistoryFile::forEachLine(MemoryHistory::path(), [](QByteArrayView bytes) {
        const QString line = HistoryFile::decode(bytes);
        QString value;
        for (const char* name :
            { "VehicleReg", "Date", "Mileage", "Cost", "MPG", "Commute Distance", "Price Per Unit", "Unit" })
            GetRecordField(line, QString::fromLatin1(name), value);
    });
    return 0;
}
