// File > Print Report...: each vehicle's totals, chart and calculations, previewed, printed or saved as PDF.

#include "MainWindow.h"
#include "ReportDialog.h"

#include "calc/AppError.h"
#include "history/VehicleReport.h"
#include "views/ReportPainter.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>

void frmTripLedger::mnuFilePrint_Click()
{
    QStringList vehicles;
    for (int row = 0; row < cboVehicleList->count(); ++row)
        vehicles << cboVehicleList->itemData(row, Qt::EditRole).toString();
    // The vehicle chosen on the Graph page first.
    ReportDialog dialog(vehicles, cboVehicleList->currentData(Qt::EditRole).toString(), this);
    const int action = dialog.exec();
    if (action == QDialog::Rejected)
        return;
    trapped(
        QStringLiteral("Report Data Error"),
        [&] {
            setStatus(QStringLiteral("Preparing report."));
            const std::vector<VehicleReport::Vehicle> report
                = VehicleReport::read(historyFilePath(), dialog.vehicle(), m_environment.locale);
            if (report.empty())
                throw AppError(
                    QStringLiteral("Report Check Failure"), QStringLiteral("There is no saved calculation to report."));
            const QPageSize paper = ReportPainter::pageSize(m_environment.locale);
            const auto paint = [&](QPagedPaintDevice& device) {
                return ReportPainter::paint(device, report, m_environment.locale, font());
            };
            if (action == ReportDialog::SavePdf) {
                savePdf(paper, paint);
                return;
            }
            QPrinter printer(QPrinter::HighResolution);
            printer.setPageSize(paper);
            if (action == ReportDialog::Preview) {
                QPrintPreviewDialog preview(&printer, this);
                preview.setObjectName(QStringLiteral("dlgReportPreview"));
                connect(&preview, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter* shown) { paint(*shown); });
                preview.exec();
                setStatus(QStringLiteral("Report shown."));
                return;
            }
            QPrintDialog printing(&printer, this);
            printing.setObjectName(QStringLiteral("dlgReportPrint"));
            if (printing.exec() != QDialog::Accepted)
                return;
            if (!paint(printer))
                throw AppError(QStringLiteral("Printer"), QStringLiteral("The report could not be printed."));
            setStatus(QStringLiteral("Report printed."));
        },
        QStringLiteral("Report had an error."));
}

void frmTripLedger::savePdf(const QPageSize& paper, const std::function<bool(QPagedPaintDevice&)>& paint)
{
    QFileDialog dialog(this, QStringLiteral("Save Report as PDF"));
    dialog.setObjectName(QStringLiteral("dlgReportPdf"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("PDF (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setDirectory(m_environment.documentsDirectory);
    dialog.selectFile(QStringLiteral("TripLedger-Report-") + m_environment.now().date().toString(Qt::ISODate)
        + QStringLiteral(".pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    // Written whole or not at all, as the export is.
    QSaveFile file(dialog.selectedFiles().constFirst());
    const QString path = QDir::toNativeSeparators(QFileInfo(file.fileName()).absoluteFilePath());
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(path, file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setPageSize(paper);
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setTitle(QStringLiteral("Trip Ledger report"));
        writer.setCreator(QStringLiteral("Trip Ledger"));
        if (!paint(writer))
            throw AppError(path, QStringLiteral("The report could not be drawn."));
    }
    if (!file.commit())
        throw AppError(path, file.errorString());
    setStatus(QStringLiteral("Report saved as ") + path + QLatin1Char('.'));
}
