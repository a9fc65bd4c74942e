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
// it goes a CR LF when the file does not end with a line break (a line torn by an earlier crash stays apart
// from the new one). Creates the file when absent, and its folders, private to the user. Throws AppError with
// the file's full path and the system's reason when anything fails; a write or sync that fails cuts the file
// back to its size before the save, so it is exactly as it was.
void appendLine(const QString& filePath, const QString& line, SyncFunction sync = ::fsync);

// Makes a write beyond the file-size limit (RLIMIT_FSIZE) fail with EFBIG rather than end the program by
// SIGXFSZ, unless the process handles that signal itself. Called by every writer: the save and the export.
void ignoreFileSizeSignal();

// Calls visit for every line of the file in order, still in the file's bytes, without its line break (LF or
// CR LF) and without a UTF-8 byte-order mark at the start of the file. A final line without a line break is
// visited only when it ends with a whole "Unit:" field and its ";": otherwise it is a torn save. Returns
// false, visiting nothing, when the file does not exist (ENOENT). Throws AppError when it cannot be looked at,
// opened or read, or is not a plain file.
bool forEachLine(const QString& filePath, const std::function<void(QByteArrayView line)>& visit);

// Reads the file, as long as it is when opened, into bytes, which hold nothing else afterwards, and visits its
// lines as forEachLine does, each a view into bytes. Returns false, leaving bytes empty, when the file does not
// exist; throws AppError as forEachLine does.
bool readLines(const QString& filePath, QByteArray& bytes, const std::function<void(QByteArrayView line)>& visit);

// A line's or field's bytes as text, decoded from the system's encoding on their own; bytes invalid there,
// an incomplete sequence at the end too, become replacement characters.
QString decode(QByteArrayView line);

} // namespace HistoryFile
