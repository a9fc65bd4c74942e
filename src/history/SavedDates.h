#pragma once

#include "ByteKeyed.h"

#include <QByteArray>
#include <QLocale>

#include <vector>

namespace SavedDateForms {
struct Format;
}

// Reads the "Date" texts of a history back into dates. Each was written in the form the regional settings had at
// that save (HistoryRecords::dateFormat): the user's form is tried first, then, should it not fit, that of every
// other locale, the user's language's first. Two-digit years are 2000 to 2099.
class SavedDates
{
public:
    explicit SavedDates(const QLocale& locale);
    ~SavedDates();
    SavedDates(const SavedDates&) = delete;
    SavedDates& operator=(const SavedDates&) = delete;

    // Writes the date as ISO 8601, "2005-03-21T14:35:12", to iso; false when no locale's form reads it.
    bool toIso(QByteArrayView date, char (&iso)[19]);

private:
    // The formats whose shape fits a date of this shape, its digits written as '0'.
    const std::vector<int>& candidates(QByteArrayView date);

    QLocale m_locale;
    std::vector<SavedDateForms::Format> m_formats; // the user's first; the others only once a date needs them
    bool m_allFormats = false;
    ByteKeyed<std::vector<int>> m_byShape;
    const std::vector<int>* m_last = nullptr; // the last shape's candidates, in m_byShape
    QByteArray m_lastShape;
    std::vector<int> m_unshaped; // for a date too long to be keyed by its shape
};
