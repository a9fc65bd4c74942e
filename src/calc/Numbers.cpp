#include "Numbers.h"

#include "AppError.h"

#include <cmath>

namespace Numbers {

namespace {

QLocale withoutGrouping(QLocale locale)
{
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale;
}

} // namespace

std::optional<double> parse(const QString& text, const QLocale& locale)
{
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool IsValidNumber(const QString& text, const QLocale& locale)
{
    return parse(text, locale).has_value();
}

QString DoubleCheck(const QString& value, const QString& fieldName, const QLocale& locale)
{
    const std::optional<double> number = parse(value, locale);
    if (!number)
        throw AppError(AppError::CheckFailed, QStringLiteral("Double Check Failure"),
            fieldName + QStringLiteral(" is not a valid number please only enter numbers."));
    return generalText(*number, locale);
}

QString generalText(double value, const QLocale& locale)
{
    return withoutGrouping(locale).toString(value, 'g', 15);
}

QString formatTwoDecimals(double value, const QLocale& locale)
{
    const QLocale plain = withoutGrouping(locale);
    // A value that rounds to zero shows as ".00", never "-.00".
    if (std::fabs(value) < 0.005)
        value = 0.0;
    QString text = plain.toString(std::fabs(value), 'f', 2);
    const QString leadingZero = plain.zeroDigit() + plain.decimalPoint();
    if (text.startsWith(leadingZero))
        text.remove(0, plain.zeroDigit().size());
    return value < 0 ? plain.negativeSign() + text : text;
}

} // namespace Numbers
