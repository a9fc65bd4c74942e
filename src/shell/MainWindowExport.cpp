// File > Export History...: the history as a CSV file.

#include "MainWindow.h"

#include "history/CsvExport.h"

#include <QDir>
#include <QFileDialog>
#include <QProgressDialog>
#include <QSettings>

namespace {

const QString CommaFilter = QStringLiteral("CSV, comma separated (*.csv)");
const QString SemicolonFilter = QStringLiteral("CSV, semicolon separated (*.csv)");
const QString FilterKey = QStringLiteral("export/filter");

// "1 record", "2 records", the count in the regional settings' digits.
QString counted(qint64 count, const QLocale& locale, const QString& one, const QString& many)
{
    return locale.toString(count) + u' ' + (count == 1 ? one : many);
}

} // namespace

void frmTripLedger::mnuFileExport_Click()
{
    QSettings settings;
    QFileDialog dialog(this, QStringLiteral("Export History"));
    dialog.setObjectName(QStringLiteral("dlgExport"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({ CommaFilter, SemicolonFilter });
    dialog.selectNameFilter(settings.value(FilterKey, CommaFilter).toString());
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setDirectory(m_environment.documentsDirectory);
    dialog.selectFile(
        QStringLiteral("TripLedger-") + m_environment.now().date().toString(Qt::ISODate) + QStringLiteral(".csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    const bool semicolon = dialog.selectedNameFilter() == SemicolonFilter;
    settings.setValue(FilterKey, semicolon ? SemicolonFilter : CommaFilter);

    trapped(
        QStringLiteral("Export Data Error"),
        [&] {
            setStatus(QStringLiteral("Exporting history."));
            // Shown only once the export looks like taking more than half a second.
            QProgressDialog progress(
                QStringLiteral("Exporting the history to ") + path, QStringLiteral("Cancel"), 0, 1000, this);
            progress.setObjectName(QStringLiteral("dlgExportProgress"));
            progress.setWindowTitle(QStringLiteral("Export History"));
            progress.setWindowModality(Qt::WindowModal);
            progress.setMinimumDuration(500);
            progress.setValue(0);
            const std::optional<CsvExport::Counts> counts = CsvExport::write(historyFilePath(), path,
                semicolon ? ';' : ',', m_environment.locale, [&progress](qint64 done, qint64 total) {
                    progress.setValue(static_cast<int>(total > 0 ? std::min<qint64>(done * 1000 / total, 999) : 0));
                    return !progress.wasCanceled();
                });
            if (!counts) {
                setStatus(QStringLiteral("Export cancelled: no file written."));
                return;
            }
            const QLocale& locale = m_environment.locale;
            setStatus(QStringLiteral("History exported to ") + path + QStringLiteral(": ")
                + counted(counts->rows, locale, QStringLiteral("record"), QStringLiteral("records"))
                + QStringLiteral(" written, ")
                + counted(counts->leftOut, locale, QStringLiteral("damaged line"), QStringLiteral("damaged lines"))
                + QStringLiteral(" left out."));
        },
        QStringLiteral("Export history had an error."));
}
