#include "VehicleList.h"

#include "HistoryFile.h"
#include "RecordField.h"

#include "ByteKeyed.h"

namespace VehicleList {

TextArray registrations(const QString& historyFilePath)
{
    TextArray result;
    ByteKeyed<bool> seen;
    HistoryFile::forEachLine(historyFilePath, [&](QByteArrayView line) {
        static const QByteArrayView names[] = { "VehicleReg:" };
        std::optional<QByteArrayView> fields[1];
        RecordField::findEach(line, names, fields);
        const std::optional<QByteArrayView>& reg = fields[0];
        if (!reg || seen.find(*reg))
            return;
        seen.insert(*reg, true);
        result.append(HistoryFile::decode(*reg));
    });
    return result;
}

} // namespace VehicleList
