#include "HistoryRecords.h"

#include "calc/AppError.h"

namespace HistoryRecords {

namespace {

// The long time format without its time-zone token ("t" outside quotes) and the blanks beside it.
QString timeFormatWithoutZone(const QString& format)
{
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        result += c;
    }
    return result.trimmed();
}

} // namespace

QString dateText(const QDateTime& moment, const QLocale& locale)
{
    return locale.toString(moment.date(), QLocale::ShortFormat) + u' '
        + locale.toString(moment.time(), timeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat)));
}

QString dateFormat(const QLocale& locale)
{
    return locale.dateFormat(QLocale::ShortFormat) + u' '
        + timeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat));
}

void checkRegistration(const QString& registration)
{
    const QString source = QStringLiteral("Vehicle Registration Check Failure");
    if (registration.trimmed().isEmpty())
        throw AppError(source, QStringLiteral("You must enter a vehicle registration to save the details."));
    if (registration.contains(u';'))
        throw AppError(source, QStringLiteral("A vehicle registration cannot contain a semicolon."));
    if (registration.contains(u'\n') || registration.contains(u'\r'))
        throw AppError(source, QStringLiteral("A vehicle registration cannot contain a line break."));
}

} // namespace HistoryRecords
