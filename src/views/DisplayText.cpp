#include "DisplayText.h"

#include <algorithm>

namespace DisplayText {

QString oneLine(const QString& text)
{
    QString shown = text;
    if (text.size() > MaxLength) {
        qsizetype head = MaxLength / 2;
        qsizetype tail = text.size() - (MaxLength - 1 - head);
        // Never half of a surrogate pair.
        if (text[head].isLowSurrogate())
            --head;
        if (text[tail].isLowSurrogate())
            ++tail;
        shown = text.left(head) + QChar(u'\u2026') + text.mid(tail);
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
