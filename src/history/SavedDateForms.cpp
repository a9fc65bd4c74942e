#include "SavedDateForms.h"

#include "SameBytes.h"

#include <QDate>
#include <QSet>
#include <QStringEncoder>

#include <algorithm>

namespace SavedDateForms {

namespace {

std::vector<Name>& namesOf(Format& format, Kind kind)
{
    return format.names[static_cast<int>(kind) - static_cast<int>(Kind::MonthName)];
}

} // namespace

std::optional<Format> compile(const QString& text, const QLocale& locale)
{
    QStringEncoder encode(QStringConverter::System);
    Format format;
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

bool read(const Format& format, QByteArrayView text, int (&value)[FieldCount], bool check)
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

} // namespace SavedDateForms
