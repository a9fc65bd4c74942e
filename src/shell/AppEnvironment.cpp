#include "AppEnvironment.h"

#include "calc/LocaleNames.h"

#include <QCoreApplication>
#include <QDir>

AppEnvironment AppEnvironment::system()
{
    AppEnvironment environment;
    environment.locale = QLocale::system();
    environment.languageName = [] {
        return LocaleNames::languageName(QLocale::system());
    };
    environment.now = [] {
        return QDateTime::currentDateTime();
    };
    environment.dataDirectory = QCoreApplication::applicationDirPath();
    environment.helpFile = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("TripLedgerHelp.html"));
    environment.browsers = { QStringLiteral("xdg-open"), QStringLiteral("x-www-browser") };
    environment.onlineHelpAddress = QStringLiteral("https://tripledger.example.org/tripledger.htm");
    return environment;
}
