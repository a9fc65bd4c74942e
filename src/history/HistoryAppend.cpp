// The save: HistoryFile::appendLine.
#include "HistoryFile.h"

#include "HistoryLocation.h"

#include "calc/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace HistoryFile {

namespace {

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The history's full path is the source: the user learns where it lies.
[[noreturn]] void fail(const QString& filePath, const QString& reason)
{
    throw AppError(QDir::toNativeSeparators(QFileInfo(filePath).absoluteFilePath()), reason);
}

// A descriptor closed when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    // Closes it now, for the error close reports (a write the system kept back until then).
    int close() { return ::close(std::exchange(m_fd, -1)); }

private:
    int m_fd;
};

// Opens the history for appending, creating it private to the user when absent (created tells). Non-blocking,
// so that a named pipe or a device in its place is opened at once, to be refused; for a plain file the flag
// changes nothing. A link whose target is gone creates the target, as the readers would then read it.
int openForAppending(const QString& filePath, bool& created)
{
    const QByteArray name = QFile::encodeName(filePath);
    const int flags = O_RDWR | O_APPEND | O_NONBLOCK | O_CLOEXEC;
    for (int attempt = 0;; ++attempt) {
        if (const int fd = ::open(name.constData(), flags); fd >= 0 || errno != ENOENT) {
            created = false;
            return fd;
        }
        // O_EXCL first, so that a file another copy of the program made meanwhile is not taken as new; without
        // it once a broken link stands there.
        const int fd = ::open(name.constData(), flags | O_CREAT | (attempt == 0 ? O_EXCL : 0), 0600);
        if (fd >= 0 || errno != EEXIST || attempt > 0) {
            created = fd >= 0;
            return fd;
        }
    }
}

// Whether the file's last line, which has no line break, is a whole record as the readers judge it. Reads back
// from the end only as far as the line's last field starts.
bool lastLineIsWhole(const QString& filePath, int fd, qint64 size)
{
    for (qint64 want = 256;; want *= 2) {
        const qint64 from = std::max<qint64>(0, size - want);
        QByteArray tail(size - from, Qt::Uninitialized);
        if (::pread(fd, tail.data(), static_cast<size_t>(tail.size()), from) != tail.size())
            fail(filePath, systemReason());
        const QByteArrayView line = QByteArrayView(tail).sliced(tail.lastIndexOf('\n') + 1);
        QByteArrayView body = line.endsWith('\r') ? line.chopped(1) : line;
        if (line.size() < tail.size() || from == 0 || !body.endsWith(';') || body.chopped(1).contains(';'))
            return endsWithLastField(line);
    }
}

// A save that failed part-way takes back what it wrote, so that the file is exactly as it was.
[[noreturn]] void cutBackAndFail(const QString& filePath, int fd, qint64 size, const QString& reason)
{
    if (::ftruncate(fd, size) != 0)
        fail(filePath, reason + QStringLiteral(" The part written could not be taken back: ") + systemReason());
    fail(filePath, reason);
}

} // namespace

void appendLine(const QString& filePath, const QString& line, SyncFunction sync)
{
    const QStringList madeFolders = HistoryLocation::makeFolders(filePath);
    bool created = false;
    Descriptor file(openForAppending(filePath, created));
    if (file.get() < 0)
        fail(filePath, systemReason());
    // A named pipe, a device or a folder is no history: refused before a byte is written.
    struct stat info = {};
    if (::fstat(file.get(), &info) != 0)
        fail(filePath, systemReason());
    if (!S_ISREG(info.st_mode))
        fail(filePath, QStringLiteral("The history is not a plain file."));
    // Held until the file is closed: another copy's line is never half-written while this one looks for a torn
    // last line, a failed save is cut back before anyone writes after it, and no reader sees it meanwhile.
    if (::flock(file.get(), LOCK_EX) != 0 || ::fstat(file.get(), &info) != 0)
        fail(filePath, systemReason());
    const qint64 before = info.st_size;

    // After a last line without a line break: CR LF, and before it CAN (U+0018, "disregard what precedes") when
    // that line is no whole record, so that the readers never count the torn line, wherever it later stands.
    QByteArray bytes;
    char last = '\n';
    if (before > 0 && ::pread(file.get(), &last, 1, before - 1) != 1)
        fail(filePath, systemReason());
    if (last != '\n')
        bytes += lastLineIsWhole(filePath, file.get(), before) ? "\r\n" : "\x18\r\n";
    bytes += QStringEncoder(QStringConverter::System).encode(line);
    bytes += "\r\n";

    // A write cut short is continued, so that the second write names the reason (a full disk, a size limit:
    // EFBIG, where the process ignores SIGXFSZ as the program does; by default that signal ends the process).
    for (qsizetype written = 0; written < bytes.size();) {
        errno = 0;
        const ssize_t result
            = ::write(file.get(), bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (result > 0)
            written += result;
        else if (errno != EINTR)
            cutBackAndFail(filePath, file.get(), before,
                result == 0 ? QStringLiteral("Only part of the line was written.") : systemReason());
    }
    if (sync(file.get()) != 0)
        cutBackAndFail(filePath, file.get(), before, systemReason());

    // A new entry lasts through a power cut only once its folder is synced: each new folder's parent, and the
    // file's folder when the file is new.
    QStringList folders;
    for (const QString& made : madeFolders)
        folders.append(QFileInfo(made).absolutePath());
    if (created)
        folders.append(QFileInfo(QFileInfo(filePath).canonicalFilePath()).absolutePath());
    for (const QString& folder : std::as_const(folders)) {
        const Descriptor handle(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (handle.get() < 0 || sync(handle.get()) != 0)
            cutBackAndFail(filePath, file.get(), before, systemReason());
    }
    if (file.close() != 0)
        fail(filePath, systemReason());
}

} // namespace HistoryFile
