#pragma once

#include "history/VehicleReport.h"

#include <QFont>
#include <QLocale>
#include <QPageSize>

#include <vector>

class QPagedPaintDevice;

// The printed report, on paper or in a PDF: for each vehicle, from a page of its own, its registration, dates and
// totals, its MPG chart as the Graph page draws it, and a table of its calculations, which runs on over as many
// pages as it needs with its header on each. Black on white whatever the screen's colours; the text in the font
// given (the desktop's), numbers as the window shows them.
namespace ReportPainter {

// Paints the vehicles' report on device, whose first page is ready; false when the device cannot be painted on.
bool paint(QPagedPaintDevice& device, const std::vector<VehicleReport::Vehicle>& vehicles, const QLocale& locale,
    const QFont& font);

// The paper the regional settings use: Letter where they measure in US units or in the Americas' Letter
// countries, else A4.
QPageSize pageSize(const QLocale& locale);

} // namespace ReportPainter
