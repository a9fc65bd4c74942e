#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// The rules for the values of a HistoryRecord that the window fills in.
namespace HistoryRecords {

// The date field's text for a moment: the locale's short date, one blank and its long time without the
// time-zone name.
QString dateText(const QDateTime& moment, const QLocale& locale);
// The format dateText writes in (QLocale's format tokens).
QString dateFormat(const QLocale& locale);

// Throws AppError "Vehicle Registration Check Failure" for a registration the history cannot hold: empty or
// only blanks, or holding a ";" or a line break, which would cut the field or the line short.
void checkRegistration(const QString& registration);

} // namespace HistoryRecords
