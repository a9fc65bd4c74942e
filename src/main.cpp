#include "shell/MainWindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Trip Ledger"));

    frmTripLedger window;
    if (!window.Form_Load())
        return 1;
    window.showCentred();
    return QApplication::exec();
}
