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
            throw AppError(AppError::CheckFailed, QStringLiteral("Record Check Failure"),
                QStringLiteral("The %1 field cannot contain a line break or a semicolon.").arg(QLatin1String(name)));
        line += QLatin1String(name) + u':' + *value + u';';
    }
    return line;
}

namespace HistoryRecords {

namespace {

// The long time format without its time-zone token ("t" outside quotes) and the blanks beside it.
QString timeFormatWithoutZone(const QString& format)
{
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        result += c;
    }
    return result.trimmed();
}

} // namespace

QString dateText(const QDateTime& moment, const QLocale& locale)
{
    return locale.toString(moment.date(), QLocale::ShortFormat) + u' '
        + locale.toString(moment.time(), timeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat)));
}

void checkRegistration(const QString& registration)
{
    const QString source = QStringLiteral("Vehicle Registration Check Failure");
    if (registration.trimmed().isEmpty())
        throw AppError(AppError::CheckFailed, source,
            QStringLiteral("You must enter a vehicle registration to save the details."));
    if (registration.contains(u';'))
        throw AppError(
            AppError::CheckFailed, source, QStringLiteral("A vehicle registration cannot contain a semicolon."));
    if (registration.contains(u'\n') || registration.contains(u'\r'))
        throw AppError(
            AppError::CheckFailed, source, QStringLiteral("A vehicle registration cannot contain a line break."));
}

} // namespace HistoryRecords
