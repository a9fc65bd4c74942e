// Saves records into the history file exactly as the window does, then reads them back with every reader, and
// checks that what comes back is what was saved. The input is a starting file, a line "--", the regional
// settings to read under ("read:en_GB"), then one save a line: "locale|MPG|failure|registration", where MPG is a
// C-locale number (the calculation's result, before the result line formats it) and failure is empty, "sync"
// (the sync fails) or "short:N" (the file may grow by only N bytes, so the write stops part-way); a failed save
// is then repeated. A finding is a save that does more than append, a failed save that changes the file or is
// not reported, a torn line that counts, a reader that throws on what the program wrote, vehicles, a record
// count, means or graph points other than those saved, or a reader that differs from the reference reading. Run with
// -handle_xfsz=0: the save, not libFuzzer, is what must deal with the file-size limit.

#include "MemoryHistory.h"
#include "ReferenceReader.h"
#include "calc/AppError.h"
#include "calc/FuelCalc.h"
#include "calc/Numbers.h"

#include "history/GraphData.h"
#include "history/HistoryFile.h"
#include "history/HistoryRecord.h"
#include "history/HistoryRecords.h"
#include "history/HistoryTable.h"
#include "history/RecordField.h"

#include <QDateTime>
#include <QLocale>
#include <QSet>
#include <QStringDecoder>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace {

void check(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "round trip broken: %s\n", what);
        std::abort();
    }
}

struct Save
{
    QLocale locale;
    double mpg;
    QByteArray failure;
    QString registration;
};

// The value the result line's text stands for: the MPG rounded to two decimals, as formatTwoDecimals shows it.
double shownValue(double mpg)
{
    return std::fabs(mpg) < 0.005 ? 0.0 : std::copysign(QByteArray::number(std::fabs(mpg), 'f', 2).toDouble(), mpg);
}

QStringList vehicleBoxes()
{
    return Reference::registrations(MemoryHistory::path());
}

QStringList meanTexts(const HistoryTable& table, const QLocale& locale)
{
    QStringList texts;
    const MeanList means = table.means();
    for (qsizetype i = 0; i < means.size(); ++i)
        texts.append(means.text(i, locale));
    return texts;
}

// A graph's points as date and MPG.
QList<QPair<QString, double>> listed(const GraphData::Points& points)
{
    QList<QPair<QString, double>> list;
    for (qsizetype i = 0; i < points.size(); ++i)
        list.append({ points.date(i), points.mpg(i) });
    return list;
}

// The table as the History page reads it: reading what the program wrote never fails.
HistoryTable loadTable(const QLocale& reader)
{
    HistoryTable::Loaded loaded = HistoryTable::load(MemoryHistory::path(), reader);
    check(!loaded.error, "the history could not be read");
    return std::move(loaded.table);
}

// The vehicles, the number of records and the means, as the readers give them.
QStringList readings(const QLocale& reader)
{
    HistoryTable table = loadTable(reader);
    return vehicleBoxes() + meanTexts(table, reader) << QString::number(table.nodeCount() - table.rootCount());
}

// Saves as the window does: the MPG field taken from the result line, the registration checked, one line
// appended. Returns false when the window would refuse the save.
bool save(const Save& s, const QDateTime& moment, const QLocale& reader)
{
    try {
        HistoryRecords::checkRegistration(s.registration);
    } catch (const AppError&) {
        return false;
    }
    FuelCalc::Results results;
    results.milesPerGallon = s.mpg;
    QString mpg;
    check(GetRecordField(FuelCalc::resultLines(results, s.locale).value(0), QStringLiteral("MPG"), mpg),
        "no MPG in the result line");
    const HistoryRecord record { s.registration, HistoryRecords::dateText(moment, s.locale), QStringLiteral("400"),
        QStringLiteral("45"), mpg, QStringLiteral("10"), QStringLiteral("90"), QStringLiteral("Litre") };
    const QString line = record.toLine();
    const QByteArray encoded = line.toUtf8() + "\r\n"; // the system's encoding is UTF-8 here

    QByteArray before = MemoryHistory::read();
    const bool separated = before.isEmpty() || before.endsWith('\n');
    if (!s.failure.isEmpty()) {
        rlimit kept {};
        getrlimit(RLIMIT_FSIZE, &kept);
        const bool shortWrite = s.failure.startsWith("short:");
        // How far the file may grow: less than the save would add.
        const qint64 room = std::llabs(s.failure.mid(6).toLongLong()) % (encoded.size() + (separated ? 0 : 2));
        if (shortWrite) {
            const rlimit limit { rlim_t(before.size() + room), kept.rlim_max };
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        bool failed = false;
        try {
            HistoryFile::appendLine(
                MemoryHistory::path(), line, shortWrite ? HistoryFile::SyncFunction(::fsync) : +[](int) {
                    errno = EIO;
                    return -1;
                });
        } catch (const AppError&) {
            failed = true;
        }
        setrlimit(RLIMIT_FSIZE, &kept);
        check(failed, "a failed save was reported as success");
        check(MemoryHistory::read() == before, "a failed save changed the file");
        // The line an older version, or a crash, would have left torn there counts nowhere, now or once the
        // save below follows it.
        if (shortWrite && separated && room > 0 && room < encoded.size() - 2) {
            const QStringList shown = readings(reader);
            before += encoded.left(room);
            MemoryHistory::write(before);
            check(readings(reader) == shown, "a torn last line was counted");
        }
    }
    HistoryFile::appendLine(MemoryHistory::path(), line);
    const QByteArray after = MemoryHistory::read();
    const QByteArray between = after.mid(before.size(), after.size() - before.size() - encoded.size());
    check(after.startsWith(before) && after.endsWith(encoded)
            && (before.isEmpty() || before.endsWith('\n') ? between.isEmpty()
                                                          : between == "\r\n" || between == "\x18\r\n"),
        "a save did more than append its line");
    return true;
}

} // namespace

// The program ignores SIGXFSZ (main), so that a write beyond the file-size limit fails and is cut back.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::signal(SIGXFSZ, SIG_IGN);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = input.indexOf("\n--\n");
    if (split < 0)
        return 0;
    const QByteArray start = input.left(split);
    QList<QByteArray> commands = input.mid(split + 4).split('\n');
    if (commands.isEmpty() || !commands[0].startsWith("read:") || commands.size() > 9)
        return 0;
    const QLocale reader(QString::fromLatin1(commands.takeFirst().mid(5)));
    std::vector<Save> saves;
    for (const QByteArray& command : commands) {
        const QList<QByteArray> parts = command.split('|');
        bool ok = false;
        const double mpg = parts.value(1).toDouble(&ok);
        if (parts.size() < 4 || !ok || !std::isfinite(mpg))
            continue;
        saves.push_back({ QLocale(QString::fromLatin1(parts[0])), mpg, parts[2],
            QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom)
                .decode(command.mid(parts[0].size() + parts[1].size() + parts[2].size() + 3)) });
    }

    // What the starting file holds; the same with a byte-order mark before it.
    const QByteArray bom("\xEF\xBB\xBF");
    MemoryHistory::write(bom + (start.startsWith(bom) ? start.mid(3) : start));
    const QStringList markedVehicles = vehicleBoxes();
    HistoryTable table = loadTable(reader);
    const qint32 markedRecords = table.nodeCount() - table.rootCount();
    MemoryHistory::write(start);
    const QStringList startVehicles = vehicleBoxes();
    table = loadTable(reader);
    const qint32 startRecords = table.nodeCount() - table.rootCount();
    check(startVehicles == markedVehicles && startRecords == markedRecords, "a byte-order mark hid a record");
    QSet<QByteArray> startBytes;
    QSet<QString> startKeys;
    HistoryFile::forEachLine(MemoryHistory::path(), [&](QByteArrayView line) {
        if (const std::optional<QByteArrayView> reg = RecordField::find(line, QByteArrayView("VehicleReg:"))) {
            startBytes.insert(reg->toByteArray());
            startKeys.insert(HistoryFile::decode(*reg).toUpper().trimmed());
        }
    });

    const QDateTime moment(QDate(2005, 3, 21), QTime(14, 35, 12));
    std::vector<const Save*> saved;
    QStringList vehicles = startVehicles;
    QSet<QByteArray> seen = startBytes;
    for (const Save& s : saves) {
        if (!save(s, moment, reader))
            continue;
        saved.push_back(&s);
        if (!seen.contains(s.registration.toUtf8())) {
            seen.insert(s.registration.toUtf8());
            vehicles.append(s.registration);
        }
    }

    check(Reference::differences(MemoryHistory::path(), reader).isEmpty(), "a reader differs from the reference");
    if (saved.empty()) // the starting file stays as it was, its last line maybe torn
        return 0;
    const QStringList shownVehicles = vehicleBoxes();
    check(shownVehicles == vehicles, "the vehicle boxes differ from the saves");
    for (const Save* s : saved) { // only the registration's own bytes read as its text
        check(s->registration.contains(QChar::ReplacementCharacter) || shownVehicles.count(s->registration) == 1,
            "two vehicles shown as one");
    }
    table = loadTable(reader);
    check(table.nodeCount() - table.rootCount() == startRecords + qint32(saved.size()), "records lost or added");
    const QStringList means = meanTexts(table, reader);

    QSet<QString> checked;
    for (const Save* s : saved) {
        const QString& reg = s->registration;
        if (checked.contains(reg) || startVehicles.contains(reg))
            continue;
        checked.insert(reg);
        // Graph: every point of the vehicle's key, when no starting record shares it, in save order.
        const QString key = reg.toUpper().trimmed();
        if (!startKeys.contains(key)) {
            QList<QPair<QString, double>> expected;
            for (const Save* other : saved) {
                if (other->registration.toUpper().trimmed() == key)
                    expected.append({ HistoryRecords::dateText(moment, other->locale), shownValue(other->mpg) });
            }
            check(listed(GraphData::points(MemoryHistory::path(), reg, reader)) == expected,
                "graph points differ from the saves");
        }
        // Mean: a registration that spells out a record's text may go under that record's node, with no mean.
        if (reg.trimmed().isEmpty() || reg.contains(QStringLiteral("VehicleReg:")))
            continue;
        long double sum = 0;
        long double magnitude = 0; // of the MPGs: summing doubles loses up to a few ulps of it, however they cancel
        int count = 0;
        for (const Save* other : saved) {
            if (other->registration == reg) {
                sum += shownValue(other->mpg);
                magnitude += std::fabs(shownValue(other->mpg));
                ++count;
            }
        }
        const double mean = double(sum / count);
        const double tolerance = 0.0051 + std::fabs(mean) * 1e-12 + static_cast<double>(magnitude * 1e-12L);
        const QString prefix = QStringLiteral("Mean MPG for vehicle ") + reg + QStringLiteral(" is ");
        bool found = false;
        for (const QString& text : means) {
            const std::optional<double> shown
                = text.startsWith(prefix) ? Numbers::parseStored(text.mid(prefix.size()), reader) : std::nullopt;
            found = found || (shown && std::fabs(*shown - mean) <= tolerance);
        }
        check(found, "a mean differs from the saves");
    }
    return 0;
}
