#include "HistoryFolder.h"

#include "calc/AppError.h"
#include "history/HistoryFile.h"
#include "history/HistoryRecord.h"
#include "history/RecordField.h"
#include "history/VehicleList.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

const QString Example = QStringLiteral("VehicleReg:AB12 CDE;Date:21/03/2005 14:35:12;Mileage:400;Cost:45.50;"
                                       "MPG: 41.76;Commute Distance:15;Price Per Unit:95;Unit:Litre;");

QStringList lines(const QString& path)
{
    QStringList result;
    HistoryFile::forEachLine(path, [&](QByteArrayView line) { result.append(HistoryFile::decode(line)); });
    return result;
}

} // namespace

class TestHistoryFile : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_folder.remove(); }

    void recordField_data();
    void recordField();
    void recordLine();
    void recordRefusesASplitLine_data();
    void recordRefusesASplitLine();
    void dateText();

    void appendCreatesThenAppends();
    void appendMendsATornLine();
    void readerRefusesWhatIsNoFile_data();
    void readerRefusesWhatIsNoFile();
    void twoProcessesNeverMixLines();
    void partWrittenLineIsAFailure();

    void readsAnyFile_data();
    void readsAnyFile();
    void vehicleList_data();
    void vehicleList();

private:
    QString path() const { return m_folder.path(); }
    HistoryFolder m_folder;
};

void TestHistoryFile::recordField_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("value");

    const auto row = [](const char* name, const QString& line, const char* field, bool found, const char* value) {
        QTest::newRow(name) << line << QString(field) << found << QString(value);
    };
    row("registration", Example, "VehicleReg", true, "AB12 CDE");
    row("date", Example, "Date", true, "21/03/2005 14:35:12");
    row("name with a blank", Example, "Commute Distance", true, "15");
    row("MPG keeps its blank", Example, "MPG", true, " 41.76");
    row("Unit is its own field, not the end of Price Per Unit", Example, "Unit", true, "Litre");
    row("names are case-sensitive", Example, "mpg", false, "unchanged");
    row("absent name", Example, "Odometer", false, "unchanged");
    row("result line without a semicolon", "MPG: 40.00", "MPG", true, " 40.00");
    row("empty value", "VehicleReg:;MPG: 3;", "VehicleReg", true, "");
    row("colon inside a value", "VehicleReg:AB:12;MPG: 3;", "VehicleReg", true, "AB:12");
    row("name inside a registration is not the field", "VehicleReg:XMPG:7;Date:d;MPG: 41.76;", "MPG", true, " 41.76");
    row("name inside a value only", "VehicleReg:XMPG:7;Date:d;", "MPG", false, "unchanged");
    row("old semicolon registration reads short", "VehicleReg:AB;12;MPG: 3;", "VehicleReg", true, "AB");
}

void TestHistoryFile::recordField()
{
    QFETCH(QString, line);
    QFETCH(QString, name);
    QFETCH(bool, found);
    QFETCH(QString, value);

    QString result = QStringLiteral("unchanged");
    QCOMPARE(GetRecordField(line, name, result), found);
    QCOMPARE(result, value);
    // The lookup on the file's bytes agrees with the one on text.
    const QByteArray bytes = line.toUtf8();
    const std::optional<QByteArrayView> raw = RecordField::find(QByteArrayView(bytes), (name + u':').toUtf8());
    QCOMPARE(raw.has_value(), found);
    if (raw)
        QCOMPARE(QString::fromUtf8(*raw), value);
}

void TestHistoryFile::recordLine()
{
    const HistoryRecord record { "AB12 CDE", "21/03/2005 14:35:12", "400", "45.50", " 41.76", "15", "95", "Litre" };
    QCOMPARE(record.toLine(), Example);
}

void TestHistoryFile::recordRefusesASplitLine_data()
{
    QTest::addColumn<QString>("registration");
    QTest::addColumn<QString>("mileage");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("field");
    QTest::newRow("pasted cell, LF") << "AB"
                                     << "400\n"
                                     << "95"
                                     << "Mileage";
    QTest::newRow("CR LF") << "AB"
                           << "400"
                           << "95\r\n"
                           << "Price Per Unit";
    QTest::newRow("semicolon") << "AB"
                               << "400"
                               << "9;5"
                               << "Price Per Unit";
    QTest::newRow("registration with CR") << "A\rB"
                                          << "400"
                                          << "95"
                                          << "VehicleReg";
}

void TestHistoryFile::recordRefusesASplitLine()
{
    QFETCH(QString, registration);
    QFETCH(QString, mileage);
    QFETCH(QString, price);
    QFETCH(QString, field);
    const HistoryRecord record { registration, "21/03/2005 14:35:12", mileage, "45", " 40.00", "10", price, "Litre" };
    try {
        record.toLine();
        QFAIL("a line that would split was built");
    } catch (const AppError& error) {
        QCOMPARE(error.message(),
            "Record Check Failure - The " + field + " field cannot contain a line break or a semicolon.");
    }
}

void TestHistoryFile::dateText()
{
    const QDateTime moment(QDate(2005, 3, 21), QTime(14, 35, 12));
    QCOMPARE(HistoryRecords::dateText(moment, QLocale(QStringLiteral("en_GB"))), QStringLiteral("21/03/2005 14:35:12"));
    // No time-zone name after the time.
    QCOMPARE(HistoryRecords::dateText(moment, QLocale(QStringLiteral("en_US"))), QStringLiteral("3/21/05 2:35:12 PM"));
}

void TestHistoryFile::appendCreatesThenAppends()
{
    HistoryFile::appendLine(path(), Example);
    QCOMPARE(m_folder.read(), Example.toUtf8() + "\r\n");
    HistoryFile::appendLine(path(), QStringLiteral("second"));
    QCOMPARE(m_folder.read(), Example.toUtf8() + "\r\nsecond\r\n");
    QCOMPARE(path(), QDir::toNativeSeparators(QDir(m_folder.dir()).filePath(QStringLiteral("TripLedger.txt"))));
}

void TestHistoryFile::appendMendsATornLine()
{
    m_folder.write("VehicleReg:AB;Date:21/03/20");
    HistoryFile::appendLine(path(), QStringLiteral("next"));
    QCOMPARE(m_folder.read(), QByteArray("VehicleReg:AB;Date:21/03/20\r\nnext\r\n"));

    m_folder.write("edited elsewhere\n");
    HistoryFile::appendLine(path(), QStringLiteral("next"));
    QCOMPARE(m_folder.read(), QByteArray("edited elsewhere\nnext\r\n"));
}

void TestHistoryFile::readerRefusesWhatIsNoFile_data()
{
    QTest::addColumn<QString>("make");
    QTest::newRow("link to a device that never ends") << "ln -s /dev/zero";
    QTest::newRow("named pipe that would wait for ever") << "mkfifo";
}

void TestHistoryFile::readerRefusesWhatIsNoFile()
{
    QFETCH(QString, make);
    QStringList command = make.split(u' ');
    QCOMPARE(QProcess::execute(command.takeFirst(), command << path()), 0);
    try {
        VehicleList::registrations(path());
        QFAIL("read what is no file");
    } catch (const AppError& error) {
        QCOMPARE(error.message(), QStringLiteral("TripLedger.txt - The history is not a plain file."));
    }
}

void TestHistoryFile::twoProcessesNeverMixLines()
{
    const QString appender = QCoreApplication::applicationDirPath() + QStringLiteral("/appender");
    QProcess first;
    QProcess second;
    first.start(appender, { path(), QStringLiteral("FIRST"), QStringLiteral("500") });
    second.start(appender, { path(), QStringLiteral("SECOND"), QStringLiteral("500") });
    QVERIFY(first.waitForFinished(60000) && second.waitForFinished(60000));
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(second.exitCode(), 0);

    const QByteArray bytes = m_folder.read();
    QVERIFY(bytes.endsWith("\r\n"));
    const QList<QByteArray> written = bytes.chopped(1).split('\n');
    QCOMPARE(written.size(), 1000);
    QMap<QByteArray, int> next;
    const QRegularExpression whole(
        QStringLiteral("^VehicleReg:(FIRST|SECOND);Date:21/03/2005 14:35:12;Mileage:400;Cost:45;MPG: 40.00;"
                       "Commute Distance:10;Price Per Unit:90;Unit:Litre;#(\\d+)\r$"));
    for (const QByteArray& line : written) {
        const QRegularExpressionMatch match = whole.match(QString::fromUtf8(line));
        QVERIFY2(match.hasMatch(), line.constData());
        // Each writer's lines stand in the order it wrote them.
        QCOMPARE(match.captured(2).toInt(), next[match.captured(1).toUtf8()]++);
    }
}

void TestHistoryFile::partWrittenLineIsAFailure()
{
    m_folder.write("first\r\n");
    QProcess appender;
    appender.start(QCoreApplication::applicationDirPath() + QStringLiteral("/appender"),
        { path(), QStringLiteral("CUT"), QStringLiteral("1"), QStringLiteral("40") });
    QVERIFY(appender.waitForFinished(60000));
    QCOMPARE(appender.exitCode(), 1);
    QVERIFY(appender.readAllStandardError().startsWith("TripLedger.txt - "));
    const QByteArray torn = m_folder.read();
    QCOMPARE(torn.size(), 40);
    // The next save keeps its line apart from the torn one.
    HistoryFile::appendLine(path(), QStringLiteral("next"));
    QCOMPARE(m_folder.read(), torn + "\r\nnext\r\n");
}

void TestHistoryFile::readsAnyFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList { "a", "b" };
    QTest::newRow("LF alone") << QByteArray("a\nb\n") << QStringList { "a", "b" };
    QTest::newRow("no final line break") << QByteArray("a\r\nb") << QStringList { "a", "b" };
    QTest::newRow("empty lines") << QByteArray("\r\n\na\r\n") << QStringList { "", "", "a" };
    QTest::newRow("empty file") << QByteArray() << QStringList {};
    QTest::newRow("NUL bytes") << QByteArray("a\0b\nc\n", 6) << QStringList { QString("a") + QChar(0) + "b", "c" };
    QTest::newRow("invalid UTF-8") << QByteArray("\xff\xfe\nok\n") << QStringList { "\uFFFD\uFFFD", "ok" };
    QTest::newRow("lone CR inside a line") << QByteArray("a\rb\r\n") << QStringList { "a\rb" };
}

void TestHistoryFile::readsAnyFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    m_folder.write(bytes);
    QCOMPARE(::lines(path()), lines);
    QCOMPARE(m_folder.read(), bytes);
}

void TestHistoryFile::vehicleList_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("vehicles");

    const auto rec = [](const char* reg) {
        return record(reg, " 40.00");
    };
    QTest::newRow("first appearance, exact case") << rec("AB12 CDE") + rec("XY99 ZZZ") + rec("AB12 CDE")
            + rec("ab12 cde") << QStringList { "AB12 CDE", "XY99 ZZZ", "ab12 cde" };
    QTest::newRow("blanks make another vehicle") << rec("AB12") + rec(" AB12 ") << QStringList { "AB12", " AB12 " };
    QTest::newRow("lines without a registration") << QByteArray("garbage\r\nMPG: 3;\r\n") + rec("A") + "\xff\x00\n"
                                                  << QStringList { "A" };
    QByteArray huge(8 << 20, 'x');
    QTest::newRow("a line of megabytes") << huge + "\n" + rec("B") << QStringList { "B" };
}

void TestHistoryFile::vehicleList()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, vehicles);
    QCOMPARE(VehicleList::registrations(path()), QStringList());
    m_folder.write(bytes);
    QCOMPARE(VehicleList::registrations(path()), vehicles);
}

QTEST_GUILESS_MAIN(TestHistoryFile)
#include "tst_historyfile.moc"
