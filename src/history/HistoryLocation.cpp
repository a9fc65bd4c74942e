#include "HistoryLocation.h"

#include "HistoryFile.h"

#include "calc/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace HistoryLocation {

QString path(const QString& programDir, const QString& dataDir)
{
    QString beside = HistoryFile::path(programDir);
    const QFileInfo found(beside);
    // exists() follows links: a link whose target is gone is still the history's place.
    if (found.exists() || found.isSymLink())
        return beside;
    return HistoryFile::path(QDir(dataDir).filePath(QStringLiteral("TripLedger")));
}

QStringList makeFolders(const QString& filePath)
{
    QStringList missing; // outermost first
    for (QString folder = QFileInfo(filePath).absolutePath(); !QFileInfo::exists(folder);
         folder = QFileInfo(folder).absolutePath())
        missing.prepend(folder);
    QStringList made;
    for (const QString& folder : missing) {
        if (::mkdir(QFile::encodeName(folder).constData(), 0700) == 0)
            made.append(folder);
        else if (errno != EEXIST) // another copy of the program may have made it meanwhile
            throw AppError(QDir::toNativeSeparators(QFileInfo(filePath).absoluteFilePath()),
                QString::fromLocal8Bit(std::strerror(errno)));
    }
    return made;
}

QString dataFolder(const QString& xdgDataHome, const QString& home)
{
    if (xdgDataHome.startsWith(u'/'))
        return xdgDataHome;
    return QDir(home).filePath(QStringLiteral(".local/share"));
}

} // namespace HistoryLocation
