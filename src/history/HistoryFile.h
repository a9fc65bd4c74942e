#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

// The history file TripLedger.txt beside the program: 8-bit text in the system's encoding, one record a line,
// lines written with CR LF, only ever appended to. An absent file is an empty history.
namespace HistoryFile {

// dir joined with "TripLedger.txt", with the platform's separator.
QString path(const QString& dir);

// Appends line as one whole line in a single write, then flushes it to the disk. Before it goes a CR LF when
// the file does not end with a line break (a line torn by an earlier crash stays apart from the new one).
// Creates the file when absent. Throws AppError with the file's error text when anything fails.
void appendLine(const QString& filePath, const QString& line);

// Calls visit for every line of the file in order, still in the file's bytes, without its line break (LF or
// CR LF; a final line without one counts too). Returns false, visiting nothing, when the file is absent.
// Throws AppError when the file cannot be opened or read, or is not a plain file.
bool forEachLine(const QString& filePath, const std::function<void(QByteArrayView line)>& visit);

// Reads the file, as long as it is when opened, into bytes, which hold nothing else afterwards, and visits its
// lines as forEachLine does, each a view into bytes. Returns false, leaving bytes empty, when the file is
// absent; throws AppError as forEachLine does.
bool readLines(const QString& filePath, QByteArray& bytes, const std::function<void(QByteArrayView line)>& visit);

// A line's bytes as text, decoded from the system's encoding; bytes invalid there become replacement
// characters.
QString decode(QByteArrayView line);

} // namespace HistoryFile
