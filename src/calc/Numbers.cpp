#include "Numbers.h"

#include <cmath>

namespace Numbers {

namespace {

QLocale withoutGrouping(QLocale locale)
{
    // Setting the options makes a copy of the locale's data: a locale without grouping already is kept.
    if (!locale.numberOptions().testFlag(QLocale::OmitGroupSeparator))
        locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale;
}

std::optional<double> convert(QStringView text, const QLocale& locale)
{
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Beyond these magnitudes the 15-digit form of a value may round out of the range of a double.
bool nearRangeEnd(double value)
{
    const double magnitude = std::fabs(value);
    return magnitude > 1e308 || (magnitude != 0 && magnitude < 1e-307);
}

// The shape formatTwoDecimals writes under any locale: blanks, a minus sign (hyphen-minus or U+2212, with or
// without the direction marks some locales put beside it), decimal digits of any script and at most one
// decimal separator of any locale ("." "," or U+066B). Nothing else: no grouping, no exponent.
std::optional<double> convertWritten(const QString& text)
{
    QByteArray plain;
    qsizetype digits = 0;
    bool separator = false;
    for (const char32_t c : text.trimmed().toUcs4()) {
        if (c == U'\u200e' || c == U'\u200f' || c == U'\u061c')
            continue;
        if ((c == U'-' || c == U'\u2212') && plain.isEmpty()) {
            plain += '-';
        } else if ((c == U'.' || c == U',' || c == U'\u066b') && !separator) {
            separator = true;
            plain += '.';
        } else if (QChar::isDigit(c)) {
            ++digits;
            plain += static_cast<char>('0' + QChar::digitValue(c));
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    return convert(QString::fromLatin1(plain), QLocale::c());
}

} // namespace

std::optional<double> parse(const QString& text, const QLocale& locale)
{
    if (text.contains(u'\n') || text.contains(u'\r'))
        return std::nullopt;
    const std::optional<double> value = convert(text, locale);
    if (value && nearRangeEnd(*value) && !convert(generalText(*value, locale), locale))
        return std::nullopt;
    return value;
}

std::optional<double> parseStored(const QString& text, const QLocale& locale)
{
    if (const std::optional<double> value = parse(text, locale))
        return value;
    return convertWritten(text);
}

QString generalText(double value, const QLocale& locale)
{
    return withoutGrouping(locale).toString(value, 'g', 15);
}

QString formatTwoDecimals(double value, const QLocale& locale)
{
    const QLocale plain = withoutGrouping(locale);
    // A value that rounds to zero shows as ".00", never "-.00".
    if (std::fabs(value) < 0.005)
        value = 0.0;
    QString text = plain.toString(std::fabs(value), 'f', 2);
    const QString leadingZero = plain.zeroDigit() + plain.decimalPoint();
    if (text.startsWith(leadingZero))
        text.remove(0, plain.zeroDigit().size());
    return value < 0 ? plain.negativeSign() + text : text;
}

} // namespace Numbers
