#include "HistoryFile.h"

#include "HistoryLocation.h"

#include "calc/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace HistoryFile {

namespace {

constexpr qsizetype ReadChunk = 1 << 20;

// The history's full path is the source: the user learns where it lies.
[[noreturn]] void fail(const QFile& file, const QString& reason)
{
    throw AppError(QDir::toNativeSeparators(QFileInfo(file.fileName()).absoluteFilePath()), reason);
}

[[noreturn]] void fail(const QFile& file)
{
    fail(file, file.errorString());
}

// The last byte of an open file, read without moving where the next append goes.
bool endsWithLineBreak(QFile& file)
{
    const qint64 size = file.size();
    if (file.isSequential() || size == 0)
        return true;
    char last = 0;
    if (!file.seek(size - 1) || file.read(&last, 1) != 1)
        fail(file);
    return last == '\n';
}

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Whether the line ends with a whole "Unit" field: its name and ":" at the start of a field, and its ";".
bool endsWithLastField(QByteArrayView line)
{
    if (line.endsWith('\r'))
        line.chop(1);
    if (!line.endsWith(';'))
        return false;
    line.chop(1);
    const QByteArrayView last = line.sliced(line.lastIndexOf(';') + 1);
    return last.startsWith("Unit:");
}

// A save that failed part-way takes back what it wrote, so that the file is exactly as it was; a device that
// cannot be cut (a pipe, /dev/full) took nothing that could be read back.
[[noreturn]] void cutBackAndFail(QFile& file, qint64 size, const QString& reason)
{
    if (!file.isSequential() && ::ftruncate(file.handle(), size) != 0)
        fail(file, reason + QStringLiteral(" The part written could not be taken back: ") + systemReason());
    fail(file, reason);
}

} // namespace

// A save never ends the program. By default a write beyond the file-size limit (RLIMIT_FSIZE)
// raises SIGXFSZ, which kills the process and leaves a torn line; ignored, the write fails with EFBIG and the
// save is cut back and reported like any other. Set once for the whole process, by the first save, unless the
// process installed a handler of its own; every program that saves (the window, tests, fuzzing) gets it so.
void ignoreFileSizeSignal()
{
    static const bool ignored = [] {
        struct sigaction current = {};
        if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            std::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    (void)ignored;
}

QString path(const QString& dir)
{
    return QDir::toNativeSeparators(QDir(dir).filePath(QStringLiteral("TripLedger.txt")));
}

void appendLine(const QString& filePath, const QString& line, SyncFunction sync)
{
    ignoreFileSizeSignal();
    HistoryLocation::makeFolders(filePath);
    QFile file(filePath);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered))
        fail(file);
    // Held until the file is closed: another copy's line is never half-written while this one looks for a torn
    // last line, and a failed save is cut back before anyone else writes after it.
    if (::flock(file.handle(), LOCK_EX) != 0)
        fail(file, systemReason());
    const qint64 before = file.size();

    QByteArray bytes;
    if (!endsWithLineBreak(file))
        bytes += "\r\n";
    bytes += QStringEncoder(QStringConverter::System).encode(line);
    bytes += "\r\n";

    // Appended at the end whatever the position (O_APPEND); a write cut short is continued, so that the second
    // write names the reason (a full disk, a size limit).
    for (qsizetype written = 0; written < bytes.size();) {
        errno = 0;
        const ssize_t result
            = ::write(file.handle(), bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (result > 0)
            written += result;
        else if (errno != EINTR)
            cutBackAndFail(
                file, before, result == 0 ? QStringLiteral("Only part of the line was written.") : systemReason());
    }
    if (sync(file.handle()) != 0)
        cutBackAndFail(file, before, systemReason());
    file.close();
    if (file.error() != QFileDevice::NoError)
        fail(file);
}

namespace {

// Opens the history for reading; false when it does not exist. Only a file that is not there is an empty
// history: a link loop or a folder that cannot be searched is a failure with the system's reason, never a
// history shown as empty.
bool openForReading(QFile& file)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(file.fileName()).constData(), &info) != 0) {
        if (errno == ENOENT)
            return false;
        fail(file, systemReason());
    }
    // A folder, a device or a pipe is no history, and is never opened: opening a named pipe waits for a writer
    // for ever, and a link to /dev/zero would never end.
    if (!S_ISREG(info.st_mode))
        fail(file, QStringLiteral("The history is not a plain file."));
    if (!file.open(QIODevice::ReadOnly))
        fail(file);
    return true;
}

// Cuts bytes into lines; a line left open at the end of one piece is carried into the next. A UTF-8 byte-order
// mark before the first line is no part of it; a last line without a line break is a record only when it ends
// with the record's last field whole: anything else is a save torn part-way (by a crash, or an older version).
class LineSplitter
{
public:
    explicit LineSplitter(const std::function<void(QByteArrayView line)>& visit)
        : m_visit(visit)
    {
    }

    // The lines that end in piece are visited as views into it, unless they began in an earlier piece.
    void feed(QByteArrayView piece)
    {
        if (!m_carry.isEmpty()) {
            const qsizetype end = piece.indexOf('\n');
            if (end < 0) {
                m_carry += piece;
                return;
            }
            m_carry += piece.first(end);
            visitLine(m_carry);
            m_carry.clear();
            piece = piece.sliced(end + 1);
        }
        m_carry = piece.sliced(feedLines(piece)).toByteArray();
    }

    // Visits the lines that end in bytes, as views into them; returns how many bytes they took.
    qsizetype feedLines(QByteArrayView bytes)
    {
        const char* const first = bytes.data();
        const char* const last = first + bytes.size();
        const char* start = first;
        while (const void* end = std::memchr(start, '\n', static_cast<size_t>(last - start))) {
            const char* const lineEnd = static_cast<const char*>(end);
            visitLine(QByteArrayView(start, lineEnd - start));
            start = lineEnd + 1;
        }
        return start - first;
    }

    // The end of the bytes: what is left is the last line, without a line break.
    void finish(QByteArrayView rest = {})
    {
        const QByteArrayView last = m_carry.isEmpty() ? rest : QByteArrayView(m_carry);
        if (!last.isEmpty() && endsWithLastField(last))
            visitLine(last);
        m_carry.clear();
    }

private:
    void visitLine(QByteArrayView line)
    {
        if (m_first && line.startsWith("\xEF\xBB\xBF"))
            line = line.sliced(3);
        m_first = false;
        if (line.endsWith('\r'))
            line.chop(1);
        m_visit(line);
    }

    const std::function<void(QByteArrayView line)>& m_visit;
    QByteArray m_carry;
    bool m_first = true;
};

} // namespace

bool forEachLine(const QString& filePath, const std::function<void(QByteArrayView line)>& visit)
{
    QFile file(filePath);
    if (!openForReading(file))
        return false;
    // A small history needs no larger buffer than itself; one that grows while read takes more reads.
    QByteArray chunk(std::clamp<qint64>(file.size(), 1, ReadChunk), Qt::Uninitialized);
    LineSplitter lines(visit);
    for (;;) {
        const qint64 got = file.read(chunk.data(), chunk.size());
        if (got < 0)
            fail(file);
        if (got == 0)
            break;
        lines.feed(QByteArrayView(chunk.constData(), got));
    }
    lines.finish();
    return true;
}

namespace {

// A fresh buffer of a large history costs a page fault for every 4 KiB the read fills, more than the read
// itself; in large pages it costs one for every 2 MiB. Only advice: where the system declines, nothing changes.
void askForLargePages(QByteArray& bytes)
{
    constexpr quintptr LargePage = 2 * 1024 * 1024;
    const auto start = reinterpret_cast<quintptr>(bytes.data());
    const quintptr first = (start + LargePage - 1) & ~(LargePage - 1);
    const quintptr end = (start + static_cast<quintptr>(bytes.size())) & ~(LargePage - 1);
    if (end > first)
        ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

} // namespace

bool readLines(const QString& filePath, QByteArray& bytes, const std::function<void(QByteArrayView line)>& visit)
{
    bytes.clear();
    QFile file(filePath);
    if (!openForReading(file))
        return false;
    // The lines of each chunk are visited as soon as it is read, while its bytes are still in the cache.
    bytes.resize(std::max<qint64>(file.size(), 0));
    askForLargePages(bytes);
    LineSplitter lines(visit);
    qsizetype size = 0;
    qsizetype visited = 0;
    while (size < bytes.size()) {
        const qint64 got = file.read(bytes.data() + size, std::min(ReadChunk, bytes.size() - size));
        if (got < 0)
            fail(file);
        if (got == 0)
            break;
        size += got;
        visited += lines.feedLines(QByteArrayView(bytes).sliced(visited, size - visited));
    }
    bytes.resize(size); // a file that shrank meanwhile; the bytes stay where they are
    lines.finish(QByteArrayView(bytes).sliced(visited));
    return true;
}

QString decode(QByteArrayView line)
{
    // ASCII reads the same in every encoding a system may have: most fields need no decoder. The high bits
    // are gathered eight bytes at a time.
    quint64 bits = 0;
    qsizetype i = 0;
    for (; i + 8 <= line.size(); i += 8) {
        quint64 word = 0;
        std::memcpy(&word, line.data() + i, 8);
        bits |= word;
    }
    for (; i < line.size(); ++i)
        bits |= static_cast<uchar>(line[i]);
    if ((bits & Q_UINT64_C(0x8080808080808080)) == 0)
        return QString::fromLatin1(line);
    // Each text on its own: an incomplete sequence at its end is a replacement character, never dropped, and a
    // leading U+FEFF is kept, so that two different byte strings are never shown as one.
    return QStringDecoder(
        QStringConverter::System, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom)
        .decode(line);
}

} // namespace HistoryFile
