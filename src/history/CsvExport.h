#pragma once

#include <QLocale>
#include <QString>

#include <functional>
#include <optional>

// The history as a CSV file for a spreadsheet (RFC 4180: CR LF row ends, a cell quoted when it holds the
// separator, a quote or a line break, its quotes doubled; UTF-8 with a byte-order mark). A header row, then one row
// per valid record (one holding "VehicleReg" and "MPG", as the History page counts them) in file order: Vehicle,
// Date, Miles, Cost, MPG, Commute miles (one way), Price per unit, Unit.
// - A date that any locale's saved form reads is written as ISO 8601 (SavedDates), else as saved.
// - A number read by the readers' rule (Numbers::parseStored) is written with a full stop and no grouping, in
//   the fewest digits that read back as the same double, else the text as saved.
// - A text cell that a spreadsheet would run as a formula (starting with =, +, -, @, a tab or a CR) gets a leading
//   apostrophe, which spreadsheets show as text. A field missing from its line is an empty cell.
namespace CsvExport {

struct Counts
{
    qint64 rows = 0; // records written
    qint64 leftOut = 0; // lines of the history that are no record, a torn last line too

    bool operator==(const Counts& other) const { return rows == other.rows && leftOut == other.leftOut; }
};

// Told how many of the history's bytes are done of how many, now and then; false cancels the export.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// Writes the CSV file whole through QSaveFile, or leaves nothing: a cancelled export (nothing returned) or a
// failure leaves no file of its own and any earlier file at csvPath as it was. separator: ',' or ';'. Throws
// AppError with csvPath in full and the system's reason when the file cannot be written, or as
// HistoryFile::forEachLine does when the history cannot be read. The history is only read.
std::optional<Counts> write(const QString& historyPath, const QString& csvPath, char separator, const QLocale& locale,
    const Progress& progress = {});

} // namespace CsvExport
