#pragma once

#include "GraphData.h"

#include <QLocale>
#include <QString>

#include <vector>

// What the printed report says of each vehicle: its totals, its graph's points and its calculations.
namespace VehicleReport {

// One tank as the totals count it: its miles, what it cost and its miles per gallon (above 0).
struct Tank
{
    double miles = 0;
    double cost = 0;
    double mpg = 0;
};

struct Totals
{
    qint64 calculations = 0;
    double miles = 0;
    double gallons = 0; // each tank's miles / its MPG
    double spent = 0;
    double overallMpg = 0; // miles / gallons: each tank weighed by its fuel; 0 without gallons
    double meanMpg = 0; // of the tanks' MPGs, each alike, as the History page's means
    double costPerMile = 0; // spent / miles; 0 without miles
    double lowestMpg = 0;
    double highestMpg = 0;

    bool operator==(const Totals& other) const;
};

Totals totals(const std::vector<Tank>& tanks);

// A calculation's fields as saved, for the report's table.
struct Calculation
{
    QString date;
    QString miles;
    QString cost;
    QString mpg;
    QString price;
    QString unit;
};

struct Vehicle
{
    QString registration; // as first written, or as chosen
    std::vector<Calculation> calculations; // every valid record, in file order
    qint64 unreadable = 0; // calculations left out of the totals: a number that cannot be read, or an MPG of 0
    Totals totals;
    GraphData::Points points; // what the Graph page draws
};

// The vehicles of the history, told apart as the graph tells them (upper-cased and trimmed), in the order they
// first appear; only the chosen one when one is given. A calculation is a valid record (one holding "VehicleReg"
// and "MPG"); it counts in the totals when its mileage, cost and MPG read as numbers by the readers' rule
// (Numbers::parseStored) and its MPG is above 0. An absent file has no vehicles. Throws AppError as
// HistoryFile::forEachLine does.
std::vector<Vehicle> read(const QString& historyFilePath, const QString& chosenRegistration, const QLocale& locale);

} // namespace VehicleReport
