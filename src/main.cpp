#include "TripLedgerVersion.h"

#include "shell/MainWindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Trip Ledger"));
    // The desktop entry's name, so that docks and Wayland sessions show the entry's name and icon.
    QApplication::setDesktopFileName(QStringLiteral(TRIPLEDGER_DESKTOP_ID));

    frmTripLedger window;
    if (!window.Form_Load())
        return 1;
    window.showCentred();
    return QApplication::exec();
}
