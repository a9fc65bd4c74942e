#pragma once

#include <QLocale>
#include <QString>

#include <vector>

// The points of one vehicle's mileage graph.
namespace GraphData {

struct Point
{
    QString date; // the record's whole "Date" text
    double mpg = 0;
    // The category label: the first 10 characters of the date, normally the date alone.
    QString label() const { return date.left(10); }
    bool operator==(const Point& other) const { return date == other.date && mpg == other.mpg; }
};

// The records of the chosen vehicle in file order, one point each. A record counts when it holds "MPG",
// "VehicleReg" and "Date", its MPG is a number (Numbers::parseStored), and its registration equals the chosen
// one once both are upper-cased and trimmed. An absent file has no points. Throws AppError when the file cannot
// be read.
std::vector<Point> points(const QString& historyFilePath, const QString& chosenRegistration, const QLocale& locale);

} // namespace GraphData
