#include "GraphData.h"

#include "ByteKeys.h"
#include "HistoryFile.h"
#include "MpgValues.h"
#include "RecordField.h"

namespace GraphData {

std::vector<Point> points(const QString& historyFilePath, const QString& chosenRegistration, const QLocale& locale)
{
    const QString chosen = chosenRegistration.toUpper().trimmed();
    ByteKeyed<bool> matches; // whether a registration, as written in the file, is the chosen vehicle
    MpgValues mpgs(locale);
    std::vector<Point> result;
    HistoryFile::forEachLine(historyFilePath, [&](QByteArrayView line) {
        const std::optional<QByteArrayView> mpg = RecordField::find(line, "MPG:");
        const std::optional<QByteArrayView> reg = RecordField::find(line, "VehicleReg:");
        const std::optional<QByteArrayView> date = RecordField::find(line, "Date:");
        if (!mpg || !reg || !date)
            return;
        const bool* match = matches.find(*reg);
        if (!match)
            match = &matches.insert(*reg, HistoryFile::decode(*reg).toUpper().trimmed() == chosen);
        if (!*match)
            return;
        if (const std::optional<double> value = mpgs.read(*mpg))
            result.push_back({ HistoryFile::decode(*date), *value });
    });
    return result;
}

} // namespace GraphData
