#pragma once

#include "ByteKeyed.h"
#include "SavedDates.h"

#include <QByteArray>
#include <QLocale>

#include <optional>
#include <string>

// The CSV export's rows (CsvExport), one per record, into a buffer of their own, starting with the byte-order mark
// and the header row. The cells of texts that recur (registrations, units, numbers) are made once, and a column's
// cell is kept from one row to the next.
class CsvRows
{
public:
    CsvRows(char separator, const QLocale& locale);

    // Appends the line's row; false, appending nothing, when it is no record.
    bool add(QByteArrayView line);

    QByteArrayView written() const { return QByteArrayView(m_buffer.constData(), m_used); }
    void clearWritten() { m_used = 0; }

private:
    static constexpr int FieldCount = 8;

    void makeRoom(qsizetype bytes);
    void put(const char* bytes, qsizetype size);
    // The cell of a field's value in a column other than the date's.
    const std::string& cell(int column, QByteArrayView value);
    QByteArray number(QByteArrayView value) const;
    QByteArray text(const QString& value) const;

    struct Last
    {
        bool made = false;
        std::string value; // the field's bytes
        std::string cell;
    };

    char m_separator;
    QLocale m_locale;
    SavedDates m_dates;
    ByteKeyed<std::string> m_numbers;
    ByteKeyed<std::string> m_texts;
    Last m_last[FieldCount];
    QByteArray m_buffer;
    qsizetype m_used = 0;
};
