#include "SavedDates.h"

#include "HistoryRecords.h"
#include "SameBytes.h"
#include "SavedDateForms.h"

#include <QSet>

#include <algorithm>

using namespace SavedDateForms;

namespace {

void writeDigits(char* out, int value, int count)
{
    for (int i = count - 1; i >= 0; --i, value /= 10)
        out[i] = static_cast<char>('0' + value % 10);
}

} // namespace

SavedDates::SavedDates(const QLocale& locale)
    : m_locale(locale)
{
    if (std::optional<Format> own = compile(HistoryRecords::dateFormat(m_locale), m_locale))
        m_formats.push_back(std::move(*own));
}

SavedDates::~SavedDates() = default;

const std::vector<int>& SavedDates::candidates(QByteArrayView date)
{
    constexpr qsizetype MaxShape = 64;
    char shape[MaxShape];
    if (date.size() > MaxShape) {
        m_unshaped.clear();
        m_last = nullptr;
    } else {
        for (qsizetype i = 0; i < date.size(); ++i)
            shape[i] = date[i] >= '0' && date[i] <= '9' ? '0' : date[i];
        // The dates of a history mostly share one shape: the last one is tried first.
        if (m_last && sameBytes(m_lastShape, QByteArrayView(shape, date.size())))
            return *m_last;
        m_lastShape = QByteArray(shape, date.size());
        if ((m_last = m_byShape.find(m_lastShape)))
            return *m_last;
    }
    int value[FieldCount];
    std::vector<int> fitting;
    if (!m_formats.empty() && read(m_formats.front(), date, value, false)) {
        fitting.push_back(0);
    } else {
        if (!m_allFormats) {
            m_allFormats = true;
            // Every locale's form once, the user's language's first.
            QList<QLocale> locales
                = QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
            std::stable_partition(locales.begin(), locales.end(),
                [this](const QLocale& other) { return other.language() == m_locale.language(); });
            QSet<QString> seen { m_locale.name() };
            for (const QLocale& other : locales) {
                const QString format = HistoryRecords::dateFormat(other);
                const bool named = format.contains(QStringLiteral("MMM")) || format.contains(QStringLiteral("ddd"));
                const QString key = format + u'|' + other.amText() + u'|' + other.pmText() + u'|'
                    + (named ? other.name() : QString());
                if (seen.contains(key))
                    continue;
                seen.insert(key);
                if (std::optional<Format> compiled = compile(format, other))
                    m_formats.push_back(std::move(*compiled));
            }
        }
        for (int i = 1; i < static_cast<int>(m_formats.size()); ++i) {
            if (read(m_formats[static_cast<size_t>(i)], date, value, false))
                fitting.push_back(i);
        }
    }
    if (date.size() > MaxShape) {
        m_unshaped = std::move(fitting);
        return m_unshaped;
    }
    m_byShape.insert(m_lastShape, std::move(fitting));
    m_last = m_byShape.find(m_lastShape);
    return *m_last;
}

bool SavedDates::toIso(QByteArrayView date, char (&iso)[19])
{
    int value[FieldCount];
    for (const int format : candidates(date)) {
        if (!read(m_formats[static_cast<size_t>(format)], date, value, true))
            continue;
        writeDigits(iso, value[Year], 4);
        iso[4] = '-';
        writeDigits(iso + 5, value[Month], 2);
        iso[7] = '-';
        writeDigits(iso + 8, value[Day], 2);
        iso[10] = 'T';
        writeDigits(iso + 11, value[Hour], 2);
        iso[13] = ':';
        writeDigits(iso + 14, value[Minute], 2);
        iso[16] = ':';
        writeDigits(iso + 17, value[Second], 2);
        return true;
    }
    return false;
}
