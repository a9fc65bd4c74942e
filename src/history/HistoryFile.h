#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

#include <unistd.h>

// The history file TripLedger.txt, where HistoryLocation puts it: 8-bit text in the system's encoding, one record a
// line, lines written with CR LF, only ever appended to. An absent file is an empty history.
namespace HistoryFile {

// dir joined with "TripLedger.txt", with the platform's separator.
QString path(const QString& dir);

// The call that makes written bytes durable, fsync(2) in the program: given the file descriptor, it returns 0
// or sets errno and returns -1.
using SyncFunction = int (*)(int fd);

// Appends line as one whole line at the file's end, under an exclusive lock, then syncs it to the disk. Before
// it goes a CR LF when the file does not end with a line break, with CAN (0x18) before that when the last line
// is torn (see forEachLine), so that it never counts. Creates the file when absent, and its folders, private to
// the user, and then syncs each folder that gained an entry; what exists keeps its mode. Refuses anything but a
// plain file, without waiting on it or writing to it. Throws AppError with the file's full path and the
// system's reason when anything fails; a write or sync that fails cuts the file back to its size before the
// save, so it is exactly as it was. A write beyond the file-size limit fails with EFBIG where the process
// ignores SIGXFSZ (the program does); by default that signal ends the process.
void appendLine(const QString& filePath, const QString& line, SyncFunction sync = ::fsync);

// Calls visit for every line of the file in order, still in the file's bytes, without its line break (LF or
// CR LF) and without a UTF-8 byte-order mark at the start of the file. A final line without a line break is
// visited only when endsWithLastField: otherwise it is a torn save. A line that ends with CAN (0x18) is one that
// a later save closed, and is not visited; no save writes one otherwise. Waits while a save holds the file's
// lock (a shared lock for the read; none where the file system has no locks). Returns false, visiting nothing,
// when the file does not exist (ENOENT). Throws AppError when it cannot be looked at, opened or read, or is not
// a plain file.
bool forEachLine(const QString& filePath, const std::function<void(QByteArrayView line)>& visit);

// Reads the file, as long as it is when opened, into bytes, which hold nothing else afterwards, and visits its
// lines as forEachLine does, each a view into bytes. Returns false, leaving bytes empty, when the file does not
// exist; throws AppError as forEachLine does.
bool readLines(const QString& filePath, QByteArray& bytes, const std::function<void(QByteArrayView line)>& visit);

// Whether a line ends with a whole "Unit:" field, the record's last, and its ";" (a CR after it aside): a last
// line without a line break is a whole record only then.
bool endsWithLastField(QByteArrayView line);

// A line's or field's bytes as text, decoded from the system's encoding on their own; bytes invalid there,
// an incomplete sequence at the end too, become replacement characters.
QString decode(QByteArrayView line);

} // namespace HistoryFile
