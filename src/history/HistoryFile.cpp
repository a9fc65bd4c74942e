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

// The contract: a save never ends the program. By default a write beyond the file-size limit (RLIMIT_FSIZE)
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

} // namespace

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
        const ssize_t result = ::write(file.handle(), bytes.constData() + written, size_t(bytes.size() - written));
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

bool forEachLine(const QString& filePath, const std::function<void(QByteArrayView line)>& visit)
{
    QFile file(filePath);
    // Only a file that is not there is an empty history: a link loop or a folder that cannot be searched is a
    // failure with the system's reason, never a history shown as empty.
    struct stat info = {};
    if (::stat(QFile::encodeName(filePath).constData(), &info) != 0) {
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

    bool first = true;
    const auto emitLine = [&visit, &first](QByteArrayView line) {
        if (first && line.startsWith("\xEF\xBB\xBF")) // a UTF-8 byte-order mark, as some editors save
            line = line.sliced(3);
        first = false;
        if (line.endsWith('\r'))
            line.chop(1);
        visit(line);
    };

    // A small history needs no larger buffer than itself; one that grows while read takes more reads.
    QByteArray chunk(std::clamp(file.size(), qint64(1), qint64(ReadChunk)), Qt::Uninitialized);
    QByteArray carry; // the start of a line that runs on into the next chunk
    for (;;) {
        const qint64 got = file.read(chunk.data(), chunk.size());
        if (got < 0)
            fail(file);
        if (got == 0)
            break;
        QByteArrayView rest(chunk.constData(), got);
        for (qsizetype end = rest.indexOf('\n'); end >= 0; end = rest.indexOf('\n')) {
            if (carry.isEmpty()) {
                emitLine(rest.first(end));
            } else {
                carry += rest.first(end);
                emitLine(carry);
                carry.clear();
            }
            rest = rest.sliced(end + 1);
        }
        carry += rest;
    }
    // A last line without a line break is a record only when it ends with the record's last field whole: anything
    // else is a save torn part-way (by a crash, or an older version), and no record.
    if (!carry.isEmpty() && endsWithLastField(carry))
        emitLine(carry);
    return true;
}

QString decode(QByteArrayView line)
{
    // Each text on its own: an incomplete sequence at its end is a replacement character, never dropped, and a
    // leading U+FEFF is kept, so that two different byte strings are never shown as one.
    return QStringDecoder(
        QStringConverter::System, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom)
        .decode(line);
}

} // namespace HistoryFile
