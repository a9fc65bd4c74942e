#include "CsvRows.h"

#include "HistoryFile.h"
#include "RecordField.h"
#include "SameBytes.h"

#include "calc/Numbers.h"

#include <charconv>
#include <cstring>

namespace {

constexpr qsizetype MaxRemembered = 1 << 16;

} // namespace

CsvRows::CsvRows(char separator, const QLocale& locale)
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

bool CsvRows::add(QByteArrayView line)
{
    static const QByteArrayView names[FieldCount]
        = { "VehicleReg:", "Date:", "Mileage:", "Cost:", "MPG:", "Commute Distance:", "Price Per Unit:", "Unit:" };
    std::optional<QByteArrayView> fields[FieldCount];
    RecordField::findEach(line, names, fields);
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

void CsvRows::makeRoom(qsizetype bytes)
{
    if (m_used + bytes > m_buffer.size())
        m_buffer.resize(std::max(2 * m_buffer.size(), m_used + bytes));
}

void CsvRows::put(const char* bytes, qsizetype size)
{
    std::memcpy(m_buffer.data() + m_used, bytes, static_cast<size_t>(size));
    m_used += size;
}

const std::string& CsvRows::cell(int column, QByteArrayView value)
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

QByteArray CsvRows::number(QByteArrayView value) const
{
    const QString saved = HistoryFile::decode(value);
    const std::optional<double> read = Numbers::parseStored(saved, m_locale);
    if (!read)
        return text(saved);
    char digits[32];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof(digits), *read + 0.0); // -0 is 0
    return QByteArray(digits, end.ptr - digits);
}

QByteArray CsvRows::text(const QString& value) const
{
    QByteArray bytes = value.toUtf8();
    if (!bytes.isEmpty() && QByteArrayView("=+-@\t\r").contains(bytes.front()))
        bytes.prepend('\'');
    if (bytes.contains(m_separator) || bytes.contains('"') || bytes.contains('\n') || bytes.contains('\r'))
        bytes = '"' + bytes.replace('"', "\"\"") + '"';
    return bytes;
}
