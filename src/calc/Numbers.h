#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// The one rule by which any text typed by the user or read from the history file becomes a number.
namespace Numbers {

// The value of the whole text under the locale's conventions (blanks around it, sign, decimal and group
// separators, exponent), or nothing. Texts that only name a non-finite value ("nan", "inf"), texts holding a
// line break (a pasted cell would split the saved record), and values whose 15-digit form (generalText) falls
// outside the range of a double are not numbers: whatever passes converts again after normalising.
std::optional<double> parse(const QString& text, const QLocale& locale);

// A number read back from the history file: the value of the text under the locale, else of the text as
// formatTwoDecimals writes it under any other regional settings (any script's decimal digits, any locale's
// minus sign and decimal separator, no grouping). Unlike parse, a value near the range ends is kept as read:
// whatever the program saved reads back as the same number.
std::optional<double> parseStored(const QString& text, const QLocale& locale);

bool IsValidNumber(const QString& text, const QLocale& locale);

// The value as normalised text: the shortest general form with at most 15 significant digits, the locale's
// decimal separator and no digit grouping. Throws AppError "Double Check Failure" naming fieldName when the
// text is not a number.
QString DoubleCheck(const QString& value, const QString& fieldName, const QLocale& locale);

// Fixed two decimals with no grouping and no digit before the separator below 1 (".50", "-.50", ".00"),
// as the "####.00" and "######.00" patterns show numbers.
QString formatTwoDecimals(double value, const QLocale& locale);

// Shortest general text of a double with at most 15 significant digits and no grouping.
QString generalText(double value, const QLocale& locale);

} // namespace Numbers
