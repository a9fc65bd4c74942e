#pragma once

class Announcer;
class QAbstractItemView;

// What a screen reader hears of a list or a tree beyond what Qt 6.4 tells it. Entering the view by the keyboard
// speaks its current row, the first row made current and chosen when none is: Qt tells of the current row before
// it tells of the view's own focus, which Orca 43 then speaks instead, without the row. Expanding or collapsing a
// node of a tree by the user says "expanded" or "collapsed" through the announcer: Qt 6.4's AT-SPI bridge passes
// on no change of that state.
namespace SpokenRows {

void install(QAbstractItemView* view, Announcer* announcer);

} // namespace SpokenRows
