#include "ReadOnlyFolder.h"
#include "TestWindow.h"

#include <QFileDialog>

// File > Export History through the real window: the save dialog, the remembered file type, the status bar and
// the message box of a failure.
class TestExportWindow : public WindowTest
{
    Q_OBJECT

private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path())); } // QSettings go there
    void init()
    {
        m_folder.remove();
        AppEnvironment given = environment();
        given.documentsDirectory = m_documents.path();
        open(given);
    }
    void cleanup() { m_window.reset(); }

    void exportsThroughTheDialog()
    {
        const QByteArray history = record("AB12 CDE", " 41.76") + "damaged\r\n";
        m_folder.write(history);
        const QString csv = m_documents.filePath(QStringLiteral("TripLedger-2005-03-21.csv"));
        QCOMPARE(exportBy(QStringLiteral("CSV, semicolon separated (*.csv)")),
            m_documents.path() + QStringLiteral(" TripLedger-2005-03-21.csv CSV, comma separated (*.csv)"));
        QCOMPARE(m_window->status(),
            QStringLiteral("History exported to ") + csv
                + QStringLiteral(": 1 record written, 1 damaged line left out."));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
            "\xEF\xBB\xBFVehicle;Date;Miles;Cost;MPG;Commute miles (one way);Price per unit;Unit\r\n"
            "AB12 CDE;2005-03-21T14:35:12;400;45;41.76;10;90;Litre\r\n");
        // The file type chosen is offered next time; a dialog cancelled does nothing.
        QVERIFY(QFile::remove(csv));
        QCOMPARE(exportBy(QString()).section(u' ', 2), QStringLiteral("CSV, semicolon separated (*.csv)"));
        QVERIFY(!QFile::exists(csv));
        QCOMPARE(m_folder.read(), history);
        QVERIFY(m_window->messages.isEmpty());
    }

    void failureIsReported()
    {
        m_folder.write(record("AB12 CDE", " 41.76"));
        {
            ReadOnlyFolder readOnly(m_documents.path());
            exportBy(QStringLiteral("CSV, comma separated (*.csv)"));
        }
        QCOMPARE(m_window->messages << m_window->statusUnderMessage,
            (QStringList { QStringLiteral("critical | Export Data Error | ")
                    + m_documents.filePath(QStringLiteral("TripLedger-2005-03-21.csv"))
                    + QStringLiteral(" - Permission denied"),
                "Export history had an error." }));
        QVERIFY(QDir(m_documents.path()).isEmpty());
    }

private:
    // Presses Ctrl+Shift+E in a text box and answers the save dialog with the file type given (or cancels it when
    // none is given); returns the folder, file name and file type the dialog started with.
    QString exportBy(const QString& fileType)
    {
        QString started;
        QTimer answer;
        answer.callOnTimeout([&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            answer.stop();
            started = dialog->directory().path() + u' ' + QFileInfo(dialog->selectedFiles().value(0)).fileName() + u' '
                + dialog->selectedNameFilter();
            if (fileType.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectNameFilter(fileType);
            QMetaObject::invokeMethod(dialog, "accept"); // as the Save button does
        });
        answer.start();
        m_window->activateWindow(); // as the desktop does when a dialog closes
        if (!QTest::qWaitForWindowActive(m_window.get()))
            return QStringLiteral("window not active");
        QTest::keyClick(m_window->control<QWidget>("txtMileage"), Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
        return started;
    }

    QTemporaryDir m_config;
    QTemporaryDir m_documents;
};

QTEST_MAIN(TestExportWindow)
#include "tst_exportwindow.moc"
