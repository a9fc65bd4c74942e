#include "TestWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

// Saving through the real window: the file it writes, the checks before it and the vehicle boxes after it.
class TestSaveWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_window.reset(); }

    void firstSaveWritesTheExampleLine();
    void laterSavesAppend();
    void nothingToSave_data();
    void nothingToSave();
    void registrationRefused_data();
    void registrationRefused();
    void writeFailureIsReported_data();
    void writeFailureIsReported();
    void vehicleBoxesAfterSave();
    void vehicleBoxesAfterRestart();
    void unitWordFollowsTheOption();

private:
    void open();
    void calculateExample();
    void save(const QString& registration);
    QByteArray file() const;
    QString path() const { return m_dir.filePath(QStringLiteral("TripLedger.txt")); }

    QTemporaryDir m_dir;
    std::unique_ptr<TestWindow> m_window;
};

void TestSaveWindow::init()
{
    QFile::remove(path());
    QDir(m_dir.path()).rmdir(QStringLiteral("TripLedger.txt"));
    open();
}

void TestSaveWindow::open()
{
    m_window = std::make_unique<TestWindow>(testEnvironment(m_dir.path()));
    QVERIFY(m_window->Form_Load());
    m_window->show();
}

void TestSaveWindow::calculateExample()
{
    m_window->type("txtMileage", "400");
    m_window->type("txtCost", "45.50");
    m_window->type("txtCommuteDistance", "15");
    m_window->type("txtPricePerUnit", "95");
    m_window->click("cmdCalc");
    QCOMPARE(m_window->items("lvwDataView").value(0), QStringLiteral("MPG: 41.76"));
}

void TestSaveWindow::save(const QString& registration)
{
    auto* box = m_window->control<QComboBox>("cboVehicleReg");
    box->lineEdit()->clear();
    QTest::keyClicks(box->lineEdit(), registration);
    m_window->click("cmdSave");
}

QByteArray TestSaveWindow::file() const
{
    QFile f(path());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

void TestSaveWindow::firstSaveWritesTheExampleLine()
{
    calculateExample();
    save(QStringLiteral("AB12 CDE"));
    QCOMPARE(file(), QByteArray("VehicleReg:AB12 CDE;Date:21/03/2005 14:35:12;Mileage:400;Cost:45.50;MPG: 41.76;"
                                "Commute Distance:15;Price Per Unit:95;Unit:Litre;\r\n"));
    QCOMPARE(m_window->status(), QStringLiteral("Mileage Costs Saved."));
    QVERIFY(m_window->messages.isEmpty());
}

void TestSaveWindow::laterSavesAppend()
{
    calculateExample();
    save(QStringLiteral("AB12 CDE"));
    const QByteArray first = file();
    save(QStringLiteral("AB12 CDE"));
    save(QStringLiteral(" XY99 ZZZ "));
    const QList<QByteArray> lines = file().split('\n');
    QCOMPARE(lines.size(), 4); // three lines and the empty rest after the last line break
    QCOMPARE(lines[0] + '\n', first);
    QCOMPARE(lines[1] + '\n', first);
    QVERIFY(lines[2].startsWith("VehicleReg: XY99 ZZZ ;Date:"));
}

void TestSaveWindow::nothingToSave_data()
{
    QTest::addColumn<QString>("before");
    QTest::newRow("nothing calculated, from the menu") << "menu";
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
        m_window->control<QAction>("mnuFileSave")->trigger();
    else
        m_window->click("cmdSave");

    QCOMPARE(m_window->messages.size(), 1);
    QCOMPARE(m_window->messages[0].title, QStringLiteral("No Data To Save"));
    QCOMPARE(m_window->messages[0].text,
             QStringLiteral("You need to have calculated something for the system to save information!"));
    QCOMPARE(m_window->messages[0].icon, QMessageBox::Information);
    QCOMPARE(m_window->status(), status);
    QCOMPARE(file(), QByteArray("<absent>"));
}

void TestSaveWindow::registrationRefused_data()
{
    QTest::addColumn<QString>("registration");
    QTest::addColumn<QString>("description");
    QTest::newRow("empty") << "" << "You must enter a vehicle registration to save the details.";
    QTest::newRow("three blanks") << "   " << "You must enter a vehicle registration to save the details.";
    QTest::newRow("semicolon") << "AB;12" << "A vehicle registration cannot contain a semicolon.";
}

void TestSaveWindow::registrationRefused()
{
    QFETCH(QString, registration);
    QFETCH(QString, description);
    calculateExample();
    save(registration);
    QCOMPARE(m_window->messages.size(), 1);
    QCOMPARE(m_window->messages[0].title, QStringLiteral("Save Data Error"));
    QCOMPARE(m_window->messages[0].text, QStringLiteral("Vehicle Registration Check Failure - ") + description);
    QCOMPARE(m_window->messages[0].icon, QMessageBox::Critical);
    QCOMPARE(m_window->status(), QStringLiteral("Save mileage costs had an error."));
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
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Cannot call seek on a sequential device")));
    } else {
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("TripLedger.txt")));
    }

    calculateExample();
    save(QStringLiteral("AB12 CDE"));
    QCOMPARE(m_window->messages.size(), 1);
    QCOMPARE(m_window->messages[0].title, QStringLiteral("Save Data Error"));
    QVERIFY2(m_window->messages[0].text.startsWith(QStringLiteral("TripLedger.txt - ")),
             qPrintable(m_window->messages[0].text));
    QCOMPARE(m_window->status(), QStringLiteral("Save mileage costs had an error."));
    if (diskFull)
        QVERIFY(QFileInfo(path()).isSymLink());
    else
        QVERIFY(QFileInfo(path()).isDir());
    QVERIFY(m_window->entries("cboVehicleReg").isEmpty());

    // The program goes on working once the disk is mended.
    QFile::remove(path());
    QDir(m_dir.path()).rmdir(QStringLiteral("TripLedger.txt"));
    m_window->click("cmdSave");
    QCOMPARE(m_window->status(), QStringLiteral("Mileage Costs Saved."));
    QCOMPARE(file().count('\n'), 1);
}

void TestSaveWindow::vehicleBoxesAfterSave()
{
    calculateExample();
    save(QStringLiteral("AB12 CDE"));
    save(QStringLiteral("XY99 ZZZ"));
    save(QStringLiteral("AB12 CDE"));
    save(QStringLiteral("ab12 cde"));
    const QStringList expected { "AB12 CDE", "XY99 ZZZ", "ab12 cde" };
    QCOMPARE(m_window->entries("cboVehicleReg"), expected);
    QCOMPARE(m_window->entries("cboVehicleList"), expected);
    QCOMPARE(m_window->control<QComboBox>("cboVehicleReg")->currentText(), QStringLiteral("ab12 cde"));
    QCOMPARE(m_window->control<QComboBox>("cboVehicleList")->currentText(), QString());
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
    m_window->type("txtMileage", "400");
    m_window->type("txtCost", "45");
    m_window->type("txtCommuteDistance", "10");
    m_window->type("txtPricePerUnit", "4.5");
    m_window->click("cmdCalc");
    save(QStringLiteral("G1"));
    QVERIFY(file().endsWith("MPG: 40.00;Commute Distance:10;Price Per Unit:4.5;Unit:Gallon;\r\n"));
}

QTEST_MAIN(TestSaveWindow)
#include "tst_savewindow.moc"
