#include "TestWindow.h"

#include "views/ReportPainter.h"

#include <QFileDialog>
#include <QProcess>
#include <QPushButton>

// File > Print Report through the real window: the vehicle dialog, the PDF it saves, read back with pdftotext.
class TestReportWindow : public WindowTest
{
    Q_OBJECT

private slots:
    void cleanup() { m_window.reset(); }

    void savesThePdf()
    {
        // Two tanks of different sizes, then sixty-one calculations whose mileage cannot be read, left out of
        // the totals: a table over two pages. Another vehicle stays out of its report.
        QByteArray history = "VehicleReg:AB12 CDE;Date:01/01/2005 08:00:00;Mileage:100;Cost:10;MPG: 20.00;"
                             "Commute Distance:10;Price Per Unit:90;Unit:Litre;\r\n"
            + record("XY99", " 50.00") + record("AB12 CDE", " 40.00").replace("Cost:45", "Cost:30");
        for (int i = 0; i < 60; ++i)
            history += record("AB12 CDE", " 30.00", QByteArray::number(10 + i % 18) + "/06/2005 09:00:00")
                           .replace("Mileage:400", "Mileage:lots");
        history += record("AB12 CDE", " 45.00", "31/12/2005 18:00:00").replace("Mileage:400", "Mileage:?");
        m_folder.write(history);
        AppEnvironment given = environment();
        given.documentsDirectory = m_documents.path();
        open(given);
        auto* vehicles = m_window->control<QComboBox>("cboVehicleList");
        vehicles->setCurrentIndex(vehicles->findText(QStringLiteral("AB12 CDE"))); // chosen on the Graph page

        QString started; // the vehicle the report dialog started on, then the PDF's name offered
        QTimer answer;
        answer.callOnTimeout([&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal->objectName() == QLatin1String("dlgReport")) {
                started = modal->findChild<QComboBox*>(QStringLiteral("cboReportVehicle"))->currentText();
                modal->findChild<QPushButton*>(QStringLiteral("cmdSavePdf"))->click();
            } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                answer.stop();
                started += u' ' + QFileInfo(dialog->selectedFiles().value(0)).fileName();
                QMetaObject::invokeMethod(dialog, "accept");
            }
        });
        answer.start();
        QTest::keyClick(m_window->control<QWidget>("txtMileage"), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(started, QStringLiteral("AB12 CDE TripLedger-Report-2005-03-21.pdf"));
        const QString pdf = m_documents.filePath(QStringLiteral("TripLedger-Report-2005-03-21.pdf"));
        QCOMPARE(m_window->status(), QStringLiteral("Report saved as ") + pdf + u'.');
        QVERIFY(m_window->messages.isEmpty());
        QCOMPARE(m_folder.read(), history);

        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), { QStringLiteral("-layout"), pdf, QStringLiteral("-") });
        QVERIFY2(pdftotext.waitForFinished(30000), "pdftotext (poppler-utils) is needed");
        const QString pages = QString::fromUtf8(pdftotext.readAllStandardOutput());
        const QString text = pages.simplified();
        const QStringList expected = { "Vehicle AB12 CDE", "First calculation 01/01/2005 08:00:00",
            "Last calculation 31/12/2005 18:00:00", "Calculations counted 2", "Total miles 500.00",
            "Total fuel (gallons) 15.00", "Total spent 40.00", "Overall MPG 33.33", "Mean MPG 30.00",
            "Cost per mile .08", "Lowest MPG 20.00", "Highest MPG 40.00",
            "Date Miles Cost MPG Price Unit 01/01/2005 08:00:00 100 10.00 20.00 90 Litre",
            "31/12/2005 18:00:00 ? 45.00 45.00 90 Litre",
            "61 calculations listed here are left out of the totals: their mileage, cost or MPG cannot be read." };
        for (const QString& shown : expected)
            QVERIFY2(text.contains(shown), qPrintable(shown + QStringLiteral(" not in: ") + text));
        QVERIFY(!text.contains(QStringLiteral("XY99")));
        // The table's header on every page of it.
        QVERIFY(pages.count(u'\f') >= 2);
        QCOMPARE(text.count(QStringLiteral("Date Miles Cost MPG Price Unit")), pages.count(u'\f'));
    }

    void paperOfTheRegionalSettings_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<int>("paper");
        QTest::newRow("United Kingdom") << "en_GB" << int(QPageSize::A4);
        QTest::newRow("Germany") << "de_DE" << int(QPageSize::A4);
        QTest::newRow("United States") << "en_US" << int(QPageSize::Letter);
        QTest::newRow("Canada, in French") << "fr_CA" << int(QPageSize::Letter);
    }

    void paperOfTheRegionalSettings()
    {
        QFETCH(QString, settings);
        QFETCH(int, paper);
        QCOMPARE(int(ReportPainter::pageSize(QLocale(settings)).id()), paper);
    }

private:
    QTemporaryDir m_documents;
};

QTEST_MAIN(TestReportWindow)
#include "tst_reportwindow.moc"
