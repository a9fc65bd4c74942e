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
    void init();
    void cleanup();

    void textBoxKeepsCopyAndSelectAll_data();
    void textBoxKeepsCopyAndSelectAll();
    void exitEndsAtOnce();
    void onlineHelp_data();
    void onlineHelp();
    void helpDocument_data();
    void helpDocument();
    void helpBesideAndClosed_data();
    void helpBesideAndClosed();
    void aboutOpensAgain();

private:
    // Runs action, which opens the About window, and answers it; returns the version label's text.
    QString answerAbout(const std::function<void()>& action);
    QString script(const QString& name);
    QString inFolder(const QString& name) const { return QDir(m_folder.dir()).filePath(name); }
};

void TestMenusWindow::init()
{
    open();
}

void TestMenusWindow::cleanup()
{
    m_window.reset();
    QFile::remove(inFolder(QStringLiteral("launched.txt")));
}

QString TestMenusWindow::answerAbout(const std::function<void()>& action)
{
    QString version;
    bool answered = false;
    QTimer::singleShot(0, this, [&] {
        QWidget* about = QApplication::activeModalWidget();
        if (!about)
            return;
        answered = about->windowTitle() == QLatin1String("About Trip Ledger");
        version = about->findChild<QLabel*>(QStringLiteral("lblInformation_2"))->text();
        QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("cmdOk")), Qt::LeftButton);
    });
    action();
    return answered ? version : QString();
}

QString TestMenusWindow::script(const QString& name)
{
    const QString path = inFolder(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QStringLiteral("#!/bin/sh\nprintf '%s %s\\n' \"%1\" \"$*\" >> \"%2\"\n")
                   .arg(name, inFolder(QStringLiteral("launched.txt")))
                   .toUtf8());
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

void TestMenusWindow::textBoxKeepsCopyAndSelectAll_data()
{
    QTest::addColumn<bool>("inTextBox");
    QTest::newRow("in a text box the box wins") << true;
    QTest::newRow("elsewhere File > Calc and Help > About run") << false;
}

void TestMenusWindow::textBoxKeepsCopyAndSelectAll()
{
    QFETCH(bool, inTextBox);
    for (const char* box : { "txtMileage", "txtCost", "txtCommuteDistance", "txtPricePerUnit" })
        m_window->type(box, "90");
    QApplication::clipboard()->clear();

    QWidget* target = inTextBox ? m_window->control<QWidget>("txtPricePerUnit") : m_window->control<QWidget>("cmdCalc");
    target->setFocus();
    m_window->control<QLineEdit>("txtPricePerUnit")->selectAll();
    QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), inTextBox ? QStringLiteral("90") : QString());
    QCOMPARE(m_window->items("lvwDataView").isEmpty(), inTextBox);

    m_window->control<QLineEdit>("txtPricePerUnit")->deselect();
    const QString about = answerAbout([&] { QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier); });
    QCOMPARE(about.isEmpty(), inTextBox);
    if (inTextBox)
        QCOMPARE(m_window->control<QLineEdit>("txtPricePerUnit")->selectedText(), QStringLiteral("90"));
    else
        QCOMPARE(about, QStringLiteral("Version 1.1.2"));
}

void TestMenusWindow::exitEndsAtOnce()
{
    m_window->type("txtMileage", "400");
    m_window->control<QAction>("mnuFileExit")->trigger();
    QVERIFY(!m_window->isVisible());
    QVERIFY(m_window->messages.isEmpty());
}

void TestMenusWindow::onlineHelp_data()
{
    QTest::addColumn<bool>("firstExists");
    QTest::addColumn<bool>("secondExists");
    QTest::addColumn<QString>("launched");
    const QString address = QStringLiteral("https://tripledger.example.org/tripledger.htm");
    QTest::newRow("second program only") << false << true << "second " + address + "\n";
    QTest::newRow("both: the first wins") << true << true << "first " + address + "\n";
    QTest::newRow("neither") << false << false << "";
}

void TestMenusWindow::onlineHelp()
{
    QFETCH(bool, firstExists);
    QFETCH(bool, secondExists);
    QFETCH(QString, launched);

    AppEnvironment given = environment();
    given.browsers = { firstExists ? script(QStringLiteral("first")) : inFolder(QStringLiteral("none1")),
        secondExists ? script(QStringLiteral("second")) : inFolder(QStringLiteral("none2")) };
    open(given);
    m_window->control<QAction>("mnuHelpOnlineHelp")->trigger();

    const QString record = inFolder(QStringLiteral("launched.txt"));
    if (launched.isEmpty()) {
        QCOMPARE(m_window->messages,
            QStringList { "information | Failed to located web browser | Can not locate webbrowser! Please load "
                          "https://tripledger.example.org/tripledger.htm manually in your web browser window!" });
        QVERIFY(!QFile::exists(record));
        return;
    }
    QVERIFY(m_window->messages.isEmpty());
    QTRY_VERIFY(QFile::exists(record));
    const auto contents = [&record] {
        QFile file(record);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QTRY_COMPARE(contents(), launched.toUtf8());
}

void TestMenusWindow::helpDocument_data()
{
    QTest::addColumn<bool>("present");
    QTest::newRow("document beside the program") << true;
    QTest::newRow("document missing") << false;
}

void TestMenusWindow::helpDocument()
{
    QFETCH(bool, present);
    AppEnvironment given = environment();
    given.helpFile = present ? QStringLiteral(TRIPLEDGER_HELP_FILE) : inFolder(QStringLiteral("gone.html"));
    open(given);
    QTest::keyClick(m_window->control<QWidget>("txtMileage"), Qt::Key_H, Qt::ControlModifier);

    auto* help = m_window->findChild<QWidget*>(QStringLiteral("frmHelp"));
    QVERIFY(help && help->isVisible());
    QVERIFY(help->isWindow());
    QVERIFY(m_window->messages.isEmpty());
    auto* text = help->findChild<QTextBrowser*>(QStringLiteral("txtHelp"));
    if (!present) {
        QVERIFY(text->toPlainText().contains(QStringLiteral("could not be found")));
        return;
    }
    QCOMPARE(text->documentTitle(), QStringLiteral("Trip Ledger Help"));
    QVERIFY(text->toPlainText().contains(QStringLiteral("Mean MPG for vehicle")));

    // Links move through the document; back returns.
    auto* back = help->findChild<QAbstractButton*>(QStringLiteral("cmdHelpBack"));
    QVERIFY(!back->isEnabled());
    const QUrl start = text->source();
    text->setSource(QUrl(start.toString() + QStringLiteral("#messages")));
    QVERIFY(back->isEnabled());
    QTest::mouseClick(back, Qt::LeftButton);
    QCOMPARE(text->source(), start);

    // Help again reuses the one window.
    m_window->control<QAction>("mnuHelpHelp")->trigger();
    QCOMPARE(m_window->findChildren<QWidget*>(QStringLiteral("frmHelp")).size(), 1);
}

void TestMenusWindow::helpBesideAndClosed_data()
{
    QTest::addColumn<QString>("closeBy");
    QTest::newRow("Esc") << "Esc";
    QTest::newRow("Ctrl+W") << "Ctrl+W";
    QTest::newRow("Close button") << "button";
}

void TestMenusWindow::helpBesideAndClosed()
{
    QFETCH(QString, closeBy);
    m_window->control<QAction>("mnuHelpHelp")->trigger();
    auto* help = m_window->findChild<QWidget*>(QStringLiteral("frmHelp"));
    QApplication::setActiveWindow(help); // as the desktop would on opening it
    QVERIFY(!help->frameGeometry().intersects(m_window->frameGeometry()));
    QVERIFY(help->screen()->availableGeometry().contains(help->frameGeometry()));
    if (closeBy == QLatin1String("button"))
        QTest::mouseClick(help->findChild<QWidget*>(QStringLiteral("cmdHelpClose")), Qt::LeftButton);
    else
        QTest::keyClick(help, closeBy == QLatin1String("Esc") ? Qt::Key_Escape : Qt::Key_W,
            closeBy == QLatin1String("Esc") ? Qt::NoModifier : Qt::ControlModifier);
    QVERIFY(!help->isVisible());
}

void TestMenusWindow::aboutOpensAgain()
{
    QAction* about = m_window->control<QAction>("mnuHelpAbout");
    QCOMPARE(answerAbout([&] { about->trigger(); }), QStringLiteral("Version 1.1.2"));
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(answerAbout([&] { about->trigger(); }), QStringLiteral("Version 1.1.2"));
    QVERIFY(m_window->findChildren<QDialog*>().isEmpty());
}

QTEST_MAIN(TestMenusWindow)
#include "tst_menuswindow.moc"
