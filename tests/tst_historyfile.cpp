#include "HistoryFolder.h"

#include "calc/AppError.h"
#include "history/HistoryFile.h"
#include "history/HistoryLocation.h"
#include "history/HistoryRecord.h"
#include "history/RecordField.h"
#include "history/VehicleList.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <future>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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
        QTest::addColumn<QStringList>("linesOnceSavedAfter"); // the file's lines before the saved one
        const auto row = [](const char* name, const QByteArray& bytes, const QStringList& lines,
                             const QStringList& afterSave = {}) {
            QTest::newRow(name) << bytes << lines << (afterSave.isEmpty() ? lines : afterSave);
        };
        row("CR LF; a lone CR stays in its line", "a\rb\r\nc\r\n", { "a\rb", "c" });
        row("LF alone and empty lines", "\r\n\na\nb\n", { "", "", "a", "b" });
        row("torn last line: never a line, even once a save follows it", "a\r\nVehicleReg:X;MPG: 4\r", { "a" });
        row("last record whole, its line break cut after the CR", "a\r\nMPG: 4;Unit:Litre;\r",
            { "a", "MPG: 4;Unit:Litre;" }, QStringList { "a", "MPG: 4;Unit:Litre;\r" });
        const QByteArray longUnit = "a\r\nVehicleReg:X;Unit:" + QByteArray(300, 'L') + ';';
        row("whole last record, its last field longer than one look back", longUnit, { "a", longUnit.mid(3) });
        row("byte-order mark skipped at the start only", "\357\273\277a\n\357\273\277b\n",
            { "a", QStringLiteral("\uFEFFb") });
        row("NUL, invalid UTF-8", QByteArray("a\0b\xff\n", 5), { QStringLiteral("a\0b\uFFFD") });
        const QByteArray longLine(1 << 20, 'x');
        row("line across two reads", "a\n" + longLine + "\nb\nc\n", { "a", longLine, "b", "c" });
    }

    void readsAnyFileAndAppendsAfterIt()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, linesOnceSavedAfter);
        QStringList read;
        const std::function collect([&read](QByteArrayView line) { read.append(HistoryFile::decode(line)); });
        m_folder.write(bytes);
        HistoryFile::forEachLine(path(), collect);
        HistoryFile::appendLine(path(), QStringLiteral("next"));
        HistoryFile::forEachLine(path(), collect); // read again, after the line appended
        QCOMPARE(read, lines + linesOnceSavedAfter << "next");
    }

    // Opening a named pipe would wait for a writer for ever, and writing into one would block or vanish: neither
    // a reader nor the save touches it. (The vehicle boxes' order and exactness are pinned through the window
    // and by the round-trip fuzz target.)
    void namedPipeIsRefused()
    {
        QVERIFY(QDir(m_folder.dir()).mkpath(QStringLiteral("TripLedger")));
        QCOMPARE(mkfifo(qPrintable(path()), 0600), 0);
        for (const auto& use : { std::function([this] { VehicleList::registrations(path()); }),
                 std::function([this] { HistoryFile::appendLine(path(), QStringLiteral("x")); }) }) {
            try {
                use();
                QFAIL("a named pipe was used");
            } catch (const AppError& error) {
                QCOMPARE(error.message(), path() + QStringLiteral(" - The history is not a plain file."));
            }
        }
    }

    // A reader waits while a save holds the lock, so that it never shows a line the save may yet cut back.
    void readerWaitsForASave()
    {
        m_folder.write("first\r\n");
        QFile saving(path());
        QVERIFY(saving.open(QIODevice::Append) && ::flock(saving.handle(), LOCK_EX) == 0);
        auto read = std::async(std::launch::async, [this] { return VehicleList::registrations(path()).size(); });
        QVERIFY(read.wait_for(std::chrono::milliseconds(200)) == std::future_status::timeout);
        saving.write("VehicleReg:A;MPG: 1;\r\n");
        saving.close();
        QCOMPARE(read.get(), 1);
    }

    // A save that makes the folder or the file syncs the folders that gained an entry, and a failure there is
    // a failed save, the new file left empty.
    void newEntriesSyncedOrTheSaveFails_data()
    {
        QTest::addColumn<bool>("folderThere");
        QTest::newRow("new folder and file") << false;
        QTest::newRow("new file") << true;
    }

    void newEntriesSyncedOrTheSaveFails()
    {
        QFETCH(bool, folderThere);
        QVERIFY(!folderThere || QDir(m_folder.dir()).mkpath(QStringLiteral("TripLedger")));
        const auto failOnFolders = [](int fd) {
            struct stat info = {};
            return ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) ? (errno = EIO, -1) : 0;
        };
        try {
            HistoryFile::appendLine(path(), QStringLiteral("first"), failOnFolders);
            QFAIL("a failed sync of the folder was reported as success");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), path() + QStringLiteral(" - Input/output error"));
        }
        QCOMPARE(m_folder.read(), QByteArray());
    }

    void dataFolder_data()
    {
        QTest::addColumn<QString>("xdgDataHome");
        QTest::addColumn<QString>("folder");
        QTest::newRow("absolute") << "/data"
                                  << "/data";
        QTest::newRow("relative: ignored") << "data"
                                           << "/home/u/.local/share";
        QTest::newRow("unset") << ""
                               << "/home/u/.local/share";
    }

    void dataFolder()
    {
        QFETCH(QString, xdgDataHome);
        QFETCH(QString, folder);
        QCOMPARE(HistoryLocation::dataFolder(xdgDataHome, QStringLiteral("/home/u")), folder);
    }

    // A save waits while another copy of the program holds the file's lock, and appends once it is let go.
    void saveWaitsForTheLock()
    {
        m_folder.write("first\r\n");
        QFile held(path());
        QVERIFY(held.open(QIODevice::ReadOnly) && ::flock(held.handle(), LOCK_EX) == 0);
        QProcess saving;
        saving.start(m_appender, { path(), "NEXT", "1" });
        QVERIFY(saving.waitForStarted());
        // The kernel lists a process blocked in flock() under the lock it waits for, marked "->".
        const QRegularExpression waiting(
            QStringLiteral("^\\d+: -> FLOCK +ADVISORY +WRITE +%1 ").arg(saving.processId()),
            QRegularExpression::MultilineOption);
        QVERIFY(QTest::qWaitFor([&] {
            QFile locks(QStringLiteral("/proc/locks"));
            return locks.open(QIODevice::ReadOnly) && waiting.match(QString::fromLatin1(locks.readAll())).hasMatch();
        }));
        QCOMPARE(saving.state(), QProcess::Running);
        QCOMPARE(m_folder.read(), QByteArray("first\r\n"));
        held.close();
        QVERIFY(saving.waitForFinished(10000));
        QCOMPARE(m_folder.read(), QByteArray("first\r\nNEXT NEXT NEXT NEXT NEXT NEXT NEXT NEXT 0\r\n"));
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

    // A write stopped part-way by the file-size limit, then a sync that fails: each save is taken back whole,
    // reported with the system's reason, and the next save works.
    void failedSaveLeavesTheFileAsItWas()
    {
        m_folder.write("first\r\n");
        QProcess limited; // may make the file 40 bytes long: its 35-byte line stops part-way
        limited.start(m_appender, { path(), "CUT", "1", "40" });
        QVERIFY(limited.waitForFinished(60000));
        // Not killed by SIGXFSZ: the reason is the system's.
        QCOMPARE(limited.readAllStandardError(), (path() + QStringLiteral(" - File too large\n")).toLocal8Bit());
        QCOMPARE(m_folder.read(), QByteArray("first\r\n"));
        try {
            HistoryFile::appendLine(path(), QStringLiteral("second"), [](int) { return ::fsync(-1); });
            QFAIL("a failed sync was reported as success");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), path() + QStringLiteral(" - Bad file descriptor"));
        }
        QCOMPARE(m_folder.read(), QByteArray("first\r\n"));
        HistoryFile::appendLine(path(), QStringLiteral("second"));
        QCOMPARE(m_folder.read(), QByteArray("first\r\nsecond\r\n"));
    }

private:
    QString path() const { return m_folder.path(); }
    const QString m_appender = QCoreApplication::applicationDirPath() + QStringLiteral("/appender");
    HistoryFolder m_folder;
};

QTEST_GUILESS_MAIN(TestHistoryFile)
#include "tst_historyfile.moc"
