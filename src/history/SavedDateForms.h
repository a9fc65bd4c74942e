#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <optional>
#include <vector>

// The forms in which the regional settings write a saved date (QLocale's format tokens), compiled for reading
// dates back from the history's bytes. Used by SavedDates.
namespace SavedDateForms {

enum class Kind { Literal, Day, Month, Year2, Year4, Hour24, Hour12, Minute, Second, Millis, MonthName, DayName, AmPm };

struct Token
{
    Kind kind;
    int minDigits = 0;
    int maxDigits = 0;
    QByteArray literal; // in the file's encoding
};

struct Name
{
    QByteArray bytes;
    int value;
};

// What a date's text gave: year, month, day, hour, minute, second, and 1 after a PM text (0 after AM).
enum Field { Year, Month, Day, Hour, Minute, Second, Pm, FieldCount };

struct Format
{
    std::vector<Token> tokens;
    std::vector<Name> names[3]; // by Kind::MonthName, DayName, AmPm
    bool twelveHour = false;
};

// A form for reading; none for one without a year, month, day, hour and minute.
std::optional<Format> compile(const QString& text, const QLocale& locale);

// Reads text whole in the form into value; with check, only a date and time that exist (a 12-hour time then made
// 24-hour).
bool read(const Format& format, QByteArrayView text, int (&value)[FieldCount], bool check);

} // namespace SavedDateForms
