#include "LocaleNames.h"

namespace LocaleNames {

QString languageName(const QLocale& locale)
{
    return QLocale::languageToString(locale.language()) + QStringLiteral(" (")
        + QLocale::territoryToString(locale.territory()) + QLatin1Char(')');
}

bool isUsEnglish(const QString& languageName)
{
    const qsizetype nul = languageName.indexOf(QChar(u'\0'));
    return QStringView(languageName).left(nul < 0 ? languageName.size() : nul)
        == QLatin1String("English (United States)");
}

} // namespace LocaleNames
