#include "SavedDates.h"

#include "HistoryRecords.h"
#include "SameBytes.h"

#include <QDate>
#include <QSet>
#include <QStringEncoder>

#include <algorithm>

namespace {

enum class Kind { Literal, Day, Month, Year2, Year4, Hour24, Hour12, Minute, Second, Millis, MonthName, DayName, AmPm };

struct Token
{
    Kind kind;
    int minDigits = 0;
    int maxDigits = 0;
    QByteArray literal; // in the file's encoding
};

struct Name
{
    QByteArray bytes;
    int value;
};

// What a date's text gave: year, month, day, hour, minute, second, and 1 after a PM text (0 after AM).
enum Field { Year, Month, Day, Hour, Minute, Second, Pm, FieldCount };

} // namespace

struct SavedDates::Format
{
    std::vector<Token> tokens;
    std::vector<Name> names[3]; // by Kind::MonthName, DayName, AmPm
    bool twelveHour = false;
};

namespace {

std::vector<Name>& namesOf(SavedDates::Format& format, Kind kind)
{
    return format.names[static_cast<int>(kind) - static_cast<int>(Kind::MonthName)];
}

// QLocale's format tokens; a form without a year, month, day, hour and minute reads no date.
std::optional<SavedDates::Format> compile(const QString& text, const QLocale& locale)
{
    QStringEncoder encode(QStringConverter::System);
    SavedDates::Format format;
    QString literal;
    const auto token = [&](Kind kind, int minDigits = 0, int maxDigits = 0) {
        if (!literal.isEmpty())
            format.tokens.push_back({ Kind::Literal, 0, 0, encode(literal) });
        literal.clear();
        format.tokens.push_back({ kind, minDigits, maxDigits, {} });
    };
    QSet<char> fields;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        qsizetype run = 1;
        while (i + run < text.size() && text[i + run] == c)
            ++run;
        const char letter = c.toLatin1();
        const int n = static_cast<int>(run);
        if (c == u'\'') {
            const qsizetype close = text.indexOf(u'\'', i + 1);
            literal += run == 2 ? QStringLiteral("'") : text.mid(i + 1, close < 0 ? -1 : close - i - 1);
            i = run == 2 ? i + 2 : (close < 0 ? text.size() : close + 1);
            continue;
        }
        if ((letter == 'A' || letter == 'a') && i + 1 < text.size() && text[i + 1].toLower() == u'p')
            run = 2;
        if (letter == 'd')
            n >= 3 ? token(Kind::DayName) : token(Kind::Day, n, 2);
        else if (letter == 'M')
            n >= 3 ? token(Kind::MonthName) : token(Kind::Month, n, 2);
        else if (letter == 'y' && (n == 2 || n == 4))
            token(n == 2 ? Kind::Year2 : Kind::Year4, n, n);
        else if (letter == 'H' || letter == 'h')
            token(letter == 'H' ? Kind::Hour24 : Kind::Hour12, std::min(n, 2), 2);
        else if (letter == 'm' || letter == 's')
            token(letter == 'm' ? Kind::Minute : Kind::Second, std::min(n, 2), 2);
        else if (letter == 'z')
            token(Kind::Millis, n == 3 ? 3 : 1, 3);
        else if (letter == 'A' || letter == 'a')
            token(Kind::AmPm);
        else if (letter != 't')
            literal += text.mid(i, run);
        if (letter != 0)
            fields.insert(letter == 'H' ? 'h' : letter);
        i += run;
    }
    if (!literal.isEmpty())
        format.tokens.push_back({ Kind::Literal, 0, 0, encode(literal) });
    for (const char needed : { 'y', 'M', 'd', 'h', 'm' }) {
        if (!fields.contains(needed))
            return std::nullopt;
    }
    format.twelveHour = text.contains(u'h');
    for (int month = 1; month <= 12; ++month) {
        for (const QLocale::FormatType type : { QLocale::ShortFormat, QLocale::LongFormat }) {
            namesOf(format, Kind::MonthName).push_back({ encode(locale.monthName(month, type)), month });
            namesOf(format, Kind::MonthName).push_back({ encode(locale.standaloneMonthName(month, type)), month });
            if (month <= 7)
                namesOf(format, Kind::DayName).push_back({ encode(locale.dayName(month, type)), 0 });
        }
    }
    for (const QString& am : { locale.amText(), locale.amText().toUpper(), locale.amText().toLower() })
        namesOf(format, Kind::AmPm).push_back({ encode(am), 0 });
    for (const QString& pm : { locale.pmText(), locale.pmText().toUpper(), locale.pmText().toLower() })
        namesOf(format, Kind::AmPm).push_back({ encode(pm), 1 });
    return format;
}

// Reads text whole in the format; with check, only a date and time that exist.
bool read(const SavedDates::Format& format, QByteArrayView text, int (&value)[FieldCount], bool check)
{
    std::fill(std::begin(value), std::end(value), -1);
    qsizetype at = 0;
    for (const Token& token : format.tokens) {
        if (token.kind == Kind::Literal) {
            if (text.size() - at < token.literal.size()
                || !sameBytes(text.data() + at, token.literal.constData(), token.literal.size()))
                return false;
            at += token.literal.size();
        } else if (token.kind >= Kind::MonthName) {
            const Name* found = nullptr;
            for (const Name& name : format.names[static_cast<int>(token.kind) - static_cast<int>(Kind::MonthName)]) {
                if (!name.bytes.isEmpty() && text.sliced(at).startsWith(name.bytes)
                    && (!found || name.bytes.size() > found->bytes.size()))
                    found = &name;
            }
            if (!found)
                return false;
            at += found->bytes.size();
            if (token.kind != Kind::DayName)
                value[token.kind == Kind::AmPm ? Pm : Month] = found->value;
        } else {
            int number = 0;
            int digits = 0;
            for (; digits < token.maxDigits && at < text.size() && text[at] >= '0' && text[at] <= '9'; ++digits)
                number = number * 10 + (text[at++] - '0');
            if (digits < token.minDigits || digits == 0)
                return false;
            static constexpr int fieldOf[] = { -1, Day, Month, Year, Year, Hour, Hour, Minute, Second, -1 };
            const int field = fieldOf[static_cast<int>(token.kind)];
            if (field >= 0)
                value[field] = token.kind == Kind::Year2 ? 2000 + number : number;
        }
    }
    if (at != text.size())
        return false;
    if (!check)
        return true;
    if (format.twelveHour && value[Pm] >= 0) {
        if (value[Hour] < 1 || value[Hour] > 12)
            return false;
        value[Hour] = value[Hour] % 12 + 12 * value[Pm];
    }
    value[Second] = std::max(value[Second], 0);
    return QDate::isValid(value[Year], value[Month], value[Day]) && value[Hour] < 24 && value[Minute] < 60
        && value[Second] < 60;
}

void writeDigits(char* out, int value, int count)
{
    for (int i = count - 1; i >= 0; --i, value /= 10)
        out[i] = static_cast<char>('0' + value % 10);
}

} // namespace

SavedDates::SavedDates(QLocale locale)
    : m_locale(std::move(locale))
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
