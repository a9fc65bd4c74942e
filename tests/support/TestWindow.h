#pragma once

#include "HistoryFolder.h"

#include "shell/MainWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>

// The main window with its message boxes recorded instead of shown, and the controls found by name.
class TestWindow : public frmTripLedger
{
public:
    using frmTripLedger::frmTripLedger;

    // Every message box shown, as "critical | title | text" or "information | title | text".
    QStringList messages;
    // The status bar's text while the last box was open.
    QString statusUnderMessage;
    // When set, each box is also shown for real and closed at once; boxTexts then holds what each box showed,
    // with "<markup>" before a text that the box would render as markup.
    bool realBoxes = false;
    QStringList boxTexts;

    template <typename T> T* control(const char* name) const
    {
        T* widget = findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    QString status() const { return control<QLabel>("sbtStatusText")->text(); }

    // The top-level entries of a list, a tree or a combo box, as shown.
    QStringList items(const char* name) const
    {
        const auto* box = findChild<QComboBox*>(QLatin1String(name));
        const QAbstractItemModel* model = box ? box->model() : control<QAbstractItemView>(name)->model();
        QStringList texts;
        for (int row = 0; row < model->rowCount(); ++row)
            texts.append(model->index(row, 0).data().toString());
        return texts;
    }
    QStringList entries(const char* comboName) const { return items(comboName); }

    // Types into the box as a user would, replacing what it held.
    void type(const char* boxName, const QString& text)
    {
        auto* box = control<QLineEdit>(boxName);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }

    void click(const char* buttonName) { QTest::mouseClick(control<QWidget>(buttonName), Qt::LeftButton); }

    void clickTab(int index)
    {
        QTest::mouseClick(
            control<QTabBar>("tbsData"), Qt::LeftButton, {}, control<QTabBar>("tbsData")->tabRect(index).center());
    }

    // Types mileage, cost, commute distance and price, and calculates.
    void calculate(const QStringList& inputs)
    {
        const char* boxes[] = { "txtMileage", "txtCost", "txtCommuteDistance", "txtPricePerUnit" };
        for (int i = 0; i < 4; ++i)
            type(boxes[i], inputs[i]);
        click("cmdCalc");
    }

protected:
    void showMessage(const QString& text, const QString& title, QMessageBox::Icon icon) override
    {
        messages.append(
            (icon == QMessageBox::Critical ? QStringLiteral("critical | ") : QStringLiteral("information | ")) + title
            + QStringLiteral(" | ") + text);
        statusUnderMessage = status();
        if (!realBoxes)
            return;
        QTimer::singleShot(0, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            boxTexts.append(
                (box->textFormat() == Qt::PlainText ? QString() : QStringLiteral("<markup>")) + box->text());
            box->accept();
        });
        frmTripLedger::showMessage(text, title, icon);
    }
};

// What every window test starts from: a window over a history folder of its own, with a fixed clock.
class WindowTest : public QObject
{
protected:
    AppEnvironment environment(const QLocale& locale = QLocale(QLocale::English, QLocale::UnitedKingdom)) const
    {
        AppEnvironment environment = AppEnvironment::system();
        environment.locale = locale;
        environment.languageName = [] {
            return QStringLiteral("English (United Kingdom)");
        };
        environment.now = [] {
            return QDateTime(QDate(2005, 3, 21), QTime(14, 35, 12));
        };
        environment.programDirectory = m_folder.dir();
        environment.dataDirectory = m_folder.dir();
        return environment;
    }

    // A new window, loaded, shown and active.
    void open(AppEnvironment environment)
    {
        m_window = std::make_unique<TestWindow>(std::move(environment));
        QVERIFY(m_window->Form_Load());
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    void open() { open(environment()); }

    HistoryFolder m_folder;
    std::unique_ptr<TestWindow> m_window;
};
