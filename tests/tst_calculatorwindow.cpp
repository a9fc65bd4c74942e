#include "TestWindow.h"

#include "calc/AppError.h"
#include "views/ImageList.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

// The Calculator page through the real window: start-up, the calculation and its error paths.
class TestCalculatorWindow : public WindowTest
{
    Q_OBJECT

private slots:
    void init() { open(); }
    void cleanup() { m_window.reset(); }

    void startsAsDesigned()
    {
        const TestWindow& w = *m_window;
        QVERIFY(w.control<QGroupBox>("fraCalc")->isVisible() && !w.control<QGroupBox>("fraHistory")->isVisible()
            && !w.control<QGroupBox>("fraChart")->isVisible());
        QVERIFY(w.control<QRadioButton>("optUnits_0")->isChecked() && !w.control<QPushButton>("cmdSave")->isEnabled());
        QVERIFY(w.status().isEmpty() && w.messages.isEmpty());
        // The focus starts in the mileage box; the hidden History tree and the disabled Save are passed over, and
        // the unit pair is one stop.
        QStringList visited { QApplication::focusWidget()->objectName() };
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(visited,
            (QStringList { "txtMileage", "txtCost", "txtCommuteDistance", "optUnits_0", "txtPricePerUnit", "cmdCalc",
                "lvwDataView", "cboVehicleReg", "tbsData" }));
    }

    void captionsFitTheirPlaces()
    {
        const int boxes = m_window->control<QWidget>("txtMileage")->x();
        for (auto* label : m_window->control<QWidget>("fraCalculator")->findChildren<QLabel*>()) {
            const QString firstLine = label->text().section(QStringLiteral("  "), 0, 0);
            QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(firstLine) <= label->width()
                    && label->geometry().right() < boxes,
                qPrintable(firstLine));
        }
        // "(one way)" goes onto the commute label's second line, and the label has room for it.
        const auto* commute = m_window->control<QLabel>("lblCommuteDistnace");
        const int height = commute->heightForWidth(commute->width());
        QVERIFY(height > QFontMetrics(commute->font()).height() && height <= commute->height());
        for (const char* name : { "optUnits_0", "optUnits_1", "cmdCalc", "cmdSave", "lblVehicleReg", "lblDataItem" }) {
            const QWidget* control = m_window->control<QWidget>(name);
            QVERIFY2(control->minimumSizeHint().width() <= control->width(), name);
        }
    }

    void calculates()
    {
        AppEnvironment given = environment(QLocale(QStringLiteral("de_DE")));
        given.languageName = [] {
            return QStringLiteral("English (United States)");
        }; // 4 litres to the gallon
        open(given);
        m_window->calculate({ "400", "45", "0,5", "90" });
        QCOMPARE(m_window->items("lvwDataView"),
            (QStringList { "MPG: 32,00", "Per Gallon: 3,60", "Monthly Cost: 2,41", "Daily Cost: ,11" }));
        const auto* list = m_window->control<QListWidget>("lvwDataView");
        const QStringList keys { "MI", "CO", "PM", "PW" }; // each line's own image
        for (int i = 0; i < int(keys.size()); ++i)
            QCOMPARE(list->item(i)->icon().pixmap(16).toImage(), ImageList::icon(keys[i]).pixmap(16).toImage());
        QCOMPARE(m_window->status(), QStringLiteral("Mileage costs calculated."));
        QVERIFY(m_window->control<QPushButton>("cmdSave")->isEnabled() && m_window->messages.isEmpty());
        m_window->click("optUnits_1");
        m_window->calculate({ "400", "45", "0,5", "4,5" });
        QCOMPARE(m_window->items("lvwDataView").value(1), QStringLiteral("Per Gallon: 4,50"));
    }

    void calculationErrors_data()
    {
        QTest::addColumn<bool>("calculatedBefore"); // Save was enabled by an earlier run
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus"); // the control with the focus afterwards
        const auto row
            = [](const char* name, bool before, const QStringList& inputs, const QString& message, const char* focus) {
                  QTest::newRow(name) << before << inputs << message << QString(focus);
              };
        const QString bad
            = QStringLiteral("Double Check Failure - %1 is not a valid number please only enter numbers.");
        row("mileage and price bad: mileage named", true, { "four", "45", "10", "?" }, bad.arg("Mileage"),
            "txtMileage");
        row("first run fails: Save stays disabled", false, { "400", "45", "10", "9O" }, bad.arg("Price Per Unit"),
            "txtPricePerUnit");
        row("zero commute", true, { "400", "45", "0", "90" }, "TripLedger - Division by zero", "cmdCalc");
        row("zero mileage and cost", true, { "0", "0", "10", "90" }, "TripLedger - Overflow", "cmdCalc");
    }

    void calculationErrors()
    {
        QFETCH(bool, calculatedBefore);
        QFETCH(QStringList, inputs);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        if (calculatedBefore)
            m_window->calculate({ "400", "45", "10", "90" });
        m_window->calculate(inputs);
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        if (auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
            QCOMPARE(box->selectedText(), box->text()); // ready to be typed over
        QCOMPARE(m_window->messages, QStringList { "critical | Data Entry Error | " + message });
        QCOMPARE(m_window->statusUnderMessage, QStringLiteral("Mileage costs had an error."));
        QVERIFY(m_window->items("lvwDataView").isEmpty());
        QCOMPARE(m_window->control<QPushButton>("cmdSave")->isEnabled(), calculatedBefore);
    }

    void editThenEnter_data()
    {
        QTest::addColumn<QString>("control");
        for (const char* name :
            { "txtMileage", "txtCost", "txtCommuteDistance", "txtPricePerUnit", "optUnits_1", "cmdCalc" })
            QTest::newRow(name) << name;
    }

    void editThenEnter()
    {
        QFETCH(QString, control);
        m_window->calculate({ "400", "45", "10", "90" });
        auto* widget = m_window->control<QWidget>(qPrintable(control));
        if (auto* box = qobject_cast<QLineEdit*>(widget))
            QTest::keyClicks(box, QStringLiteral("1"));
        else if (control == QLatin1String("optUnits_1"))
            m_window->click("optUnits_1");
        else
            m_window->control<QListWidget>("lvwDataView")->clear();
        QVERIFY(m_window->items("lvwDataView").isEmpty()); // results that no longer describe the inputs are gone
        if (control == QLatin1String("optUnits_1"))
            return;
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_Return);
        QTest::keyClick(widget, Qt::Key_Enter);
        QCOMPARE(m_window->items("lvwDataView").size(), 4); // each run replaces the results: four lines, not eight
    }

    void localeFailureEndsStartUp()
    {
        AppEnvironment failing = environment();
        failing.languageName = []() -> QString {
            throw AppError(AppError::PlatformFailure, "Locale Service", "The user's language could not be read.");
        };
        TestWindow window(failing);
        QVERIFY(!window.Form_Load());
        QVERIFY(!window.isVisible());
        QCOMPARE(window.messages,
            QStringList { "critical | Registry Load Error | Locale Service - The user's language could not be read." });
    }
};

QTEST_MAIN(TestCalculatorWindow)
#include "tst_calculatorwindow.moc"
