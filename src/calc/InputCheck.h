#pragma once

#include <QLocale>
#include <QString>

// The checks through which the calculation takes its four typed numbers (Numbers::parse decides what a number
// is).
namespace InputCheck {

bool IsValidNumber(const QString& text, const QLocale& locale);

// The value as normalised text: the shortest general form with at most 15 significant digits, the locale's
// decimal separator and no digit grouping. Throws AppError "Double Check Failure" naming fieldName, in its
// text and as its field(), when the text is not a number.
QString DoubleCheck(const QString& value, const QString& fieldName, const QLocale& locale);

} // namespace InputCheck
