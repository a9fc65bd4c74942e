#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

// The fuzz targets' history: one file in memory (memfd), named by its /proc/self/fd path, since the readers take
// a path. No run waits for a disk, and nothing is left behind, not even by a crash. Any failure aborts.
namespace MemoryHistory {

inline int file()
{
    static const int fd = memfd_create("TripLedger.txt", 0);
    if (fd < 0)
        std::abort();
    return fd;
}

inline QString path()
{
    static const QString path = QStringLiteral("/proc/self/fd/%1").arg(file());
    return path;
}

// Replaces the file's content with bytes.
inline void write(QByteArrayView bytes)
{
    if (ftruncate(file(), 0) != 0 || pwrite(file(), bytes.data(), static_cast<size_t>(bytes.size()), 0) != bytes.size())
        std::abort();
}

inline QByteArray read()
{
    QByteArray bytes(lseek(file(), 0, SEEK_END), Qt::Uninitialized);
    if (pread(file(), bytes.data(), static_cast<size_t>(bytes.size()), 0) != bytes.size())
        std::abort();
    return bytes;
}

} // namespace MemoryHistory
