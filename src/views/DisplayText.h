#pragma once

#include <QString>
#include <QStringView>

// How a text read from the history file is shown in a list, a tree or a box: on one line, and no longer than
// MaxLength characters. A longer text loses its middle to an ellipsis, so that its start and its end (a
// record's last fields, a mean's value) both stay in sight. Only the showing is cut: the data keep the text.
namespace DisplayText {

constexpr qsizetype MaxLength = 300;

QString oneLine(QStringView text);

} // namespace DisplayText
