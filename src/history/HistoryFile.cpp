#include "HistoryFile.h"

#include "calc/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/file.h>
#include <unistd.h>
#endif

namespace HistoryFile {

namespace {

constexpr qsizetype ReadChunk = 1 << 20;

[[noreturn]] void fail(const QFile& file, const QString& reason)
{
    throw AppError(AppError::PlatformFailure, QFileInfo(file.fileName()).fileName(), reason);
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

} // namespace

QString path(const QString& dir)
{
    return QDir::toNativeSeparators(QDir(dir).filePath(QStringLiteral("TripLedger.txt")));
}

void appendLine(const QString& filePath, const QString& line)
{
    QFile file(filePath);
    // Append mode and one unbuffered write: two copies of the program saving at once never mix their lines.
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered))
        fail(file);
#ifdef Q_OS_UNIX
    // Held until the file is closed, so that another copy's line is never half-written while this one looks
    // for a torn last line.
    if (::flock(file.handle(), LOCK_EX) != 0)
        fail(file, QString::fromLocal8Bit(std::strerror(errno)));
#endif

    QByteArray bytes;
    if (!endsWithLineBreak(file))
        bytes += "\r\n";
    bytes += QStringEncoder(QStringConverter::System).encode(line);
    bytes += "\r\n";

    if (file.write(bytes) != bytes.size())
        fail(file);
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0)
        fail(file, QString::fromLocal8Bit(std::strerror(errno)));
#endif
    file.close();
    if (file.error() != QFileDevice::NoError)
        fail(file);
}

namespace {

// Opens the history for reading; false when it does not exist.
bool openForReading(QFile& file)
{
    const QFileInfo info(file.fileName());
    if (!info.exists())
        return false;
    // A folder, a device or a pipe is no history, and is never opened: opening a named pipe waits for a writer
    // for ever, and a link to /dev/zero would never end.
    if (!info.isFile())
        fail(file, QStringLiteral("The history is not a plain file."));
    if (!file.open(QIODevice::ReadOnly))
        fail(file);
    return true;
}

// Cuts bytes into lines; a line left open at the end of one piece is carried into the next.
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
        if (!m_carry.isEmpty())
            visitLine(m_carry);
        else if (!rest.isEmpty())
            visitLine(rest);
        m_carry.clear();
    }

private:
    void visitLine(QByteArrayView line)
    {
        if (line.endsWith('\r'))
            line.chop(1);
        m_visit(line);
    }

    const std::function<void(QByteArrayView line)>& m_visit;
    QByteArray m_carry;
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
    return QStringDecoder(QStringConverter::System).decode(line);
}

} // namespace HistoryFile
