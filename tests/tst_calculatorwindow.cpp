#include "TestWindow.h"

#include "calc/AppError.h"
#include "shell/AboutDialog.h"
#include "views/Contrast.h"
#include "views/ImageList.h"

#include <QChart>
#include <QChartView>
#include <QGroupBox>
#include <QLineSeries>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

// The Calculator page through the real window: start-up, the desktop's font and palette, the calculation and its
// error paths.
class TestCalculatorWindow : public WindowTest
{
    Q_OBJECT

    const QFont m_desktopFont = QApplication::font();

private slots:
    void init() { open(); }
    void cleanup()
    {
        m_window.reset();
        QApplication::setFont(m_desktopFont);
        QApplication::setPalette(QApplication::style()->standardPalette());
    }

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

    // The window in the desktop's font, at the reference size and larger, under a palette given while it runs.
    void followsTheDesktop_data()
    {
        QTest::addColumn<QFont>("font");
        QTest::addColumn<QPalette>("palette");
        QPalette dark(QColor(0x424245), QColor(0x222020)); // the colours of qt6ct's "darker"
        for (const auto role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText })
            dark.setColor(role, Qt::white);
        dark.setColor(QPalette::Base, QColor(0x3d3d3d));
        dark.setColor(QPalette::Mid, QColor(0x4a4947));
        QPalette highContrast(Qt::white, Qt::black, Qt::white, Qt::white, Qt::gray, Qt::white, Qt::black);
        const QList<QFont> fonts = { QFont("Liberation Sans", 7), QFont("DejaVu Sans", 8), QFont("DejaVu Sans", 12),
            QFont("DejaVu Sans", 16), QFont("DejaVu Sans", 20) };
        for (const QFont& font : fonts) {
            const QString size = QString::number(font.pointSize()) + (font.pointSize() == 7 ? " (reference)" : "");
            QTest::newRow(qPrintable(size + " light")) << font << QApplication::style()->standardPalette();
            QTest::newRow(qPrintable(size + " dark")) << font << dark;
            QTest::newRow(qPrintable(size + " high contrast")) << font << highContrast;
        }
    }

    void followsTheDesktop()
    {
        QFETCH(QFont, font);
        QFETCH(QPalette, palette);
        // Started in another font, the window follows the desktop's while it runs, larger or smaller.
        QApplication::setFont(font.pointSize() < 16 ? QFont("DejaVu Sans", 20) : QFont("Liberation Sans", 7));
        open();
        QApplication::setFont(font);
        QApplication::setPalette(palette);
        QCoreApplication::processEvents(); // the window hears of it, then recolours once every control has
        QCoreApplication::processEvents();
        m_window->calculate({ "400", "45", "10", "90" });
        // The lists' images as high as their text, drawn at that size.
        for (const char* name : { "lvwDataView", "tvwListData", "lvwAverageData" }) {
            const QSize image = m_window->control<QAbstractItemView>(name)->iconSize();
            QVERIFY(image.height() >= QFontMetrics(font).height());
            QCOMPARE(ImageList::icon("MI").pixmap(image).size(), image);
        }
        frmAbout about(m_window.get());
        about.show();
        const bool highContrast = palette.color(QPalette::Window) == Qt::black;
        QStringList cut;
        QStringList illegible;
        for (QWidget* w : m_window->findChildren<QWidget*>()) { // the About window's controls too
            if (qobject_cast<QTabBar*>(w->parentWidget()))
                continue; // its scroll buttons, shown only when the tabs are cut
            const QRect room = w->contentsRect();
            const QSize least = w->minimumSizeHint();
            const QFontMetrics metrics(w->font());
            bool whole = true;
            if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) {
                const QSize text = metrics.size(Qt::TextShowMnemonic, label->text());
                whole = label->wordWrap()
                    ? least.width() <= room.width() && label->heightForWidth(w->width()) <= w->height()
                    : text.width() <= room.width() && text.height() <= room.height();
            } else if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QGroupBox*>(w)) {
                whole = least.width() <= w->width() && least.height() <= w->height();
            } else if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)) {
                whole = least.height() <= w->height() || qobject_cast<QComboBox*>(w->parentWidget());
            } else if (auto* tabs = qobject_cast<QTabBar*>(w)) { // each tab whole but for its lower edge
                const int caption = std::max(metrics.height(), tabs->iconSize().height());
                for (int i = 0; i < tabs->count(); ++i) {
                    const QRect tab = tabs->tabRect(i);
                    whole = whole && tab.right() < w->width() && tab.center().y() + caption / 2 < w->height()
                        && tab.bottom() >= w->height() - 1; // meeting the page below
                }
            } else if (auto* list = qobject_cast<QListWidget*>(w)) {
                for (int i = 0; i < list->count(); ++i)
                    whole = whole && list->viewport()->rect().contains(list->visualItemRect(list->item(i)));
            }
            if (!whole)
                cut.append(w->objectName());
            if ((qobject_cast<QLabel*>(w) || qobject_cast<QGroupBox*>(w) || qobject_cast<QRadioButton*>(w))) {
                const QColor colour = w->palette().color(QPalette::WindowText);
                if (Contrast::ratio(colour, w->palette().color(QPalette::Window)) < 4.5
                    || (highContrast && colour != Qt::white))
                    illegible.append(w->objectName());
            }
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u' ')));
        QVERIFY2(illegible.isEmpty(), qPrintable(illegible.join(u' ')));
        QCOMPARE(m_window->size(), m_window->minimumSize()); // the designed size, the smallest
        if (font.pointSize() <= 16)
            QVERIFY(m_window->width() <= 1280 && m_window->height() <= 1000); // with a title bar
        // The chart on the palette's base, its texts and line legible on it.
        const QChart* chart = m_window->findChild<QChartView*>()->chart();
        const QColor chartBackground = chart->backgroundBrush().color();
        QCOMPARE(chartBackground, palette.color(QPalette::Base));
        for (const QAbstractAxis* axis : chart->axes())
            QVERIFY(Contrast::ratio(axis->labelsBrush().color(), chartBackground) >= 4.5);
        const auto* line = qobject_cast<const QLineSeries*>(chart->series().value(0));
        QVERIFY(Contrast::ratio(line->color(), chartBackground) >= 4.5);
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

    // Results that no longer describe the inputs go at once; Enter calculates again.
    void editThenEnter_data()
    {
        QTest::addColumn<QString>("edited");
        QTest::addColumn<QString>("enterOn"); // empty: no Enter
        for (const char* box : { "txtMileage", "txtCost", "txtCommuteDistance", "txtPricePerUnit" })
            QTest::newRow(box) << box << box;
        QTest::newRow("optUnits_1") << "optUnits_1"
                                    << "";
        QTest::newRow("cmdCalc, after an edit") << "txtCost"
                                                << "cmdCalc";
    }

    void editThenEnter()
    {
        QFETCH(QString, edited);
        QFETCH(QString, enterOn);
        m_window->calculate({ "400", "45", "10", "90" });
        auto* widget = m_window->control<QWidget>(qPrintable(edited));
        if (auto* box = qobject_cast<QLineEdit*>(widget))
            QTest::keyClicks(box, QStringLiteral("1"));
        else
            m_window->click(qPrintable(edited));
        QVERIFY(m_window->items("lvwDataView").isEmpty());
        if (enterOn.isEmpty())
            return;
        auto* target = m_window->control<QWidget>(qPrintable(enterOn));
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Enter);
        QCOMPARE(m_window->items("lvwDataView").size(), 4); // each run replaces the results: four lines, not eight
    }

    void localeFailureEndsStartUp()
    {
        AppEnvironment failing = environment();
        failing.languageName = []() -> QString {
            throw AppError("Locale Service", "The user's language could not be read.");
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
