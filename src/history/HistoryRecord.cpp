#include "HistoryRecord.h"

#include "calc/AppError.h"

bool HistoryRecord::operator==(const HistoryRecord& other) const
{
    return vehicleReg == other.vehicleReg && date == other.date && mileage == other.mileage && cost == other.cost
        && mpg == other.mpg && commuteDistance == other.commuteDistance && pricePerUnit == other.pricePerUnit
        && unit == other.unit;
}

QString HistoryRecord::toLine() const
{
    const std::pair<const char*, const QString*> fields[] = {
        { "VehicleReg", &vehicleReg },
        { "Date", &date },
        { "Mileage", &mileage },
        { "Cost", &cost },
        { "MPG", &mpg },
        { "Commute Distance", &commuteDistance },
        { "Price Per Unit", &pricePerUnit },
        { "Unit", &unit },
    };
    QString line;
    for (const auto& [name, value] : fields) {
        if (value->contains(u'\r') || value->contains(u'\n') || value->contains(u';'))
            throw AppError(QStringLiteral("Record Check Failure"),
                QStringLiteral("The %1 field cannot contain a line break or a semicolon.").arg(QLatin1String(name)));
        line += QLatin1String(name) + u':' + *value + u';';
    }
    return line;
}
