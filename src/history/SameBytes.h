#pragma once

#include <QByteArrayView>

#include <cstring>

// Whether size bytes at left and right are equal. Registrations, MPG texts, dates' forms and field names are
// short: up to 32 bytes are compared inline, in at most four loads a side.
inline bool sameBytes(const char* left, const char* right, qsizetype size)
{
    if (size > 32)
        return std::memcmp(left, right, static_cast<size_t>(size)) == 0;
    if (size > 16)
        return sameBytes(left, right, 16) && sameBytes(left + size - 16, right + size - 16, 16);
    if (size >= 8) {
        quint64 a = 0, b = 0, c = 0, d = 0;
        std::memcpy(&a, left, 8);
        std::memcpy(&b, right, 8);
        std::memcpy(&c, left + size - 8, 8);
        std::memcpy(&d, right + size - 8, 8);
        return a == b && c == d;
    }
    if (size >= 4) {
        quint32 a = 0, b = 0, c = 0, d = 0;
        std::memcpy(&a, left, 4);
        std::memcpy(&b, right, 4);
        std::memcpy(&c, left + size - 4, 4);
        std::memcpy(&d, right + size - 4, 4);
        return a == b && c == d;
    }
    for (qsizetype i = 0; i < size; ++i) {
        if (left[i] != right[i])
            return false;
    }
    return true;
}

inline bool sameBytes(QByteArrayView left, QByteArrayView right)
{
    return left.size() == right.size() && sameBytes(left.data(), right.data(), left.size());
}
