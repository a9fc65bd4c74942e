#include "VehicleList.h"

#include "HistoryFile.h"
#include "RecordField.h"

#include <QSet>

namespace VehicleList {

QStringList registrations(const QString& historyFilePath)
{
    QStringList result;
    QSet<QString> seen;
    HistoryFile::forEachLine(historyFilePath, [&](QByteArrayView line) {
        const std::optional<QByteArrayView> reg = RecordField::find(line, "VehicleReg:");
        if (!reg)
            return;
        QString text = HistoryFile::decode(*reg);
        if (seen.contains(text))
            return;
        seen.insert(text);
        result.append(std::move(text));
    });
    return result;
}

} // namespace VehicleList
