#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>

// The fuel-cost calculation: from the four input texts and the unit, the price per gallon, the miles per
// gallon and the commute's monthly and daily cost. Prices are in pence or cents per litre, or in whole
// currency units per gallon when the price is given per gallon.
namespace FuelCalc {

struct Inputs
{
    QString mileage; // miles driven on the current tank
    QString cost; // cost of filling the tank
    QString commuteDistance; // one-way daily commute, miles
    QString pricePerUnit; // price of one litre (pence or cents) or one gallon (currency units)
    bool gallons = false; // the price is per gallon
    bool usEnglish = false; // 4 litres to the gallon instead of 5
};

// The inputs' names, in the order of Inputs: in the check's message, and the field() of the error that refuses one.
constexpr std::array<const char*, 4> FieldNames { "Mileage", "Fuel Costs", "Commute Distance", "Price Per Unit" };

struct Results
{
    double pricePerGallon = 0;
    double milesPerGallon = 0;
    double monthlyCost = 0;
    double dailyCost = 0;
};

// Checks the inputs in the order mileage, cost, commute distance, price (the first bad one throws its
// "Double Check Failure"), then computes with checked arithmetic (throws "Division by zero" or "Overflow").
Results calculate(const Inputs& inputs, const QLocale& locale);

// The four result lines in display order: "MPG: ", "Per Gallon: ", "Monthly Cost: " and "Daily Cost: ", each
// followed by its value with two decimals.
QStringList resultLines(const Results& results, const QLocale& locale);

} // namespace FuelCalc
