#include "GraphData.h"

#include "HistoryFile.h"
#include "MpgValues.h"
#include "RecordField.h"
#include "SameBytes.h"

#include <cstring>

namespace GraphData {

namespace {

constexpr int DigitBits = 47; // 14 decimal digits
constexpr int MaxDigits = 14;
constexpr quint64 WholeBit = Q_UINT64_C(1) << 63;
constexpr qsizetype MaxStyles = 1 << 16;
constexpr qsizetype MaxFormLength = 64;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

void Points::append(QByteArrayView date, double mpg)
{
    char form[MaxFormLength];
    quint64 digits = 0;
    int digitCount = 0;
    bool packable = date.size() <= MaxFormLength;
    for (qsizetype i = 0; packable && i < date.size(); ++i) {
        const char c = date[i];
        if (isDigit(c)) {
            packable = ++digitCount <= MaxDigits;
            digits = digits * 10 + static_cast<quint64>(c - '0');
            form[i] = '0';
        } else {
            form[i] = c;
        }
    }
    if (packable) {
        const QByteArrayView formBytes(form, date.size());
        qint32 formNumber;
        // The dates of a history mostly share one form: the last one is tried first.
        if (m_lastForm >= 0 && sameBytes(m_forms[static_cast<size_t>(m_lastForm)], formBytes)) {
            formNumber = m_lastForm;
        } else if (const qint32* known = m_formIndex.find(formBytes)) {
            formNumber = *known;
        } else {
            formNumber = static_cast<qint32>(m_forms.size());
            m_forms.emplace_back(formBytes.toByteArray());
            m_formIndex.insert(formBytes, formNumber);
        }
        m_lastForm = formNumber;
        quint64 mpgBits = 0;
        std::memcpy(&mpgBits, &mpg, sizeof(double));
        // Most points meet a style seen a few points before: a small table of recent ones is tried first.
        StyleCacheEntry& cached = m_styleCache[static_cast<size_t>((mpgBits * Q_UINT64_C(0x9E3779B97F4A7C15)) >> 54)
            ^ static_cast<size_t>(formNumber & 0x3ff)];
        qint32 style = -1;
        if (cached.style >= 0 && cached.mpgBits == mpgBits && cached.form == formNumber) {
            style = cached.style;
        } else {
            char styleKey[sizeof(qint32) + sizeof(double)];
            std::memcpy(styleKey, &formNumber, sizeof(qint32));
            std::memcpy(styleKey + sizeof(qint32), &mpgBits, sizeof(double));
            const QByteArrayView styleBytes(styleKey, sizeof(styleKey));
            if (const qint32* known = m_styleIndex.find(styleBytes)) {
                style = *known;
            } else if (static_cast<qsizetype>(m_styles.size()) < MaxStyles) {
                style = static_cast<qint32>(m_styles.size());
                m_styles.push_back({ formNumber, mpg });
                m_styleIndex.insert(styleBytes, style);
            }
            if (style >= 0)
                cached = { mpgBits, formNumber, style };
        }
        if (style >= 0) {
            m_words.push_back(static_cast<quint64>(style) << DigitBits | digits);
            return;
        }
    }
    m_words.push_back(WholeBit | static_cast<quint64>(m_wholes.size()));
    m_wholes.push_back({ m_wholeDates.size(), date.size(), mpg });
    m_wholeDates.append(date);
}

double Points::mpg(qsizetype i) const
{
    const quint64 word = m_words[i];
    if (word & WholeBit)
        return m_wholes[static_cast<size_t>(word & ~WholeBit)].mpg;
    return m_styles[static_cast<size_t>(word >> DigitBits)].mpg;
}

QString Points::date(qsizetype i) const
{
    const quint64 word = m_words[i];
    if (word & WholeBit) {
        const Whole& whole = m_wholes[static_cast<size_t>(word & ~WholeBit)];
        return HistoryFile::decode(QByteArrayView(m_wholeDates).sliced(whole.offset, whole.length));
    }
    QByteArray bytes = m_forms[static_cast<size_t>(m_styles[static_cast<size_t>(word >> DigitBits)].form)];
    quint64 digits = word & ((Q_UINT64_C(1) << DigitBits) - 1);
    for (qsizetype at = bytes.size() - 1; at >= 0; --at) {
        if (bytes[at] == '0') {
            bytes[at] = static_cast<char>('0' + digits % 10);
            digits /= 10;
        }
    }
    return HistoryFile::decode(bytes);
}

Points points(const QString& historyFilePath, const QString& chosenRegistration, const QLocale& locale)
{
    const QString chosen = chosenRegistration.toUpper().trimmed();
    ByteKeyed<bool> matches; // whether a registration, as written in the file, is the chosen vehicle
    MpgValues mpgs(locale);
    Points result;
    // The registration is looked at first: the other fields of another vehicle's line are never sought.
    HistoryFile::forEachLine(historyFilePath, [&](QByteArrayView line) {
        static const QByteArrayView regName[] = { "VehicleReg:" };
        std::optional<QByteArrayView> regField[1];
        RecordField::findEach(line, regName, regField);
        const std::optional<QByteArrayView>& reg = regField[0];
        if (!reg)
            return;
        bool match;
        if (const bool* known = matches.find(*reg)) {
            match = *known;
        } else {
            match = HistoryFile::decode(*reg).toUpper().trimmed() == chosen;
            matches.insert(*reg, match);
        }
        if (!match)
            return;
        static const QByteArrayView names[] = { "MPG:", "Date:" };
        std::optional<QByteArrayView> fields[2];
        RecordField::findEach(line, names, fields);
        const auto& [mpg, date] = fields;
        if (!mpg || !date)
            return;
        if (const std::optional<double> value = mpgs.read(*mpg))
            result.append(*date, *value);
    });
    return result;
}

} // namespace GraphData
