// Saves count records tagged with tag into a history file, as fast as it can: one of two copies of the
// program saving into the same file at once. With a fourth argument the process may not make any file larger
// than that many bytes, so that a write stops part-way through a line. Exits 1, printing the error, when a save
// fails.
#include "calc/AppError.h"
#include "history/HistoryFile.h"

#include <QCoreApplication>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4 && args.size() != 5)
        return 2;
    if (args.size() == 5) {
        std::signal(SIGXFSZ, SIG_IGN); // a write beyond the limit then fails instead of ending the process
        const rlimit limit { args[4].toULongLong(), args[4].toULongLong() };
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    const int count = args[3].toInt();
    try {
        for (int i = 0; i < count; ++i) {
            HistoryFile::appendLine(args[1],
                QStringLiteral("VehicleReg:%1;Date:21/03/2005 14:35:12;Mileage:400;Cost:45;"
                               "MPG: 40.00;Commute Distance:10;Price Per Unit:90;Unit:Litre;#%2")
                    .arg(args[2])
                    .arg(i));
        }
    } catch (const AppError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
