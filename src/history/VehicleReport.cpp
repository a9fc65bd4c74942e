#include "VehicleReport.h"

#include "HistoryFile.h"
#include "MpgValues.h"
#include "RecordField.h"

#include "calc/Numbers.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace VehicleReport {

bool Totals::operator==(const Totals& other) const
{
    return calculations == other.calculations && miles == other.miles && gallons == other.gallons
        && spent == other.spent && overallMpg == other.overallMpg && meanMpg == other.meanMpg
        && costPerMile == other.costPerMile && lowestMpg == other.lowestMpg && highestMpg == other.highestMpg;
}

Totals totals(const std::vector<Tank>& tanks)
{
    Totals sum;
    if (tanks.empty())
        return sum;
    double mpgSum = 0;
    sum.lowestMpg = tanks.front().mpg;
    sum.highestMpg = tanks.front().mpg;
    for (const Tank& tank : tanks) {
        sum.miles += tank.miles;
        sum.gallons += tank.miles / tank.mpg;
        sum.spent += tank.cost;
        mpgSum += tank.mpg;
        sum.lowestMpg = std::min(sum.lowestMpg, tank.mpg);
        sum.highestMpg = std::max(sum.highestMpg, tank.mpg);
    }
    sum.calculations = static_cast<qint64>(tanks.size());
    sum.meanMpg = mpgSum / static_cast<double>(tanks.size());
    if (sum.gallons != 0)
        sum.overallMpg = sum.miles / sum.gallons;
    if (sum.miles != 0)
        sum.costPerMile = sum.spent / sum.miles;
    return sum;
}

std::vector<Vehicle> read(const QString& historyFilePath, const QString& chosenRegistration, const QLocale& locale)
{
    const QString chosen = chosenRegistration.toUpper().trimmed();
    std::vector<Vehicle> vehicles;
    std::vector<std::vector<Tank>> tanks;
    QHash<QString, size_t> byKey;
    MpgValues mpgs(locale);
    HistoryFile::forEachLine(historyFilePath, [&](QByteArrayView line) {
        static const QByteArrayView names[]
            = { "VehicleReg:", "MPG:", "Date:", "Mileage:", "Cost:", "Price Per Unit:", "Unit:" };
        std::optional<QByteArrayView> fields[7];
        RecordField::findEach(line, names, fields);
        const auto& [registration, mpg, date, mileage, cost, price, unit] = fields;
        if (!registration || !mpg)
            return;
        const QString shown = HistoryFile::decode(*registration);
        const QString key = shown.toUpper().trimmed();
        if (!chosen.isEmpty() && key != chosen)
            return;
        auto found = byKey.find(key);
        if (found == byKey.end()) {
            found = byKey.insert(key, vehicles.size());
            vehicles.push_back({ chosen.isEmpty() ? shown : chosenRegistration, {}, 0, {}, {} });
            tanks.emplace_back();
        }
        Vehicle& vehicle = vehicles[*found];
        const auto text = [](const std::optional<QByteArrayView>& field) {
            return field ? HistoryFile::decode(*field) : QString();
        };
        Calculation calculation { text(date), text(mileage), text(cost), text(mpg), text(price), text(unit) };
        const std::optional<double> mpgValue = mpgs.read(*mpg);
        if (mpgValue && date)
            vehicle.points.append(*date, *mpgValue);
        const std::optional<double> miles = Numbers::parseStored(calculation.miles, locale);
        const std::optional<double> spent = Numbers::parseStored(calculation.cost, locale);
        if (mpgValue && *mpgValue > 0 && miles && spent)
            tanks[*found].push_back({ *miles, *spent, *mpgValue });
        else
            ++vehicle.unreadable;
        vehicle.calculations.push_back(std::move(calculation));
    });
    for (size_t i = 0; i < vehicles.size(); ++i)
        vehicles[i].totals = totals(tanks[i]);
    return vehicles;
}

} // namespace VehicleReport
