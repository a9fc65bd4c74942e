#include "Browser.h"

#include <QProcess>

bool LaunchBrowser(const QString& program, const QString& address)
{
    return QProcess::startDetached(program, { address });
}
