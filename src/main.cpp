#include "TripLedgerVersion.h"

#include "shell/MainWindow.h"

#include <QApplication>

#include <csignal>

int main(int argc, char* argv[])
{
    // A save beyond the file-size limit (RLIMIT_FSIZE) then fails with EFBIG and is reported and cut back like
    // any other; by default SIGXFSZ would end the program and leave a torn line.
    std::signal(SIGXFSZ, SIG_IGN);
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
