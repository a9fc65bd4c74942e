// File > Print Report...: each vehicle's totals, chart and calculations, previewed, printed or saved as PDF.

#include "MainWindow.h"

void frmTripLedger::mnuFilePrint_Click() { }
