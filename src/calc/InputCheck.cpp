#include "InputCheck.h"

#include "AppError.h"
#include "Numbers.h"

namespace InputCheck {

bool IsValidNumber(const QString& text, const QLocale& locale)
{
    return Numbers::parse(text, locale).has_value();
}

QString DoubleCheck(const QString& value, const QString& fieldName, const QLocale& locale)
{
    const std::optional<double> number = Numbers::parse(value, locale);
    if (!number)
        throw AppError(QStringLiteral("Double Check Failure"),
            fieldName + QStringLiteral(" is not a valid number please only enter numbers."), fieldName);
    return Numbers::generalText(*number, locale);
}

} // namespace InputCheck
