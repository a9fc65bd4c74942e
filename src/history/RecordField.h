#pragma once

#include "SameBytes.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstring>
#include <optional>

// A history line holds fields written as name, ":", value and ";". A field is found where its name and ":"
// stand at the start of the line or right after a ";", so a name inside another field's value (a registration
// such as "XMPG:7") is never taken for the field. Its value runs to the next ";" or to the end of the line.
namespace RecordField {

// Walks the line field by field: the first field that begins with the name and ":" is the one.
template <typename View, typename Char> std::optional<View> find(View line, View nameWithColon, Char separator)
{
    for (qsizetype start = 0; start <= line.size();) {
        const qsizetype end = line.indexOf(separator, start);
        const qsizetype stop = end < 0 ? line.size() : end;
        const View field = line.sliced(start, stop - start);
        // The first character rules out most fields before a full comparison.
        if (!field.isEmpty() && field.front() == nameWithColon.front() && field.startsWith(nameWithColon))
            return field.sliced(nameWithColon.size());
        if (end < 0)
            break;
        start = end + 1;
    }
    return std::nullopt;
}

// For lines still in the file's bytes; the field names are ASCII, and so are ":" and ";" in every 8-bit
// encoding and in UTF-8, so a field can be found before the line is decoded.
inline std::optional<QByteArrayView> find(QByteArrayView line, QByteArrayView nameWithColon)
{
    return find(line, nameWithColon, ';');
}

// Several fields of a line in one walk along it: found[k] is what find(line, names[k]) gives.
template <size_t Count>
void findEach(QByteArrayView line, const QByteArrayView (&names)[Count], std::optional<QByteArrayView> (&found)[Count])
{
    size_t missing = Count;
    const char* const end = line.data() + line.size();
    for (const char* start = line.data(); missing > 0;) {
        const void* separator = std::memchr(start, ';', static_cast<size_t>(end - start));
        const char* stop = separator ? static_cast<const char*>(separator) : end;
        const QByteArrayView field(start, stop - start);
        for (size_t k = 0; k < Count; ++k) {
            // The first character rules out most fields before a full comparison.
            if (!found[k] && field.size() >= names[k].size() && field.front() == names[k].front()
                && sameBytes(field.data(), names[k].data(), names[k].size())) {
                found[k] = field.sliced(names[k].size());
                --missing;
            }
        }
        if (!separator)
            break;
        start = stop + 1;
    }
}

inline std::optional<QStringView> find(QStringView line, QStringView nameWithColon)
{
    return find(line, nameWithColon, QChar(u';'));
}

} // namespace RecordField

// True when the line holds the field, whose value then goes to value; otherwise value keeps what it held.
bool GetRecordField(const QString& line, const QString& fieldName, QString& value);
