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

// A number read back from the history file. The file may have been written under other regional settings, so
// a text that is not a number under the locale is read again with the other decimal separator ("," for ".",
// "." for ","), but only when it has the shape this program writes: blanks, an optional "-", digits and at
// most one separator.
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
