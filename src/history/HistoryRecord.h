#pragma once

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
