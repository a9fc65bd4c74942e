#pragma once

#include "shell/MainWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStatusBar>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

// The main window with its message boxes recorded instead of shown, in a folder of its own.
struct ShownMessage
{
    QString text;
    QString title;
    QMessageBox::Icon icon;
};

inline AppEnvironment testEnvironment(const QString& dataDirectory, const QLocale& locale = QLocale(QLocale::English, QLocale::UnitedKingdom))
{
    AppEnvironment environment = AppEnvironment::system();
    environment.locale = locale;
    environment.languageName = [locale] { return QLocale::languageToString(locale.language()) + QStringLiteral(" (") + QLocale::territoryToString(locale.territory()) + QLatin1Char(')'); };
    environment.now = [] { return QDateTime(QDate(2005, 3, 21), QTime(14, 35, 12)); };
    environment.dataDirectory = dataDirectory;
    return environment;
}

class TestWindow : public frmTripLedger
{
public:
    explicit TestWindow(AppEnvironment environment)
        : frmTripLedger(std::move(environment))
    {
    }

    QList<ShownMessage> messages;

    template <typename T>
    T* control(const char* name) const
    {
        T* widget = findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    QString status() const { return control<QLabel>("sbtStatusText")->text(); }

    QStringList items(const char* listName) const
    {
        QStringList texts;
        const auto* list = control<QListWidget>(listName);
        for (int i = 0; i < list->count(); ++i)
            texts.append(list->item(i)->text());
        return texts;
    }

    QStringList entries(const char* comboName) const
    {
        QStringList texts;
        const auto* box = control<QComboBox>(comboName);
        for (int i = 0; i < box->count(); ++i)
            texts.append(box->itemText(i));
        return texts;
    }

    // Types into the box as a user would, replacing what it held.
    void type(const char* boxName, const QString& text)
    {
        auto* box = control<QLineEdit>(boxName);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }

    void click(const char* buttonName) { QTest::mouseClick(control<QWidget>(buttonName), Qt::LeftButton); }

protected:
    void showMessage(const QString& text, const QString& title, QMessageBox::Icon icon) override
    {
        messages.append({ text, title, icon });
    }
};
