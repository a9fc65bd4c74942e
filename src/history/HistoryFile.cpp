#include "HistoryFile.h"

#include "calc/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/file.h>
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

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

QString path(const QString& dir)
{
    return QDir::toNativeSeparators(QDir(dir).filePath(QStringLiteral("TripLedger.txt")));
}

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
    // Waits while a save holds the file, so that a line it may yet cut back is never shown; held for this one
    // read. Where the file system has no locks, the history is read without.
    while (::flock(file.handle(), LOCK_SH) != 0 && errno == EINTR) { }
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

    // Visits the lines that end in bytes, as views into them; returns how many bytes they took. The first
    // searched bytes are known to hold no line break: a long line is scanned once, not at every read.
    qsizetype feedLines(QByteArrayView bytes, qsizetype searched = 0)
    {
        const char* const first = bytes.data();
        const char* const last = first + bytes.size();
        const char* start = first;
        for (const char* from = first + searched;;) {
            const void* end = std::memchr(from, '\n', static_cast<size_t>(last - from));
            if (!end)
                break;
            const char* const lineEnd = static_cast<const char*>(end);
            visitLine(QByteArrayView(start, lineEnd - start));
            start = from = lineEnd + 1;
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
        if (!line.endsWith('\x18')) // CAN: a torn line that a later save closed
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

bool readLines(const QString& filePath, QByteArray& bytes, const std::function<void(QByteArrayView line)>& visit)
{
    bytes.clear();
    QFile file(filePath);
    if (!openForReading(file))
        return false;
    // The lines of each chunk are visited as soon as it is read, while its bytes are still in the cache.
    bytes.resize(std::max<qint64>(file.size(), 0));
    LineSplitter lines(visit);
    qsizetype size = 0;
    qsizetype visited = 0;
    while (size < bytes.size()) {
        const qint64 got = file.read(bytes.data() + size, std::min(ReadChunk, bytes.size() - size));
        if (got < 0)
            fail(file);
        if (got == 0)
            break;
        const qsizetype searched = size - visited;
        size += got;
        visited += lines.feedLines(QByteArrayView(bytes).sliced(visited, size - visited), searched);
    }
    bytes.resize(size); // a file that shrank meanwhile; the bytes stay where they are
    lines.finish(QByteArrayView(bytes).sliced(visited));
    return true;
}

QString decode(QByteArrayView line)
{
    // ASCII reads the same in every encoding a system may have: most fields need no decoder. The high bits
    // are gathered eight bytes at a time. Qt's UTF-8 decoder has an ASCII path of its own, but a decoder made
    // for each text took three times as long: 55-61 ms for a million 4- to 19-byte texts against 20 ms, and
    // 91 ms against 25 ms for a million 110-byte lines.
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
