#pragma once

#include <QLocale>
#include <QString>

// How the user's language decides the litres counted to a gallon.
namespace LocaleNames {

// The locale's language and territory in English, for example "English (United States)".
QString languageName(const QLocale& locale);

// True only for exactly "English (United States)": same length, characters and case.
bool isUsEnglish(const QString& languageName);

} // namespace LocaleNames
