#pragma once

#include <QMainWindow>

class Announcer;
class QTextBrowser;
class QToolButton;

// The help document in a window of its own beside the main window, with back and forward for its links.
// A main window of its own kind, so that it is announced as a window, by its title.
class HelpWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* owner);

    // Shows the document at path, or a page saying that it could not be found.
    void showDocument(const QString& path);
    // Moves the window beside owner, on the side of its screen with more room, narrowed to fit when need be,
    // so that it never hides what the user is reading about.
    void placeBeside(const QWidget* owner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void tellLinkSelected();
    // Following a link within the document moves the caret to its target, where a screen reader reads on; the
    // target's paragraph is said, with its level when it is a heading, as the keys that follow a link say nothing.
    void caretToTarget(const QUrl& link);

    QTextBrowser* m_browser;
    QToolButton* m_back;
    QToolButton* m_forward;
    Announcer* m_announcer = nullptr;
};
