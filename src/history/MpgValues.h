#pragma once

#include "ByteKeyed.h"
#include "HistoryFile.h"
#include "calc/Numbers.h"

#include <QLocale>

#include <optional>

// The MPG values of a history's lines, each read with Numbers::parseStored. MPG texts repeat: each distinct one
// is converted once, up to MaxRemembered of them.
class MpgValues
{
public:
    explicit MpgValues(const QLocale& locale)
        : m_locale(locale)
    {
    }

    // text: the MPG field's value, still in the file's bytes.
    std::optional<double> read(QByteArrayView text)
    {
        if (const std::optional<double>* known = m_values.find(text))
            return *known;
        const std::optional<double> value = Numbers::parseStored(HistoryFile::decode(text), m_locale);
        if (m_values.size() < MaxRemembered)
            m_values.insert(text, value);
        return value;
    }

private:
    static constexpr qsizetype MaxRemembered = 1 << 16;
    QLocale m_locale;
    ByteKeyed<std::optional<double>> m_values;
};
