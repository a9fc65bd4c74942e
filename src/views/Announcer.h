#pragma once

#include <QWidget>

// Says a text through a screen reader without the focus moving: a hidden notification in the window's status bar,
// which Orca 43 speaks by its name alone, with no role word, when told that it shows (AT-SPI's "showing" state, to
// which Qt 6.4 turns QAccessible::ObjectShow). A text is said once the handler that gave it has returned, and of
// the texts given in one handler only the last: a handler that writes a start and an end status is heard once.
class Announcer : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget* statusBar);

    void say(const QString& text);
    // What was said last, or is about to be.
    const QString& text() const { return m_text; }

private:
    void announce();

    QString m_text;
    bool m_waiting = false;
};
