#include "TestWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

// Saving through the real window: the file it writes, the checks before it and the vehicle boxes after it.
class TestSaveWindow : public WindowTest
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_window.reset(); }

    void savesAppendWholeLines();
    void nothingToSave_data();
    void nothingToSave();
    void registrationRefused_data();
    void registrationRefused();
    void writeFailureIsReported_data();
    void writeFailureIsReported();
    void vehicleBoxesAfterSave();
    void vehicleBoxesAfterRestart();
    void unitWordFollowsTheOption();
    void pastedLineBreakRefused_data();
    void pastedLineBreakRefused();
    void savedExactlyAsTyped_data();
    void savedExactlyAsTyped();

private:
    void calculateExample() { m_window->calculate({ "400", "45.50", "15", "95" }); }
    void save(const QString& registration);
    QByteArray file() const { return m_folder.read(); }
    QString path() const { return m_folder.path(); }
};

void TestSaveWindow::init()
{
    m_folder.remove();
    open();
}

void TestSaveWindow::save(const QString& registration)
{
    QLineEdit* box = m_window->control<QComboBox>("cboVehicleReg")->lineEdit();
    box->clear();
    if (registration.contains(u'\n'))
        box->setText(registration); // a line break only comes with a paste
    else
        QTest::keyClicks(box, registration);
    m_window->click("cmdSave");
}

void TestSaveWindow::savesAppendWholeLines()
{
    calculateExample();
    save(QStringLiteral("AB12 CDE"));
    const QByteArray first("VehicleReg:AB12 CDE;Date:21/03/2005 14:35:12;Mileage:400;Cost:45.50;MPG: 41.76;"
                           "Commute Distance:15;Price Per Unit:95;Unit:Litre;\r\n");
    QCOMPARE(file(), first);
    QCOMPARE(m_window->status(), QStringLiteral("Mileage Costs Saved."));
    save(QStringLiteral(" XY99 ZZZ "));
    QCOMPARE(file(), first + QByteArray(first).replace("AB12 CDE", " XY99 ZZZ "));
    QVERIFY(m_window->messages.isEmpty());
}

void TestSaveWindow::nothingToSave_data()
{
    QTest::addColumn<QString>("before");
    QTest::newRow("nothing calculated, Ctrl+S") << "menu";
    QTest::newRow("after a failed calculation") << "failed";
    QTest::newRow("a box edited after calculating") << "edited";
    QTest::newRow("the unit changed after calculating") << "unit";
}

void TestSaveWindow::nothingToSave()
{
    QFETCH(QString, before);
    if (before != QLatin1String("menu"))
        calculateExample();
    if (before == QLatin1String("failed")) {
        m_window->type("txtCost", "lots");
        m_window->click("cmdCalc");
        m_window->messages.clear();
    } else if (before == QLatin1String("edited")) {
        QTest::keyClicks(m_window->control<QLineEdit>("txtPricePerUnit"), QStringLiteral("0"));
    } else if (before == QLatin1String("unit")) {
        m_window->click("optUnits_1");
    }
    const QString status = m_window->status();
    auto* box = m_window->control<QComboBox>("cboVehicleReg");
    QTest::keyClicks(box->lineEdit(), QStringLiteral("AB12 CDE"));
    if (before == QLatin1String("menu"))
        QTest::keyClick(box, Qt::Key_S, Qt::ControlModifier); // File > Save's shortcut
    else
        m_window->click("cmdSave");

    QCOMPARE(m_window->messages,
        QStringList { "information | No Data To Save | You need to have calculated "
                      "something for the system to save information!" });
    QCOMPARE(m_window->status(), status);
    QCOMPARE(file(), QByteArray("<absent>"));
}

void TestSaveWindow::registrationRefused_data()
{
    QTest::addColumn<QString>("registration");
    QTest::addColumn<QString>("description");
    const QString empty = QStringLiteral("You must enter a vehicle registration to save the details.");
    QTest::newRow("empty") << QString() << empty;
    QTest::newRow("three blanks") << QStringLiteral("   ") << empty;
    QTest::newRow("semicolon") << QStringLiteral("AB;12")
                               << QStringLiteral("A vehicle registration cannot contain a semicolon.");
    QTest::newRow("line break") << QStringLiteral("AB\n12")
                                << QStringLiteral("A vehicle registration cannot contain a line break.");
}

void TestSaveWindow::registrationRefused()
{
    QFETCH(QString, registration);
    QFETCH(QString, description);
    calculateExample();
    save(registration);
    QCOMPARE(m_window->messages,
        QStringList { "critical | Save Data Error | Vehicle Registration Check Failure - " + description });
    QCOMPARE(m_window->statusUnderMessage, QStringLiteral("Save mileage costs had an error."));
    QCOMPARE(file(), QByteArray("<absent>"));
}

void TestSaveWindow::writeFailureIsReported_data()
{
    QTest::addColumn<bool>("diskFull");
    QTest::newRow("file name taken by a folder") << false;
    QTest::newRow("disk full") << true;
}

void TestSaveWindow::writeFailureIsReported()
{
    QFETCH(bool, diskFull);
    if (diskFull) {
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), path()));
        QTest::ignoreMessage(
            QtWarningMsg, QRegularExpression(QStringLiteral("Cannot call seek on a sequential device")));
    } else {
        QVERIFY(QDir(m_folder.dir()).mkdir(QStringLiteral("TripLedger.txt")));
    }

    calculateExample();
    save(QStringLiteral("AB12 CDE"));
    QCOMPARE(m_window->messages.size(), 1);
    QVERIFY2(m_window->messages[0].startsWith(QStringLiteral("critical | Save Data Error | TripLedger.txt - ")),
        qPrintable(m_window->messages[0]));
    QCOMPARE(m_window->status(), QStringLiteral("Save mileage costs had an error."));
    if (diskFull)
        QVERIFY(QFileInfo(path()).isSymLink());
    else
        QVERIFY(QFileInfo(path()).isDir());
    QVERIFY(m_window->entries("cboVehicleReg").isEmpty());

    // The program goes on working once the disk is mended.
    m_folder.remove();
    m_window->click("cmdSave");
    QCOMPARE(m_window->status(), QStringLiteral("Mileage Costs Saved."));
    QCOMPARE(file().count('\n'), 1);
}

void TestSaveWindow::vehicleBoxesAfterSave()
{
    m_folder.write(record("XY99 ZZZ", " 40.00"));
    open();
    m_window->control<QComboBox>("cboVehicleList")->setCurrentIndex(0); // chosen on the Graph page
    calculateExample();
    save(QStringLiteral("AB12 CDE"));
    save(QStringLiteral("AB12 CDE"));
    save(QStringLiteral("ab12 cde"));
    const QStringList expected { "XY99 ZZZ", "AB12 CDE", "ab12 cde" };
    QCOMPARE(m_window->entries("cboVehicleReg"), expected);
    QCOMPARE(m_window->entries("cboVehicleList"), expected);
    QCOMPARE(m_window->control<QComboBox>("cboVehicleReg")->currentText(), QStringLiteral("ab12 cde"));
    QCOMPARE(m_window->control<QComboBox>("cboVehicleList")->currentText(), QStringLiteral("XY99 ZZZ"));
}

void TestSaveWindow::vehicleBoxesAfterRestart()
{
    calculateExample();
    save(QStringLiteral("AB12 CDE"));
    save(QStringLiteral(" AB12 CDE"));
    open();
    const QStringList expected { "AB12 CDE", " AB12 CDE" };
    QCOMPARE(m_window->entries("cboVehicleReg"), expected);
    QCOMPARE(m_window->entries("cboVehicleList"), expected);
    // Filling the boxes chooses nothing.
    QCOMPARE(m_window->control<QComboBox>("cboVehicleReg")->currentText(), QString());
    QCOMPARE(m_window->control<QComboBox>("cboVehicleList")->currentText(), QString());
}

void TestSaveWindow::unitWordFollowsTheOption()
{
    m_window->click("optUnits_1");
    m_window->calculate({ "400", "45", "10", "4.5" });
    save(QStringLiteral("G1"));
    QVERIFY(file().endsWith("MPG: 40.00;Commute Distance:10;Price Per Unit:4.5;Unit:Gallon;\r\n"));
}

void TestSaveWindow::pastedLineBreakRefused_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("lineBreak");
    QTest::newRow("mileage, LF") << "txtMileage"
                                 << "Mileage"
                                 << "\n";
    QTest::newRow("cost, CR LF") << "txtCost"
                                 << "Fuel Costs"
                                 << "\r\n";
    QTest::newRow("commute, LF") << "txtCommuteDistance"
                                 << "Commute Distance"
                                 << "\n";
    QTest::newRow("price, CR LF") << "txtPricePerUnit"
                                  << "Price Per Unit"
                                  << "\r\n";
}

void TestSaveWindow::pastedLineBreakRefused()
{
    QFETCH(QString, box);
    QFETCH(QString, field);
    QFETCH(QString, lineBreak);
    calculateExample();
    // A cell copied from a spreadsheet brings its line break; only a paste puts one in the box.
    auto* input = m_window->control<QLineEdit>(qPrintable(box));
    input->setText(input->text() + lineBreak);
    m_window->click("cmdCalc");
    save(QStringLiteral("AB12 CDE"));
    QCOMPARE(m_window->messages,
        (QStringList { "critical | Data Entry Error | Double Check Failure - " + field
                + " is not a valid number please only enter numbers.",
            "information | No Data To Save | You need to have calculated something for the system to save "
            "information!" }));
    QCOMPARE(file(), QByteArray("<absent>"));
}

void TestSaveWindow::savedExactlyAsTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enter");
    QTest::newRow("prefix of a saved registration") << "AB1" << false;
    QTest::newRow("a saved registration in other case, then Enter") << "ab12 cde" << true;
}

void TestSaveWindow::savedExactlyAsTyped()
{
    QFETCH(QString, typed);
    QFETCH(bool, enter);
    m_folder.write(record("AB12 CDE", " 40.00"));
    open();
    calculateExample();
    auto* box = m_window->control<QComboBox>("cboVehicleReg");
    box->setFocus();
    QTest::keyClicks(box->lineEdit(), typed);
    if (enter)
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    m_window->click("cmdSave");
    QCOMPARE(file().split('\n').value(1).left(typed.size() + 12), "VehicleReg:" + typed.toUtf8() + ';');
    QCOMPARE(m_window->entries("cboVehicleReg"), (QStringList { "AB12 CDE", typed }));
}

QTEST_MAIN(TestSaveWindow)
#include "tst_savewindow.moc"
