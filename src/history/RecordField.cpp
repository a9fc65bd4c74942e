#include "RecordField.h"

bool GetRecordField(const QString& line, const QString& fieldName, QString& value)
{
    const QString nameWithColon = fieldName + u':';
    const std::optional<QStringView> found = RecordField::find(QStringView(line), QStringView(nameWithColon));
    if (!found)
        return false;
    value = found->toString();
    return true;
}
