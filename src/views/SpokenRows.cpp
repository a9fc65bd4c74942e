#include "SpokenRows.h"

#include "Announcer.h"

#include <QFocusEvent>
#include <QTreeView>

namespace {

// Makes the current row current anew, so that Qt tells of it as focused once more.
void speakCurrentRow(QAbstractItemView* view)
{
    if (!view->hasFocus() || !view->model())
        return;
    QModelIndex row = view->currentIndex();
    if (!row.isValid())
        row = view->model()->index(0, 0, view->rootIndex());
    if (!row.isValid())
        return;
    view->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    view->setCurrentIndex(row); // and chosen, as the arrow keys choose
}

class KeyboardEntry : public QObject
{
public:
    explicit KeyboardEntry(QAbstractItemView* view)
        : QObject(view)
        , m_view(view)
    {
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        const bool byKeyboard = event->type() == QEvent::FocusIn
            && static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason
            && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason;
        // After the view's own focus has been told, which follows this event.
        if (byKeyboard)
            QMetaObject::invokeMethod(
                m_view, [view = m_view] { speakCurrentRow(view); }, Qt::QueuedConnection);
        return false;
    }

private:
    QAbstractItemView* m_view;
};

} // namespace

namespace SpokenRows {

void install(QAbstractItemView* view, Announcer* announcer)
{
    view->installEventFilter(new KeyboardEntry(view));
    auto* tree = qobject_cast<QTreeView*>(view);
    if (!tree)
        return;
    QObject::connect(tree, &QTreeView::expanded, announcer, [tree, announcer] {
        if (tree->hasFocus())
            announcer->say(QStringLiteral("expanded"));
    });
    QObject::connect(tree, &QTreeView::collapsed, announcer, [tree, announcer] {
        if (tree->hasFocus())
            announcer->say(QStringLiteral("collapsed"));
    });
}

} // namespace SpokenRows
