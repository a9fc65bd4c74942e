#include "HelpWindow.h"

#include "Twips.h"
#include "views/Announcer.h"

#include <QAction>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

HelpWindow::HelpWindow(QWidget* owner)
    : QMainWindow(owner)
    , m_browser(new QTextBrowser(this))
    , m_back(new QToolButton(this))
    , m_forward(new QToolButton(this))
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Trip Ledger Help"));
    // 640 by 560 pixels at the font the layouts were drawn for, never larger than the screen.
    resize((QSize(640, 560) * Twips::fontScale(font())).boundedTo(owner->screen()->availableGeometry().size() * 0.9));

    // Orca speaks an announcement without the role word "notification" only from within a status bar: the help's
    // is never shown.
    auto* quiet = new QStatusBar(this);
    quiet->hide();
    m_announcer = new Announcer(quiet);

    m_browser->setObjectName(QStringLiteral("txtHelp"));
    m_browser->setAccessibleName(QStringLiteral("Help document"));
    // The arrows move a caret through the text, which a screen reader reads line by line; Tab moves from link to
    // link, Enter follows one.
    m_browser->setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
    m_browser->setOpenExternalLinks(true);
    m_back->setObjectName(QStringLiteral("cmdHelpBack"));
    m_back->setText(QStringLiteral("Back"));
    m_back->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    m_back->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_back->setEnabled(false);
    m_forward->setObjectName(QStringLiteral("cmdHelpForward"));
    m_forward->setText(QStringLiteral("Forward"));
    m_forward->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    m_forward->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_forward->setEnabled(false);

    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdHelpClose"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* closeKeys = new QAction(this);
    closeKeys->setShortcuts({ QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W) });
    connect(closeKeys, &QAction::triggered, this, &QWidget::close);
    addAction(closeKeys);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_back);
    buttons->addWidget(m_forward);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* page = new QWidget(this);
    setCentralWidget(page);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);

    m_browser->installEventFilter(this);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::caretToTarget);
    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QToolButton::setEnabled);
}

void HelpWindow::placeBeside(const QWidget* owner)
{
    constexpr int Gap = 8; // pixels between the two windows
    constexpr int NarrowestWidth = 320;
    const QRect screen = owner->screen()->availableGeometry();
    const QRect beside = owner->frameGeometry();
    const int borders = beside.width() - owner->width(); // this window's borders will be as wide as the owner's
    const int roomRight = screen.right() - beside.right() - Gap - borders;
    const int roomLeft = beside.left() - screen.left() - Gap - borders;
    if (std::max(roomRight, roomLeft) < NarrowestWidth)
        return; // no room beside it on this screen: the desktop places the window
    resize(std::min(width(), std::max(roomRight, roomLeft)),
        std::min(height(), screen.height() - (beside.height() - owner->height())));
    const int left = roomRight >= roomLeft ? beside.right() + 1 + Gap : beside.left() - Gap - borders - width();
    move(left, std::max(screen.top(), std::min(beside.top(), screen.bottom() + 1 - height())));
}

void HelpWindow::showDocument(const QString& path)
{
    if (QFileInfo(path).isFile()) {
        m_browser->setSource(QUrl::fromLocalFile(path));
        return;
    }
    m_browser->clearHistory();
    m_browser->setHtml(QStringLiteral("<h2>Help could not be found</h2>"
                                      "<p>The help document could not be found. It belongs at</p>"
                                      "<p><tt>%1</tt></p><p>Installing Trip Ledger again puts it back.</p>")
                           .arg(path.toHtmlEscaped()));
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Qt selects the link that Tab reaches without telling a screen reader, which then says nothing: it is said,
    // as a link, once the key has been handled.
    if (watched == m_browser && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
            QMetaObject::invokeMethod(this, &HelpWindow::tellLinkSelected, Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

void HelpWindow::tellLinkSelected()
{
    const QTextCursor link = m_browser->textCursor();
    if (link.hasSelection())
        m_announcer->say(QStringLiteral("%1, link").arg(link.selectedText()));
}

void HelpWindow::caretToTarget(const QUrl& link)
{
    const QString target = link.fragment();
    if (target.isEmpty())
        return;
    for (QTextBlock block = m_browser->document()->begin(); block.isValid(); block = block.next()) {
        for (auto part = block.begin(); !part.atEnd(); ++part) {
            if (part.fragment().charFormat().anchorNames().contains(target)) {
                QTextCursor caret(m_browser->document());
                caret.setPosition(part.fragment().position());
                m_browser->setTextCursor(caret);
                const int level = block.blockFormat().headingLevel();
                m_announcer->say(
                    level > 0 ? QStringLiteral("%1, heading level %2").arg(block.text()).arg(level) : block.text());
                return;
            }
        }
    }
}
