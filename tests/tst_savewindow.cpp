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
        QTest::addColumn<QString>("history"); // where the file's name is taken, in the test's folder
        QTest::addColumn<QString>("target"); // what it links to; empty: it is a folder
        QTest::newRow("file name taken by a folder") << "TripLedger/TripLedger.txt"
                                                     << "";
        QTest::newRow("a device in its place") << "TripLedger/TripLedger.txt"
                                               << "/dev/full";
        QTest::newRow("beside the program, a link to nowhere") << "TripLedger.txt"
                                                               << "gone/TripLedger.txt";
    }

    void writeFailureIsReported()
    {
        QFETCH(QString, history);
        QFETCH(QString, target);
        const QString path = m_folder.dir() + '/' + history;
        QVERIFY(QDir(m_folder.dir()).mkpath(QStringLiteral("TripLedger")));
        QVERIFY(target.isEmpty() ? QDir().mkdir(path) : QFile::link(target, path));
        m_window->calculate({ "400", "45.50", "15", "95" });
        save(QStringLiteral("AB12 CDE"));
        // The history's full path, then the system's own reason.
        QCOMPARE(m_window->messages.replaceInStrings(QRegularExpression(QStringLiteral(" - [^/]+$")), QString())
                << m_window->statusUnderMessage,
            (QStringList { "critical | Save Data Error | " + path, "Save mileage costs had an error." }));
        QVERIFY(target.isEmpty() ? QFileInfo(path).isDir() : QFileInfo(path).isSymLink());

        // The program goes on working once the disk is mended.
        m_folder.remove();
        m_window->click("cmdSave");
        QCOMPARE(m_window->status(), QStringLiteral("Mileage Costs Saved."));
        QCOMPARE(m_folder.read().count('\n'), 1);
    }

    // Installed, the program's folder is not the user's to write: with no history beside the program, the first
    // save makes a private TripLedger folder in the data folder, and every reader and the writer go there, until
    // a history is put beside the program.
    void historyInTheDataFolderUnlessBesideTheProgram()
    {
        QTemporaryDir program;
        QVERIFY(QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_folder.dir()));
        AppEnvironment given = environment();
        given.programDirectory = program.path();
        given.dataDirectory = AppEnvironment::system().dataDirectory;
        open(given);
        m_window->calculate({ "400", "45", "10", "90" });
        save(QStringLiteral("AB12 CDE"));
        QCOMPARE(m_folder.read(), record("AB12 CDE", " 40.00"));
        QCOMPARE(int(QFileInfo(m_folder.dir() + "/TripLedger").permissions() & 0x7777), 0x7700); // rwx------
        QCOMPARE(int(QFileInfo(m_folder.path()).permissions() & 0x7777), 0x6600); // rw-------
        m_window->clickTab(1);
        QCOMPARE(m_window->items("tvwListData"), QStringList { "AB12 CDE" });

        // Another history moved beside the program: the next click reads it, the next save adds to it.
        const QString beside = program.filePath(QStringLiteral("TripLedger.txt"));
        QVERIFY(QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        m_folder.write(record("XY99", " 50.00"));
        QVERIFY(QFile::rename(m_folder.path(), beside));
        m_window->clickTab(1); // the tab already chosen
        QCOMPARE(m_window->items("tvwListData"), QStringList { "XY99" });
        m_window->clickTab(0);
        save(QStringLiteral("XY99"));
        QVERIFY(QFile::rename(beside, m_folder.path()));
        QCOMPARE(m_folder.read(), record("XY99", " 50.00") + record("XY99", " 40.00"));
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
