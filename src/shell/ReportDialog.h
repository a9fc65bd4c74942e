#pragma once

#include <QDialog>

class QComboBox;

// Asks which vehicle to report on, or every vehicle, and how: the dialog ends with the Action chosen, or with
// QDialog::Rejected when closed.
class ReportDialog : public QDialog
{
    Q_OBJECT

public:
    enum Action { Preview = 1, Print, SavePdf };

    // vehicles: the registrations as the vehicle boxes list them; chosen: the one to start on, or none for all.
    ReportDialog(const QStringList& vehicles, const QString& chosen, QWidget* parent);

    // The registration chosen, or empty text for every vehicle.
    QString vehicle() const;

private:
    QComboBox* m_vehicles;
};
