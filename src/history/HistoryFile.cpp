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
#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/file.h>
#include <unistd.h>
#endif

namespace HistoryFile {

namespace {

constexpr qsizetype ReadChunk = 1 << 20;

// The history's full path is the source: the user learns where it lies.
[[noreturn]] void fail(const QFile& file, const QString& reason)
{
    throw AppError(
        AppError::PlatformFailure, QDir::toNativeSeparators(QFileInfo(file.fileName()).absoluteFilePath()), reason);
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
    HistoryLocation::makeFolders(filePath);
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

bool forEachLine(const QString& filePath, const std::function<void(QByteArrayView line)>& visit)
{
    QFile file(filePath);
    const QFileInfo info(filePath);
    if (!info.exists())
        return false;
    // A folder, a device or a pipe is no history, and is never opened: opening a named pipe waits for a writer
    // for ever, and a link to /dev/zero would never end.
    if (!info.isFile())
        fail(file, QStringLiteral("The history is not a plain file."));
    if (!file.open(QIODevice::ReadOnly))
        fail(file);

    const auto emitLine = [&visit](QByteArrayView line) {
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
    if (!carry.isEmpty())
        emitLine(carry);
    return true;
}

QString decode(QByteArrayView line)
{
    return QStringDecoder(QStringConverter::System).decode(line);
}

} // namespace HistoryFile
