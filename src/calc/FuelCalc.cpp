#include "FuelCalc.h"

#include "CheckedMath.h"
#include "InputCheck.h"
#include "Numbers.h"

using CheckedMath::add;
using CheckedMath::divide;
using CheckedMath::multiply;

namespace FuelCalc {

namespace {

// Values that pass the check are taken from its normalised text, so at most 15 significant digits count; that
// text always converts again (Numbers::parse), so there is no fallback value.
double checkedValue(const QString& text, const char* fieldName, const QLocale& locale)
{
    return Numbers::parse(InputCheck::DoubleCheck(text, QLatin1String(fieldName), locale), locale).value();
}

} // namespace

Results calculate(const Inputs& inputs, const QLocale& locale)
{
    const double mileage = checkedValue(inputs.mileage, FieldNames[0], locale);
    const double cost = checkedValue(inputs.cost, FieldNames[1], locale);
    const double commute = checkedValue(inputs.commuteDistance, FieldNames[2], locale);
    const double price = checkedValue(inputs.pricePerUnit, FieldNames[3], locale);

    Results results;
    // Pence or cents per litre to currency units per gallon, counting 5 litres to the gallon (4 in US English).
    results.pricePerGallon = inputs.gallons ? price : multiply(divide(price, 100.0), inputs.usEnglish ? 4.0 : 5.0);
    const double gallonsBought = divide(cost, results.pricePerGallon);
    results.milesPerGallon = divide(mileage, gallonsBought);

    // The commute runs 10 times a week; 52 weeks over 12.12 "months", strictly left to right. The distance
    // is read here from the typed text itself, without the 15-digit rounding of the check; the check has
    // passed, so the text is a number.
    const double distance = *Numbers::parse(inputs.commuteDistance, locale);
    results.monthlyCost
        = multiply(divide(divide(multiply(multiply(distance, 10.0), 52.0), 12.12), results.milesPerGallon),
            results.pricePerGallon);

    const double singleJourney = divide(cost, divide(mileage, commute));
    results.dailyCost = add(singleJourney, singleJourney);
    return results;
}

QStringList resultLines(const Results& results, const QLocale& locale)
{
    const auto line = [&locale](const char* caption, double value) {
        return QLatin1String(caption) + QStringLiteral(": ") + Numbers::formatTwoDecimals(value, locale);
    };
    return {
        line("MPG", results.milesPerGallon),
        line("Per Gallon", results.pricePerGallon),
        line("Monthly Cost", results.monthlyCost),
        line("Daily Cost", results.dailyCost),
    };
}

} // namespace FuelCalc
