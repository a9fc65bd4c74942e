#include "TestWindow.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>

// The menus, help, online help and the About window through the real window.
class TestMenusWindow : public WindowTest
{
    Q_OBJECT

private slots:
    void init() { open(); }
    void cleanup() { m_window.reset(); }

    void menuKeysAboutAndExit_data();
    void menuKeysAboutAndExit();
    void onlineHelp_data();
    void onlineHelp();
    void helpBesideAndClosed_data();
    void helpBesideAndClosed();

private:
    QString inFolder(const QString& name) const { return QDir(m_folder.dir()).filePath(name); }
};

void TestMenusWindow::menuKeysAboutAndExit_data()
{
    QTest::addColumn<bool>("inTextBox");
    QTest::newRow("in a text box the box keeps Ctrl+C and Ctrl+A") << true;
    QTest::newRow("elsewhere File > Calc and Help > About run") << false;
}

void TestMenusWindow::menuKeysAboutAndExit()
{
    QFETCH(bool, inTextBox);
    // Runs action and answers the About window if it opened; returns its version label's text.
    const auto answerAbout = [](const std::function<void()>& action) {
        QString version;
        QObject call; // gone on return, so that its timer never answers a later window
        QTimer::singleShot(0, &call, [&version] {
            if (QWidget* about = QApplication::activeModalWidget()) {
                version = about->findChild<QLabel*>(QStringLiteral("lblInformation_2"))->text();
                QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("cmdOk")), Qt::LeftButton);
            }
        });
        action();
        return version;
    };
    for (const char* box : { "txtMileage", "txtCost", "txtCommuteDistance", "txtPricePerUnit" })
        m_window->type(box, "90");
    QApplication::clipboard()->clear();
    auto* price = m_window->control<QLineEdit>("txtPricePerUnit");
    QWidget* target = inTextBox ? price : m_window->control<QWidget>("cmdCalc");
    target->setFocus();
    price->selectAll();
    QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), inTextBox ? QStringLiteral("90") : QString());
    QCOMPARE(m_window->items("lvwDataView").isEmpty(), inTextBox);

    price->deselect();
    QCOMPARE(answerAbout([&] { QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier); }),
        inTextBox ? QString() : QStringLiteral("Version 1.1.2"));
    QCOMPARE(price->selectedText(), inTextBox ? QStringLiteral("90") : QString());
    // About opens again, and each closed About window is gone.
    QCOMPARE(answerAbout([this] { m_window->control<QAction>("mnuHelpAbout")->trigger(); }),
        QStringLiteral("Version 1.1.2"));
    QVERIFY(m_window->findChildren<QDialog*>().isEmpty());

    // Exit ends at once, though the boxes hold what was typed.
    m_window->control<QAction>("mnuFileExit")->trigger();
    QVERIFY(!m_window->isVisible());
    QVERIFY(m_window->messages.isEmpty());
}

void TestMenusWindow::onlineHelp_data()
{
    QTest::addColumn<QStringList>("present"); // which of the browsers "first" and "second" are there
    QTest::addColumn<QString>("launched");
    QTest::newRow("second program only") << QStringList { "second" } << "second";
    QTest::newRow("both: the first wins") << QStringList { "first", "second" } << "first";
    QTest::newRow("neither") << QStringList() << "";
}

void TestMenusWindow::onlineHelp()
{
    QFETCH(QStringList, present);
    QFETCH(QString, launched);
    const QString address = QStringLiteral("https://tripledger.example.org/tripledger.htm");
    const QString launches = inFolder(QStringLiteral("launched.txt"));
    QFile::remove(launches);
    AppEnvironment given = environment();
    for (const QString& name : { QStringLiteral("first"), QStringLiteral("second") }) {
        QFile browser(inFolder(present.contains(name) ? name : "missing " + name));
        if (present.contains(name) && browser.open(QIODevice::WriteOnly)) { // it notes its name and arguments
            browser.write(QStringLiteral("#!/bin/sh\necho %1 \"$*\" >> \"%2\"\n").arg(name, launches).toUtf8());
            browser.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        given.browsers.append(browser.fileName());
    }
    open(given);
    m_window->control<QAction>("mnuHelpOnlineHelp")->trigger();

    const QStringList failed { "information | Failed to located web browser | Can not locate webbrowser! Please load "
                               "https://tripledger.example.org/tripledger.htm manually in your web browser window!" };
    QCOMPARE(m_window->messages, launched.isEmpty() ? failed : QStringList());
    const auto read = [&launches] {
        QFile file(launches);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QTRY_COMPARE(read(), launched.isEmpty() ? QByteArray() : (launched + ' ' + address + '\n').toUtf8());
}

void TestMenusWindow::helpBesideAndClosed_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<int>("closeKey"); // none: the Close button
    QTest::newRow("document beside the program, closed by Esc") << true << int(Qt::Key_Escape);
    QTest::newRow("document missing, closed by Ctrl+W") << false << int(Qt::Key_W);
    QTest::newRow("closed by the Close button") << true << 0;
}

void TestMenusWindow::helpBesideAndClosed()
{
    QFETCH(bool, present);
    QFETCH(int, closeKey);
    AppEnvironment given = environment();
    given.helpFile = present ? QStringLiteral(TRIPLEDGER_HELP_FILE) : inFolder(QStringLiteral("gone.html"));
    open(given);
    QTest::keyClick(m_window->control<QWidget>("txtMileage"), Qt::Key_H, Qt::ControlModifier);
    auto* help = m_window->control<QWidget>("frmHelp");
    QApplication::setActiveWindow(help); // as the desktop would on opening it
    QVERIFY(!help->frameGeometry().intersects(m_window->frameGeometry()));
    QVERIFY(help->screen()->availableGeometry().contains(help->frameGeometry()));
    QVERIFY(m_window->messages.isEmpty());
    auto* text = m_window->control<QTextBrowser>("txtHelp");
    QCOMPARE(text->toPlainText().contains(QStringLiteral("could not be found")), !present);
    if (present) { // a link followed, Back returns
        const QUrl start = text->source();
        text->setSource(QUrl(start.toString() + QStringLiteral("#messages")));
        QTest::mouseClick(m_window->control<QWidget>("cmdHelpBack"), Qt::LeftButton);
        QCOMPARE(text->source(), start);
    }

    if (closeKey)
        QTest::keyClick(help, Qt::Key(closeKey), closeKey == Qt::Key_W ? Qt::ControlModifier : Qt::NoModifier);
    else
        QTest::mouseClick(m_window->control<QWidget>("cmdHelpClose"), Qt::LeftButton);
    QVERIFY(!help->isVisible());
    // Help again shows the one window again.
    m_window->control<QAction>("mnuHelpHelp")->trigger();
    QVERIFY(help->isVisible());
    QCOMPARE(m_window->findChildren<QWidget*>(QStringLiteral("frmHelp")).size(), 1);
}

QTEST_MAIN(TestMenusWindow)
#include "tst_menuswindow.moc"
