#include "LocaleNames.h"

namespace LocaleNames {

QString languageName(const QLocale& locale)
{
    return QLocale::languageToString(locale.language()) + QStringLiteral(" (")
        + QLocale::territoryToString(locale.territory()) + QLatin1Char(')');
}

bool isUsEnglish(const QString& languageName)
{
    return languageName == QLatin1String("English (United States)");
}

} // namespace LocaleNames
