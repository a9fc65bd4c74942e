#include "TestWindow.h"

#include <QRegularExpression>

// Saving through the real window: the file it writes, the checks before it and the vehicle boxes after it.
class TestSaveWindow : public WindowTest
{
    Q_OBJECT

private slots:
    void init()
    {
        m_folder.remove();
        open();
    }
    void cleanup() { m_window.reset(); }

    void savedExactlyAsTyped()
    {
        const QByteArray before = record("AB12 CDE", " 40.00");
        m_folder.write(before);
        open();
        QCOMPARE(m_window->control<QComboBox>("cboVehicleReg")->currentText(), QString()); // filling chose nothing
        m_window->control<QComboBox>("cboVehicleList")->setCurrentIndex(0); // chosen on the Graph page
        m_window->calculate({ "400", "45.50", "15", "95" });
        save(QStringLiteral("AB1")); // the start of a saved registration, never completed to it
        m_window->click("optUnits_1");
        m_window->calculate({ "400", "45", "10", "4.5" });
        save(QStringLiteral("ab12 cde\r")); // a saved registration in other case, then Enter
        save(QStringLiteral(" AB12 CDE "));

        const QByteArray gallon(";Date:21/03/2005 14:35:12;Mileage:400;Cost:45;MPG: 40.00;Commute Distance:10;"
                                "Price Per Unit:4.5;Unit:Gallon;\r\n");
        QCOMPARE(m_folder.read(),
            before
                + "VehicleReg:AB1;Date:21/03/2005 14:35:12;Mileage:400;Cost:45.50;MPG: 41.76;Commute Distance:15;"
                  "Price Per Unit:95;Unit:Litre;\r\n"
                + "VehicleReg:ab12 cde" + gallon + "VehicleReg: AB12 CDE " + gallon);
        QCOMPARE(m_window->status(), QStringLiteral("Mileage Costs Saved."));
        QCOMPARE(m_window->entries("cboVehicleReg"), (QStringList { "AB12 CDE", "AB1", "ab12 cde", " AB12 CDE " }));
        QCOMPARE(m_window->control<QComboBox>("cboVehicleReg")->currentText(), QStringLiteral(" AB12 CDE "));
        QCOMPARE(m_window->control<QComboBox>("cboVehicleList")->currentText(), QStringLiteral("AB12 CDE"));
    }

    void saveRefused_data()
    {
        QTest::addColumn<QString>("box"); // given text after calculating (the first result line's, for the
                                          // result list); none: nothing calculated
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("shown"); // every message, then the status while the last one was open
        const QString noData = QStringLiteral("information | No Data To Save | You need to have calculated something "
                                              "for the system to save information!");
        QTest::newRow("nothing calculated") << ""
                                            << "" << QStringList { noData, "" };
        // A cell copied from a spreadsheet brings its line break; only a paste puts one in the box.
        const auto pasted = [&](const char* name, const char* box, const char* field, const char* lineBreak) {
            QTest::newRow(name) << box << lineBreak
                                << QStringList { QStringLiteral("critical | Data Entry Error | Double Check Failure - ")
                                           + QLatin1String(field) + " is not a valid number please only enter numbers.",
                                       noData, "Mileage costs had an error." };
        };
        pasted("mileage, pasted LF", "txtMileage", "Mileage", "\n");
        pasted("price, pasted CR LF", "txtPricePerUnit", "Price Per Unit", "\r\n");
        const auto registration = [](const char* name, const char* text, const char* why) {
            QTest::newRow(name) << "cboVehicleReg" << text
                                << QStringList { "critical | Save Data Error | Vehicle Registration Check Failure - "
                                           + QString(why),
                                       "Save mileage costs had an error." };
        };
        QTest::newRow("results without an MPG first")
            << "lvwDataView"
            << "Per Gallon: 4.50"
            << QStringList { "critical | Save Data Error | MPG Check Failure - The results hold no MPG to save. "
                             "Please calculate again, then save.",
                   "Save mileage costs had an error." };
        registration("registration of blanks", "   ", "You must enter a vehicle registration to save the details.");
        registration("registration with a semicolon", "AB;12", "A vehicle registration cannot contain a semicolon.");
        registration(
            "registration with a pasted line break", "AB\n12", "A vehicle registration cannot contain a line break.");
    }

    void saveRefused()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QStringList, shown);
        if (!box.isEmpty())
            m_window->calculate({ "400", "45.50", "15", "95" });
        if (box == QLatin1String("lvwDataView"))
            m_window->control<QListWidget>("lvwDataView")->item(0)->setText(text);
        if (box.startsWith(QLatin1String("txt"))) {
            m_window->control<QLineEdit>(qPrintable(box))->insert(text);
            m_window->click("cmdCalc");
        }
        save(box == QLatin1String("cboVehicleReg") ? text : QStringLiteral("AB12 CDE"));
        QCOMPARE(m_window->messages << m_window->statusUnderMessage, shown);
        QCOMPARE(m_folder.read(), QByteArray("<absent>"));
    }

    void writeFailureIsReported_data()
    {
        QTest::addColumn<bool>("diskFull");
        QTest::newRow("file name taken by a folder") << false;
        QTest::newRow("disk full") << true;
    }

    void writeFailureIsReported()
    {
        QFETCH(bool, diskFull);
        QVERIFY(diskFull ? QFile::link(QStringLiteral("/dev/full"), m_folder.path()) : QDir().mkdir(m_folder.path()));
        if (diskFull)
            QTest::ignoreMessage(
                QtWarningMsg, QRegularExpression(QStringLiteral("Cannot call seek on a sequential device")));
        m_window->calculate({ "400", "45.50", "15", "95" });
        save(QStringLiteral("AB12 CDE"));
        // The reason after the dash is the system's own.
        QCOMPARE(m_window->messages.replaceInStrings(QRegularExpression(QStringLiteral(" - .+")), QString())
                << m_window->statusUnderMessage,
            (QStringList { "critical | Save Data Error | TripLedger.txt", "Save mileage costs had an error." }));
        QVERIFY(diskFull ? QFileInfo(m_folder.path()).isSymLink() : QFileInfo(m_folder.path()).isDir());

        // The program goes on working once the disk is mended.
        m_folder.remove();
        m_window->click("cmdSave");
        QCOMPARE(m_window->status(), QStringLiteral("Mileage Costs Saved."));
        QCOMPARE(m_folder.read().count('\n'), 1);
    }

private:
    // Types the registration ("\r" presses Enter; a line break is pasted), then presses Ctrl+S.
    void save(const QString& registration);
};

void TestSaveWindow::save(const QString& registration)
{
    QLineEdit* box = m_window->control<QComboBox>("cboVehicleReg")->lineEdit();
    box->setFocus();
    box->clear();
    if (registration.contains(u'\n'))
        box->setText(registration);
    else
        QTest::keyClicks(box, registration);
    QTest::keyClick(box, Qt::Key_S, Qt::ControlModifier); // File > Save's shortcut
}

QTEST_MAIN(TestSaveWindow)
#include "tst_savewindow.moc"
