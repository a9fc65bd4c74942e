// Saves count records tagged with tag into a history file, as fast as it can: one of two copies of the
// program saving into the same file at once.
#include "history/HistoryFile.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4)
        return 2;
    const int count = args[3].toInt();
    for (int i = 0; i < count; ++i) {
        HistoryFile::appendLine(args[1],
            QStringLiteral("VehicleReg:%1;Date:21/03/2005 14:35:12;Mileage:400;Cost:45;"
                           "MPG: 40.00;Commute Distance:10;Price Per Unit:90;Unit:Litre;#%2")
                .arg(args[2])
                .arg(i));
    }
    return 0;
}
