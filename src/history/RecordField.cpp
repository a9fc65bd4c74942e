#include "RecordField.h"

bool GetRecordField(const QString& line, const QString& fieldName, QString& value)
{
    const std::optional<QStringView> found = RecordField::find(QStringView(line), QString(fieldName + u':'));
    if (!found)
        return false;
    value = found->toString();
    return true;
}
