#include "AppEnvironment.h"

#include "calc/LocaleNames.h"
#include "history/HistoryLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The help document beside the program (a build, a folder of one's own), else where an install puts it:
// share/tripledger/ beside the program's bin/.
QString helpDocument(const QDir& programDir)
{
    QString beside = programDir.filePath(QStringLiteral("TripLedgerHelp.html"));
    if (QFileInfo(beside).isFile())
        return beside;
    return QDir::cleanPath(programDir.filePath(QStringLiteral("../share/tripledger/TripLedgerHelp.html")));
}

} // namespace

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
    environment.programDirectory = QCoreApplication::applicationDirPath();
    environment.dataDirectory = HistoryLocation::dataFolder(qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath());
    // A dialog opened on a folder that does not exist starts in the current one: the home folder instead.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    environment.documentsDirectory = QFileInfo(documents).isDir() ? documents : QDir::homePath();
    environment.helpFile = helpDocument(QDir(environment.programDirectory));
    environment.browsers = { QStringLiteral("xdg-open"), QStringLiteral("x-www-browser") };
    environment.onlineHelpAddress = QStringLiteral("https://tripledger.example.org/tripledger.htm");
    return environment;
}
