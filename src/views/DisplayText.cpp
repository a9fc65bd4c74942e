#include "DisplayText.h"

#include <algorithm>

namespace DisplayText {

QString oneLine(QStringView text)
{
    QString shown;
    if (text.size() <= MaxLength) {
        shown = text.toString();
    } else {
        qsizetype head = MaxLength / 2;
        qsizetype tail = text.size() - (MaxLength - 1 - head);
        // Never half of a surrogate pair.
        if (text[head].isLowSurrogate())
            --head;
        if (text[tail].isLowSurrogate())
            ++tail;
        shown = text.first(head).toString() + QChar(u'\u2026') + text.sliced(tail).toString();
    }
    // A line break inside a field (a damaged file) would make its row taller than one line.
    const auto isBreak = [](QChar c) {
        return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
    };
    if (std::any_of(shown.cbegin(), shown.cend(), isBreak))
        std::replace_if(shown.begin(), shown.end(), isBreak, QChar(u' '));
    return shown;
}

} // namespace DisplayText
