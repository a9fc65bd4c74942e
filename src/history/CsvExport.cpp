#include "CsvExport.h"

#include "CsvRows.h"
#include "HistoryFile.h"

#include "calc/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace CsvExport {

namespace {

constexpr qsizetype FlushBytes = 1 << 20;

// Whether the file ends in a line without a line break that is no whole record, a save torn part-way: the
// readers pass over it without visiting it.
bool endsInTornLine(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0)
        return false;
    qint64 start = file.size();
    QByteArray tail;
    do {
        const qint64 step = std::min<qint64>(start, 1 << 16);
        start -= step;
        if (!file.seek(start))
            return false;
        tail.prepend(file.read(step));
    } while (start > 0 && !tail.contains('\n'));
    QByteArrayView last = QByteArrayView(tail).sliced(tail.lastIndexOf('\n') + 1);
    if (last.isEmpty())
        return false;
    if (last.endsWith('\r'))
        last.chop(1);
    if (!last.endsWith(';'))
        return true;
    last.chop(1);
    return !last.sliced(last.lastIndexOf(';') + 1).startsWith("Unit:");
}

struct Cancelled
{
};

} // namespace

std::optional<Counts> write(
    const QString& historyPath, const QString& csvPath, char separator, const QLocale& locale, const Progress& progress)
{
    QSaveFile file(csvPath);
    const auto fail = [&file] {
        throw AppError(QDir::toNativeSeparators(QFileInfo(file.fileName()).absoluteFilePath()), file.errorString());
    };
    if (!file.open(QIODevice::WriteOnly))
        fail();
    // A write cut short is continued, so that the next one names the reason (a full disk, a size limit).
    const auto put = [&file, &fail](QByteArrayView bytes) {
        while (!bytes.isEmpty()) {
            const qint64 written = file.write(bytes.data(), bytes.size());
            if (written <= 0)
                fail();
            bytes = bytes.sliced(written);
        }
    };
    CsvRows rows(separator, locale);
    Counts counts;
    const qint64 total = QFileInfo(historyPath).size();
    qint64 done = 0;
    try {
        HistoryFile::forEachLine(historyPath, [&](QByteArrayView line) {
            ++(rows.add(line) ? counts.rows : counts.leftOut);
            done += line.size() + 2;
            if (rows.written().size() < FlushBytes)
                return;
            put(rows.written());
            rows.clearWritten();
            if (progress && !progress(done, total))
                throw Cancelled();
        });
    } catch (const Cancelled&) {
        return std::nullopt; // uncommitted, the file is discarded
    }
    if (endsInTornLine(historyPath))
        ++counts.leftOut;
    put(rows.written());
    if (!file.commit())
        fail();
    return counts;
}

} // namespace CsvExport
