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
        const std::optional<QByteArrayView> reg = RecordField::find(line, "VehicleReg:");
        if (!reg || seen.find(*reg))
            return;
        seen.insert(*reg, true);
        result.append(HistoryFile::decode(*reg));
    });
    return result;
}

} // namespace VehicleList
