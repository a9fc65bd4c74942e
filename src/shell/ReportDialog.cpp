#include "ReportDialog.h"

#include "views/DisplayText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

ReportDialog::ReportDialog(const QStringList& vehicles, const QString& chosen, QWidget* parent)
    : QDialog(parent)
    , m_vehicles(new QComboBox(this))
{
    setObjectName(QStringLiteral("dlgReport"));
    setWindowTitle(QStringLiteral("Print Report"));
    m_vehicles->setObjectName(QStringLiteral("cboReportVehicle"));
    m_vehicles->addItem(QStringLiteral("All vehicles"), QString());
    for (const QString& vehicle : vehicles)
        m_vehicles->addItem(DisplayText::oneLine(vehicle), vehicle); // shown on one line, kept whole
    m_vehicles->setCurrentIndex(std::max(0, m_vehicles->findData(chosen)));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    const auto button = [&](const char* name, const QString& caption, Action action) {
        QPushButton* added = buttons->addButton(caption, QDialogButtonBox::AcceptRole);
        added->setObjectName(QLatin1String(name));
        connect(added, &QPushButton::clicked, this, [this, action] { done(action); });
        return added;
    };
    button("cmdPreview", QStringLiteral("P&review\u2026"), Preview)->setDefault(true);
    button("cmdPrint", QStringLiteral("&Print\u2026"), Print);
    button("cmdSavePdf", QStringLiteral("Save as P&DF\u2026"), SavePdf);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QFormLayout(this);
    auto* label = new QLabel(QStringLiteral("&Vehicle:"), this);
    label->setBuddy(m_vehicles);
    layout->addRow(label, m_vehicles);
    layout->addRow(buttons);
}

QString ReportDialog::vehicle() const
{
    return m_vehicles->currentData().toString();
}
