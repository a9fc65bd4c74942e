#include "CsvExport.h"

#include "ByteKeyed.h"
#include "HistoryFile.h"
#include "SameBytes.h"
#include "SavedDates.h"

#include "calc/AppError.h"
#include "calc/Numbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <charconv>
#include <cstring>
#include <string>

namespace CsvExport {

namespace {

constexpr qsizetype FlushBytes = 1 << 20;
constexpr qsizetype MaxRemembered = 1 << 16;

// One row per record, into a buffer of its own; the cells of texts that recur (registrations, units, numbers) are
// made once, and a column's cell is kept from one row to the next.
class Rows
{
public:
    Rows(char separator, const QLocale& locale)
        : m_separator(separator)
        , m_locale(locale)
        , m_dates(locale)
    {
        const char* const names[]
            = { "Vehicle", "Date", "Miles", "Cost", "MPG", "Commute miles (one way)", "Price per unit", "Unit" };
        QByteArray header("\xEF\xBB\xBF"); // UTF-8's byte-order mark
        for (const char* name : names)
            header += name + QByteArray(1, m_separator);
        header.back() = '\r';
        header += '\n';
        makeRoom(header.size());
        put(header.constData(), header.size());
    }

    // Appends the line's row; false, appending nothing, when it is no record.
    bool add(QByteArrayView line)
    {
        std::optional<QByteArrayView> fields[FieldCount];
        findFields(line, fields);
        if (!fields[0] || !fields[4])
            return false;
        // A cell is at most its field's bytes decoded (3 bytes of UTF-8 a byte), its quotes doubled, an apostrophe
        // and two quotes; a date at most 19.
        makeRoom(7 * line.size() + 64);
        for (int i = 0; i < FieldCount; ++i) {
            if (i > 0)
                m_buffer[m_used++] = m_separator;
            if (!fields[i])
                continue;
            char iso[19];
            if (i == 1 && m_dates.toIso(*fields[i], iso)) {
                put(iso, sizeof(iso));
                continue;
            }
            const std::string& made = cell(i, *fields[i]);
            put(made.data(), static_cast<qsizetype>(made.size()));
        }
        put("\r\n", 2);
        return true;
    }

    QByteArrayView written() const { return QByteArrayView(m_buffer.constData(), m_used); }
    void clearWritten() { m_used = 0; }

private:
    static constexpr int FieldCount = 8;

    // What RecordField::findEach finds, sooner: a line's fields are looked for in the order the program writes
    // them, and no field name begins another, so a field that begins with the name expected next is that field.
    static void findFields(QByteArrayView line, std::optional<QByteArrayView> (&found)[FieldCount])
    {
        static const QByteArrayView names[FieldCount]
            = { "VehicleReg:", "Date:", "Mileage:", "Cost:", "MPG:", "Commute Distance:", "Price Per Unit:", "Unit:" };
        const char* const end = line.data() + line.size();
        int expected = 0;
        for (const char* start = line.data();;) {
            const void* separator = std::memchr(start, ';', static_cast<size_t>(end - start));
            const char* const stop = separator ? static_cast<const char*>(separator) : end;
            const QByteArrayView field(start, stop - start);
            const auto take = [&](int k) {
                if (found[k] || field.size() < names[k].size()
                    || !sameBytes(field.data(), names[k].data(), names[k].size()))
                    return false;
                found[k] = field.sliced(names[k].size());
                expected = k + 1;
                return true;
            };
            if (expected >= FieldCount || !take(expected)) {
                for (int k = 0; k < FieldCount && !take(k); ++k) { }
            }
            if (!separator)
                return;
            start = stop + 1;
        }
    }

    void makeRoom(qsizetype bytes)
    {
        if (m_used + bytes > m_buffer.size())
            m_buffer.resize(std::max(2 * m_buffer.size(), m_used + bytes));
    }

    void put(const char* bytes, qsizetype size)
    {
        std::memcpy(m_buffer.data() + m_used, bytes, static_cast<size_t>(size));
        m_used += size;
    }

    // The cell of a field's value in a column other than the date's.
    const std::string& cell(int column, QByteArrayView value)
    {
        Last& last = m_last[column];
        if (last.made && sameBytes(QByteArrayView(last.value.data(), static_cast<qsizetype>(last.value.size())), value))
            return last.cell;
        const bool numeric = column >= 2 && column <= 6;
        ByteKeyed<std::string>& known = numeric ? m_numbers : m_texts;
        if (const std::string* cell = known.find(value)) {
            last.cell = *cell;
        } else {
            last.cell = (numeric ? number(value) : text(HistoryFile::decode(value))).toStdString();
            if (known.size() < MaxRemembered)
                known.insert(value, last.cell);
        }
        last.value.assign(value.data(), static_cast<size_t>(value.size()));
        last.made = true;
        return last.cell;
    }

    QByteArray number(QByteArrayView value) const
    {
        const QString saved = HistoryFile::decode(value);
        const std::optional<double> read = Numbers::parseStored(saved, m_locale);
        if (!read)
            return text(saved);
        char digits[32];
        const std::to_chars_result end = std::to_chars(digits, digits + sizeof(digits), *read + 0.0); // -0 is 0
        return QByteArray(digits, end.ptr - digits);
    }

    QByteArray text(const QString& value) const
    {
        QByteArray bytes = value.toUtf8();
        if (!bytes.isEmpty() && QByteArrayView("=+-@\t\r").contains(bytes.front()))
            bytes.prepend('\'');
        if (bytes.contains(m_separator) || bytes.contains('"') || bytes.contains('\n') || bytes.contains('\r'))
            bytes = '"' + bytes.replace('"', "\"\"") + '"';
        return bytes;
    }

    struct Last
    {
        bool made = false;
        std::string value; // the field's bytes
        std::string cell;
    };

    char m_separator;
    QLocale m_locale;
    SavedDates m_dates;
    ByteKeyed<std::string> m_numbers;
    ByteKeyed<std::string> m_texts;
    Last m_last[FieldCount];
    QByteArray m_buffer;
    qsizetype m_used = 0;
};

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
    HistoryFile::ignoreFileSizeSignal();
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
    Rows rows(separator, locale);
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
