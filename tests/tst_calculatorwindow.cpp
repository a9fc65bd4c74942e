#include "TestWindow.h"

#include "calc/AppError.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTreeView>

// The Calculator page through the real window: start-up, the calculation and its error paths.
class TestCalculatorWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsAsDesigned();
    void captionsAndNames_data();
    void captionsAndNames();
    void captionsFitTheirPlaces();
    void labelsNameTheirBoxes();
    void keyboardOrder();

    void calculates_data();
    void calculates();
    void calculationErrors_data();
    void calculationErrors();
    void failedRunKeepsSaveEnabled();
    void editingClearsResults();

    void localeDecidesTheGallon_data();
    void localeDecidesTheGallon();
    void localeFailureEndsStartUp();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestWindow> m_window;
    void open(const QLocale& locale = QLocale(QLocale::English, QLocale::UnitedKingdom));
    void enter(const QStringList& inputs);
};

void TestCalculatorWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    open();
}

void TestCalculatorWindow::cleanup()
{
    m_window.reset();
    m_dir.reset();
}

void TestCalculatorWindow::open(const QLocale& locale)
{
    m_window = std::make_unique<TestWindow>(testEnvironment(m_dir->path(), locale));
    QVERIFY(m_window->Form_Load());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestCalculatorWindow::enter(const QStringList& inputs)
{
    const char* boxes[] = { "txtMileage", "txtCost", "txtCommuteDistance", "txtPricePerUnit" };
    for (int i = 0; i < 4; ++i)
        m_window->type(boxes[i], inputs[i]);
}

void TestCalculatorWindow::startsAsDesigned()
{
    TestWindow& w = *m_window;
    QCOMPARE(w.windowTitle(), QStringLiteral("Trip Ledger"));
    QCOMPARE(w.size().width(), 424);
    QVERIFY(w.control<QGroupBox>("fraCalc")->isVisible());
    QVERIFY(!w.control<QGroupBox>("fraHistory")->isVisible());
    QVERIFY(!w.control<QGroupBox>("fraChart")->isVisible());
    QVERIFY(w.control<QRadioButton>("optUnits_0")->isChecked());
    QVERIFY(!w.control<QRadioButton>("optUnits_1")->isChecked());
    QVERIFY(!w.control<QPushButton>("cmdSave")->isEnabled());
    for (const char* box : { "txtMileage", "txtCost", "txtCommuteDistance", "txtPricePerUnit" })
        QVERIFY(w.control<QLineEdit>(box)->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), w.control<QWidget>("txtMileage"));
    QCOMPARE(w.status(), QString());
    QVERIFY(w.items("lvwDataView").isEmpty());
    QVERIFY(w.messages.isEmpty());

    const auto* tabs = w.control<QTabBar>("tbsData");
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->currentIndex(), 0);
    const QStringList captions { "Calculator", "History", "Graph" };
    const QStringList tips { "Trip Ledger", "Saved History", "Graph of Mileage Calculation History " };
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(tabs->tabText(i), captions[i]);
        QCOMPARE(tabs->tabToolTip(i), tips[i]);
        QVERIFY(!tabs->tabIcon(i).isNull());
    }
}

void TestCalculatorWindow::captionsAndNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("place"); // pixels, relative to the container

    QTest::newRow("calculator page") << "fraCalc" << "Calculation Details" << QRect(16, 32, 393, 353);
    QTest::newRow("input frame") << "fraCalculator" << "Please enter the required details below" << QRect(8, 16, 377, 177);
    QTest::newRow("mileage") << "lblMileage" << "Mileage on the current tank of fuel" << QRect();
    QTest::newRow("cost") << "lblCost" << "Cost of filling tank to brim" << QRect();
    QTest::newRow("commute") << "lblCommuteDistnace"
                             << QStringLiteral("Distance of commute per day") + QString(42, u' ') + "(one way)" << QRect();
    QTest::newRow("litres") << "optUnits_0" << "Litres" << QRect(184, 96, 48, 20);
    QTest::newRow("gallons") << "optUnits_1" << "Gallons" << QRect(232, 96, 72, 20);
    QTest::newRow("price") << "lblPricePerLitre" << "Price of unit of fuel in pence or cents" << QRect();
    QTest::newRow("calculate") << "cmdCalc" << "&Calculate" << QRect(280, 144, 89, 25);
    QTest::newRow("registration") << "lblVehicleReg" << "Please Enter Vehicle Registration" << QRect();
    QTest::newRow("save") << "cmdSave" << "&Save" << QRect();
    QTest::newRow("history page") << "fraHistory" << "Historical Data" << QRect(16, 32, 393, 353);
    QTest::newRow("tree") << "tvwListData" << "" << QRect(8, 16, 377, 201);
    QTest::newRow("averages heading") << "lblDataNodes" << "Average Per Vehicle" << QRect();
    QTest::newRow("averages") << "lvwAverageData" << "" << QRect(8, 240, 377, 105);
    QTest::newRow("graph page") << "fraChart" << "Mileage Graph" << QRect(16, 32, 393, 353);
    QTest::newRow("vehicle choice") << "lblDataItem" << "Please Select Vehicle" << QRect();
    QTest::newRow("results") << "lvwDataView" << "" << QRect(8, 200, 377, 113);
    QTest::newRow("text box") << "txtMileage" << "" << QRect(184, 24, 185, 20);
}

void TestCalculatorWindow::captionsAndNames()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, place);
    auto* widget = m_window->control<QWidget>(name.toLatin1().constData());
    if (auto* label = qobject_cast<QLabel*>(widget))
        QCOMPARE(label->text(), caption);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        QCOMPARE(button->text(), caption);
    else if (auto* frame = qobject_cast<QGroupBox*>(widget))
        QCOMPARE(frame->title(), caption);
    if (!place.isNull())
        QCOMPARE(widget->geometry(), place);
}

void TestCalculatorWindow::captionsFitTheirPlaces()
{
    const auto* calculator = m_window->control<QWidget>("fraCalculator");
    for (auto* label : calculator->findChildren<QLabel*>()) {
        const QFontMetrics metrics(label->font());
        const QString firstLine = label->text().section(QStringLiteral("  "), 0, 0);
        QVERIFY2(metrics.horizontalAdvance(firstLine) <= label->width(), qPrintable(label->objectName()));
        // Labels end before the text boxes begin.
        QVERIFY2(label->geometry().right() < m_window->control<QWidget>("txtMileage")->x(),
                 qPrintable(label->objectName()));
    }
    const auto* commute = m_window->control<QLabel>("lblCommuteDistnace");
    QVERIFY(commute->heightForWidth(commute->width()) <= commute->height());
    // "(one way)" goes onto the second line.
    QVERIFY(commute->heightForWidth(commute->width()) > QFontMetrics(commute->font()).height());
    for (const char* name : { "optUnits_0", "optUnits_1", "cmdCalc", "cmdSave", "lblVehicleReg", "lblDataItem",
                              "lblDataNodes" }) {
        const auto* widget = m_window->control<QWidget>(name);
        QVERIFY2(widget->minimumSizeHint().width() <= widget->width(), name);
    }
}

void TestCalculatorWindow::labelsNameTheirBoxes()
{
    const struct {
        const char* label;
        const char* box;
    } pairs[] = {
        { "lblMileage", "txtMileage" },         { "lblCost", "txtCost" },
        { "lblCommuteDistnace", "txtCommuteDistance" }, { "lblPricePerLitre", "txtPricePerUnit" },
        { "lblVehicleReg", "cboVehicleReg" },   { "lblDataItem", "cboVehicleList" },
    };
    for (const auto& pair : pairs)
        QCOMPARE(m_window->control<QLabel>(pair.label)->buddy(), m_window->control<QWidget>(pair.box));
    for (const char* name : { "tbsData", "lvwDataView", "tvwListData", "mscMileage", "sbtStatus" })
        QVERIFY2(!m_window->control<QWidget>(name)->accessibleName().isEmpty(), name);
}

void TestCalculatorWindow::keyboardOrder()
{
    QStringList visited { QApplication::focusWidget()->objectName() };
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
    }
    // The History page's tree is hidden and Save still disabled, so the order passes over them; the unit pair
    // takes one stop.
    QCOMPARE(visited, (QStringList { "txtMileage", "txtCost", "txtCommuteDistance", "optUnits_0", "txtPricePerUnit",
                                     "cmdCalc", "lvwDataView", "cboVehicleReg", "tbsData" }));
}

void TestCalculatorWindow::calculates_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<bool>("gallons");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("litres en_GB") << "en_GB" << QStringList { "400", "45", "10", "90" } << false
                                  << QStringList { "MPG: 40.00", "Per Gallon: 4.50", "Monthly Cost: 48.27",
                                                   "Daily Cost: 2.25" };
    QTest::newRow("litres en_US counts 4 to the gallon")
        << "en_US" << QStringList { "400", "45", "10", "90" } << false
        << QStringList { "MPG: 32.00", "Per Gallon: 3.60", "Monthly Cost: 48.27", "Daily Cost: 2.25" };
    QTest::newRow("gallons de_DE with decimal comma")
        << "de_DE" << QStringList { "400", "45", "10", "4,5" } << true
        << QStringList { "MPG: 40,00", "Per Gallon: 4,50", "Monthly Cost: 48,27", "Daily Cost: 2,25" };
    QTest::newRow("half-mile commute") << "en_GB" << QStringList { "300", "40", " 0.5 ", "100" } << false
                                       << QStringList { "MPG: 37.50", "Per Gallon: 5.00", "Monthly Cost: 2.86",
                                                        "Daily Cost: .13" };
}

void TestCalculatorWindow::calculates()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, inputs);
    QFETCH(bool, gallons);
    QFETCH(QStringList, lines);

    open(QLocale(locale));
    enter(inputs);
    if (gallons)
        m_window->click("optUnits_1");
    m_window->click("cmdCalc");

    QCOMPARE(m_window->items("lvwDataView"), lines);
    QStringList keys;
    const auto* list = m_window->control<QListWidget>("lvwDataView");
    for (int i = 0; i < list->count(); ++i) {
        keys.append(list->item(i)->data(Qt::UserRole).toString());
        QVERIFY(!list->item(i)->icon().isNull());
    }
    QCOMPARE(keys, (QStringList { "MI", "CO", "PM", "PW" }));
    QCOMPARE(m_window->status(), QStringLiteral("Mileage costs calculated."));
    QVERIFY(m_window->control<QPushButton>("cmdSave")->isEnabled());
    QVERIFY(m_window->messages.isEmpty());
}

void TestCalculatorWindow::calculationErrors_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("message");

    const QString bad = QStringLiteral("Double Check Failure - %1 is not a valid number please only enter numbers.");
    QTest::newRow("letters in cost") << "en_GB" << QStringList { "400", "abc", "10", "90" } << bad.arg("Fuel Costs");
    QTest::newRow("mileage and price bad: mileage named")
        << "en_GB" << QStringList { "four", "45", "10", "?" } << bad.arg("Mileage");
    QTest::newRow("empty commute") << "en_GB" << QStringList { "400", "45", "", "90" } << bad.arg("Commute Distance");
    QTest::newRow("inf price") << "en_GB" << QStringList { "400", "45", "10", "inf" } << bad.arg("Price Per Unit");
    QTest::newRow("decimal point under de_DE") << "de_DE" << QStringList { "400", "45", "12.5", "90" }
                                               << bad.arg("Commute Distance");
    QTest::newRow("zero commute") << "en_GB" << QStringList { "400", "45", "0", "90" } << "TripLedger - Division by zero";
    QTest::newRow("zero price") << "en_GB" << QStringList { "400", "45", "10", "0" } << "TripLedger - Division by zero";
    QTest::newRow("zero mileage and cost") << "en_GB" << QStringList { "0", "0", "10", "90" } << "TripLedger - Overflow";
}

void TestCalculatorWindow::calculationErrors()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, inputs);
    QFETCH(QString, message);

    open(QLocale(locale));
    enter({ "400", "45", "10", "90" });
    m_window->click("cmdCalc");
    enter(inputs);
    m_window->click("cmdCalc");

    QCOMPARE(m_window->messages.size(), 1);
    QCOMPARE(m_window->messages[0].text, message);
    QCOMPARE(m_window->messages[0].title, QStringLiteral("Data Entry Error"));
    QCOMPARE(m_window->messages[0].icon, QMessageBox::Critical);
    QCOMPARE(m_window->status(), QStringLiteral("Mileage costs had an error."));
    QVERIFY(m_window->items("lvwDataView").isEmpty());
}

void TestCalculatorWindow::failedRunKeepsSaveEnabled()
{
    enter({ "400", "45", "10", "90" });
    m_window->click("cmdCalc");
    m_window->type("txtCost", "x");
    m_window->click("cmdCalc");
    QVERIFY(m_window->items("lvwDataView").isEmpty());
    QVERIFY(m_window->control<QPushButton>("cmdSave")->isEnabled());

    // A first run that fails leaves Save as it started: disabled.
    open();
    enter({ "400", "x", "10", "90" });
    m_window->click("cmdCalc");
    QVERIFY(!m_window->control<QPushButton>("cmdSave")->isEnabled());
}

void TestCalculatorWindow::editingClearsResults()
{
    for (const char* box : { "txtMileage", "txtCost", "txtCommuteDistance", "txtPricePerUnit", "optUnits_1" }) {
        enter({ "400", "45", "10", "90" });
        m_window->click("optUnits_0");
        m_window->click("cmdCalc");
        QCOMPARE(m_window->items("lvwDataView").size(), 4);
        if (QByteArray(box).startsWith("opt"))
            m_window->click(box);
        else
            QTest::keyClicks(m_window->control<QLineEdit>(box), QStringLiteral("1"));
        QVERIFY2(m_window->items("lvwDataView").isEmpty(), box);
    }
}

void TestCalculatorWindow::localeDecidesTheGallon_data()
{
    QTest::addColumn<QString>("languageName");
    QTest::addColumn<bool>("usEnglish");
    QTest::addColumn<QString>("perGallon");
    QTest::newRow("US English") << "English (United States)" << true << "Per Gallon: 3.60";
    QTest::newRow("UK English") << "English (United Kingdom)" << false << "Per Gallon: 4.50";
    QTest::newRow("case differs") << "English (united states)" << false << "Per Gallon: 4.50";
    QTest::newRow("no name") << "" << false << "Per Gallon: 4.50";
}

void TestCalculatorWindow::localeDecidesTheGallon()
{
    QFETCH(QString, languageName);
    QFETCH(bool, usEnglish);
    QFETCH(QString, perGallon);

    AppEnvironment environment = testEnvironment(m_dir->path());
    environment.languageName = [languageName] { return languageName; };
    m_window = std::make_unique<TestWindow>(environment);
    QVERIFY(m_window->Form_Load());
    QCOMPARE(m_window->blnUSEnglish(), usEnglish);
    enter({ "400", "45", "10", "90" });
    m_window->click("cmdCalc");
    QCOMPARE(m_window->items("lvwDataView").value(1), perGallon);
}

void TestCalculatorWindow::localeFailureEndsStartUp()
{
    AppEnvironment environment = testEnvironment(m_dir->path());
    environment.languageName = []() -> QString {
        throw AppError(AppError::PlatformFailure, QStringLiteral("Locale Service"),
                       QStringLiteral("The user's language could not be read."));
    };
    TestWindow window(environment);
    QVERIFY(!window.Form_Load());
    QVERIFY(!window.isVisible());
    QCOMPARE(window.messages.size(), 1);
    QCOMPARE(window.messages[0].title, QStringLiteral("Registry Load Error"));
    QCOMPARE(window.messages[0].text, QStringLiteral("Locale Service - The user's language could not be read."));
    QCOMPARE(window.messages[0].icon, QMessageBox::Critical);
    QVERIFY(!window.blnUSEnglish());
}

QTEST_MAIN(TestCalculatorWindow)
#include "tst_calculatorwindow.moc"
