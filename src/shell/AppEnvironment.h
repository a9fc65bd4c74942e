#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <functional>

// What the program takes from the machine it runs on. The program uses system(); tests hand the window their
// own locale, clock, folders and programs.
struct AppEnvironment
{
    QLocale locale;
    // The user's language in English, as "English (United States)"; throws AppError when it cannot be told.
    std::function<QString()> languageName;
    std::function<QDateTime()> now;
    QString programDirectory; // the program's folder: a TripLedger.txt there is the history
    QString dataDirectory; // the user's data folder, where the history lies otherwise (HistoryLocation)
    QString documentsDirectory; // where an export is offered first
    QString helpFile; // the help document's full path
    QStringList browsers; // programs that open a web address, tried in order
    QString onlineHelpAddress;

    static AppEnvironment system();
};
