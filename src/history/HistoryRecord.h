#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// One saved calculation: one line of the history file, its eight fields in this order.
struct HistoryRecord
{
    QString vehicleReg; // as typed: not trimmed, case kept
    QString date; // short date, one blank, long time
    QString mileage; // the input texts as they stood when saved
    QString cost;
    QString mpg; // one blank, then the miles per gallon with two decimals
    QString commuteDistance;
    QString pricePerUnit;
    QString unit; // "Litre" or "Gallon"

    bool operator==(const HistoryRecord& other) const;

    // The line as written, without its line break:
    // "VehicleReg:AB12 CDE;Date:21/03/2005 14:35:12;Mileage:400;...;Unit:Litre;"
    // Throws AppError "Record Check Failure" when a value holds a CR, an LF or a ";": the line would be split
    // or its fields cut short, so no such line is ever built.
    QString toLine() const;
};

namespace HistoryRecords {

// The date field's text for a moment: the locale's short date, one blank and its long time without the
// time-zone name.
QString dateText(const QDateTime& moment, const QLocale& locale);

// Throws AppError "Vehicle Registration Check Failure" for a registration the history cannot hold: empty or
// only blanks, or holding a ";" or a line break, which would cut the field or the line short.
void checkRegistration(const QString& registration);

} // namespace HistoryRecords
