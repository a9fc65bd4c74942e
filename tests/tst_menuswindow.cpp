#include "TestWindow.h"

#include <QAction>
#include <QClipboard>
#include <QTextBrowser>

// The menus, help, online help and the About window through the real window.
class TestMenusWindow : public WindowTest
{
    Q_OBJECT

    // In mixed case and with a query: it must reach the browser exactly as given.
    static QString onlineHelpAddress()
    {
        return QStringLiteral("https://TripLedger.example.org/Help/Costs.htm?Topic=MPG");
    }

private slots:
    // The window at its designed size, as the layout was drawn, leaves room for help beside it on the test screen.
    void initTestCase() { QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 7)); }
    void init() { open(); }
    void cleanup() { m_window.reset(); }

    void menuKeysAboutAndExit()
    {
        QStringList versions; // of every About window, closed as soon as it opens
        QTimer answer;
        answer.callOnTimeout([&versions] {
            if (QWidget* about = QApplication::activeModalWidget()) {
                versions << about->findChild<QLabel*>(QStringLiteral("lblInformation_2"))->text();
                QTest::mouseClick(about->findChild<QWidget*>(QStringLiteral("cmdOk")), Qt::LeftButton);
            }
        });
        answer.start();
        for (const char* box : { "txtMileage", "txtCost", "txtCommuteDistance", "txtPricePerUnit" })
            m_window->type(box, "90");
        // In a text box Ctrl+A and Ctrl+C select and copy its text.
        QTest::keyClick(m_window->control<QWidget>("txtPricePerUnit"), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(m_window->control<QWidget>("txtPricePerUnit"), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("90"));
        QVERIFY(versions.isEmpty() && m_window->items("lvwDataView").isEmpty());
        // Elsewhere they run File > Calc and Help > About; About opens again from the menu.
        QTest::keyClick(m_window->control<QWidget>("cmdCalc"), Qt::Key_C, Qt::ControlModifier);
        QVERIFY(!m_window->items("lvwDataView").isEmpty());
        QTest::keyClick(m_window->control<QWidget>("cmdCalc"), Qt::Key_A, Qt::ControlModifier);
        m_window->control<QAction>("mnuHelpAbout")->trigger();
        QCOMPARE(versions, QStringList(2, QStringLiteral("Version 1.1.2")));
        QVERIFY(m_window->findChildren<QDialog*>().isEmpty()); // each closed About window is gone

        // The menus show the program's own keys, the desktop's come second.
        QCOMPARE(m_window->control<QAction>("mnuHelpHelp")->shortcut().toString() + ' '
                + m_window->control<QAction>("mnuFileExit")->shortcut().toString(),
            QStringLiteral("Ctrl+H Ctrl+T"));
        // Exit (here by the desktop's Ctrl+Q) ends at once, though the boxes hold what was typed.
        m_window->activateWindow(); // as the desktop does when the About window closes
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTest::keyClick(m_window->control<QWidget>("txtCost"), Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!m_window->isVisible() && m_window->messages.isEmpty());
    }

    void onlineHelp_data()
    {
        QTest::addColumn<QStringList>("present"); // which of the browsers "first" and "second" are there
        QTest::addColumn<QString>("outcome"); // what the browser launched noted, then every message
        const QString address = onlineHelpAddress();
        QTest::newRow("second program only") << QStringList { "second" } << "second " + address + '\n';
        QTest::newRow("both: the first wins") << QStringList { "first", "second" } << "first " + address + '\n';
        QTest::newRow("neither")
            << QStringList()
            << "information | Failed to located web browser | Can not locate webbrowser! Please load " + address
                + " manually in your web browser window!";
    }

    void onlineHelp()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, outcome);
        const QString launches = m_folder.dir() + QStringLiteral("/launched.txt");
        QFile::remove(launches);
        AppEnvironment given = environment();
        given.browsers.clear(); // only the test's own, never a real browser
        given.onlineHelpAddress = onlineHelpAddress();
        for (const QString& name : { QStringLiteral("first"), QStringLiteral("second") }) {
            QFile browser(m_folder.dir() + '/' + (present.contains(name) ? name : "missing " + name));
            if (present.contains(name) && browser.open(QIODevice::WriteOnly)) { // it notes its name and arguments
                browser.write(QStringLiteral("#!/bin/sh\necho %1 \"$*\" >> \"%2\"\n").arg(name, launches).toUtf8());
                browser.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            }
            given.browsers.append(browser.fileName());
        }
        open(given);
        m_window->control<QAction>("mnuHelpOnlineHelp")->trigger();
        const auto read = [&launches] {
            QFile file(launches);
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        QTRY_COMPARE(read() + m_window->messages.join(u'\n'), outcome);
    }

    void helpBesideAndClosed_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QKeySequence>("opening"); // pressed in a box
        QTest::addColumn<QKeySequence>("key"); // pressed on the Close button
        QTest::newRow("document beside the program, closed by Esc")
            << true << QKeySequence("Ctrl+H") << QKeySequence("Esc");
        QTest::newRow("document missing, opened by F1, closed by Ctrl+W")
            << false << QKeySequence("F1") << QKeySequence("Ctrl+W");
        QTest::newRow("closed by the Close button (Space)") << true << QKeySequence("Ctrl+H") << QKeySequence("Space");
    }

    void helpBesideAndClosed()
    {
        QFETCH(bool, present);
        QFETCH(QKeySequence, opening);
        QFETCH(QKeySequence, key);
        AppEnvironment given = environment();
        given.helpFile = present ? QStringLiteral(TRIPLEDGER_HELP_FILE) : m_folder.dir() + QStringLiteral("/gone.html");
        open(given);
        QTest::keySequence(m_window->control<QWidget>("txtMileage"), opening);
        auto* help = m_window->control<QWidget>("frmHelp");
        QApplication::setActiveWindow(help); // as the desktop would on opening it
        QVERIFY(!help->frameGeometry().intersects(m_window->frameGeometry())
            && help->screen()->availableGeometry().contains(help->frameGeometry())); // beside it, on the screen
        QVERIFY(m_window->messages.isEmpty());
        auto* text = m_window->control<QTextBrowser>("txtHelp");
        QCOMPARE(text->toPlainText().contains(QStringLiteral("could not be found")), !present);
        if (present) { // a link followed, Back returns
            const QUrl start = text->source();
            text->setSource(QUrl(start.toString() + QStringLiteral("#messages")));
            m_window->click("cmdHelpBack");
            QCOMPARE(text->source(), start);
        }

        QTest::keySequence(m_window->control<QWidget>("cmdHelpClose"), key);
        QVERIFY(!help->isVisible());
        // Help again shows the one window again.
        m_window->control<QAction>("mnuHelpHelp")->trigger();
        QVERIFY(help->isVisible() && m_window->findChildren<QWidget*>(QStringLiteral("frmHelp")).size() == 1);
    }
};

QTEST_MAIN(TestMenusWindow)
#include "tst_menuswindow.moc"
