#pragma once

#include <QString>
#include <QStringList>

// Where the history file lies. Once installed, the program's folder is not the user's to write, so the history
// lives in the user's data folder; a TripLedger.txt beside the program (a folder of one's own, a history kept
// from earlier versions) still comes first.
namespace HistoryLocation {

// TripLedger.txt in programDir when anything of that name lies there (a file, a folder, a link, even a broken
// one), else TripLedger/TripLedger.txt in dataDir, the user's data folder (~/.local/share). Asked afresh at
// every read and every save, so that a file put beside the program counts from the next one on.
QString path(const QString& programDir, const QString& dataDir);

// Makes the folders that filePath lies in, those missing, each private to the user (mode 0700: the history is
// the user's own data), and returns those it made, outermost first. Throws AppError, with filePath in full as
// its source, when one cannot be made.
QStringList makeFolders(const QString& filePath);

// The user's data folder: XDG_DATA_HOME when it is an absolute path, else home/.local/share (a relative value
// is ignored, as the XDG Base Directory standard asks).
QString dataFolder(const QString& xdgDataHome, const QString& home);

} // namespace HistoryLocation
