#include "HistoryFolder.h"

#include "calc/AppError.h"
#include "history/HistoryFile.h"
#include "history/HistoryRecord.h"
#include "history/RecordField.h"
#include "history/VehicleList.h"

#include <QProcess>
#include <QTest>

#include <sys/stat.h>

Q_DECLARE_METATYPE(HistoryRecord)

class TestHistoryFile : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_folder.remove(); }

    void recordField_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value"); // "unchanged" when the field is not found
        const auto row = [](const char* name, const QString& line, const char* field, const char* value) {
            QTest::newRow(name) << line << QString(field) << QString(value);
        };
        const QString example = QStringLiteral("VehicleReg:AB12 CDE;Date:21/03/2005 14:35:12;MPG: 41.76;");
        row("colons inside a value", example, "Date", "21/03/2005 14:35:12");
        row("names are case-sensitive", example, "mpg", "unchanged");
        row("empty value", "VehicleReg:;MPG: 3;", "VehicleReg", "");
        row("name inside a registration is not the field", "VehicleReg:XMPG:7;Date:d;MPG: 41.76;", "MPG", " 41.76");
    }

    void recordField()
    {
        QFETCH(QString, line);
        QFETCH(QString, name);
        QFETCH(QString, value);
        QString result = QStringLiteral("unchanged");
        QCOMPARE(GetRecordField(line, name, result), value != QLatin1String("unchanged"));
        QCOMPARE(result, value);
    }

    void recordRefusesASplitLine_data()
    {
        QTest::addColumn<HistoryRecord>("record");
        QTest::addColumn<QString>("field");
        QTest::newRow("pasted cell with LF") << HistoryRecord { "A", "d", "4\n", "4", "4", "1", "9", "L" } << "Mileage";
        QTest::newRow("lone CR") << HistoryRecord { "A\rB", "d", "4", "4", "4", "1", "9", "L" } << "VehicleReg";
        QTest::newRow("semicolon") << HistoryRecord { "A", "d", "4", "4", "4", "1", "9;5", "L" } << "Price Per Unit";
    }

    void recordRefusesASplitLine()
    {
        QFETCH(HistoryRecord, record);
        QFETCH(QString, field);
        try {
            record.toLine();
            QFAIL("a line that would split was built");
        } catch (const AppError& error) {
            QCOMPARE(error.message(),
                "Record Check Failure - The " + field + " field cannot contain a line break or a semicolon.");
        }
    }

    void readsAnyFileAndAppendsAfterIt_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF; a lone CR stays in its line")
            << QByteArray("a\rb\r\nc\r\n") << QStringList { "a\rb", "c" };
        QTest::newRow("LF alone and empty lines") << QByteArray("\r\n\na\nb\n") << QStringList { "", "", "a", "b" };
        QTest::newRow("torn last line without a line break") << QByteArray("a\r\nb") << QStringList { "a", "b" };
        QTest::newRow("NUL, invalid UTF-8")
            << QByteArray("a\0b\xff\n", 5) << QStringList { QStringLiteral("a\0b\uFFFD") };
        const QByteArray longLine(1 << 20, 'x');
        QTest::newRow("line across two reads") << "a\n" + longLine + "\nb\nc\n"
                                               << QStringList { "a", longLine, "b", "c" };
    }

    void readsAnyFileAndAppendsAfterIt()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QStringList read;
        const std::function collect([&read](QByteArrayView line) { read.append(HistoryFile::decode(line)); });
        m_folder.write(bytes);
        HistoryFile::forEachLine(path(), collect);
        HistoryFile::appendLine(path(), QStringLiteral("next"));
        HistoryFile::forEachLine(path(), collect); // read again, after the line appended
        QCOMPARE(read, lines + lines << "next");
    }

    void vehicleList()
    {
        m_folder.write("garbage\r\nMPG: 3;\r\n" + record("AB12", " 1") + record("XY9", " 2") + record("AB12", " 3")
            + record("ab12", " 4") + record(" AB12 ", " 5"));
        // Each registration once, in order of first appearance, exactly as written.
        QCOMPARE(VehicleList::registrations(path()).toStringList(), (QStringList { "AB12", "XY9", "ab12", " AB12 " }));
        // A named pipe is refused: opening it would wait for a writer for ever.
        m_folder.remove();
        QCOMPARE(mkfifo(qPrintable(path()), 0600), 0);
        try {
            VehicleList::registrations(path());
            QFAIL("a named pipe was read");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), QStringLiteral("TripLedger.txt - The history is not a plain file."));
        }
    }

    void twoProcessesNeverMixLines()
    {
        QProcess first, second;
        first.start(m_appender, { path(), "FIRST", "500" });
        second.start(m_appender, { path(), "SECOND", "500" });
        QVERIFY(first.waitForFinished(60000) && second.waitForFinished(60000));
        QMap<QByteArray, int> next;
        for (const QByteArray& line : m_folder.read().chopped(1).split('\n')) {
            const QByteArray tag = line.left(line.indexOf(' ') + 1);
            // Whole lines, each writer's in the order it wrote them.
            QCOMPARE(line, tag.repeated(8) + QByteArray::number(next[tag]++) + '\r');
        }
        QCOMPARE(next.values(), (QList<int> { 500, 500 })); // and none lost
    }

    void partWrittenLineIsAFailure()
    {
        m_folder.write("first\r\n");
        // The process may make the file 40 bytes long: its line stops part-way.
        QCOMPARE(QProcess::execute(m_appender, { path(), "CUT", "1", "40" }), 1);
        QCOMPARE(m_folder.read().size(), 40);
    }

private:
    QString path() const { return m_folder.path(); }
    const QString m_appender = QCoreApplication::applicationDirPath() + QStringLiteral("/appender");
    HistoryFolder m_folder;
};

// The readers look fields up in the file's bytes through the same code.

QTEST_GUILESS_MAIN(TestHistoryFile)
#include "tst_historyfile.moc"
