#include "calc/AppError.h"
#include "history/HistoryFile.h"
#include "history/HistoryRecord.h"
#include "history/RecordField.h"
#include "history/VehicleList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Example = QStringLiteral("VehicleReg:AB12 CDE;Date:21/03/2005 14:35:12;Mileage:400;Cost:45.50;"
                                       "MPG: 41.76;Commute Distance:15;Price Per Unit:95;Unit:Litre;");

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

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
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void recordField_data();
    void recordField();
    void recordLine();
    void dateText_data();
    void dateText();
    void registrationCheck_data();
    void registrationCheck();

    void appendCreatesThenAppends();
    void appendMendsATornLine();
    void appendFailureLeavesFileAlone_data();
    void appendFailureLeavesFileAlone();
    void twoProcessesNeverMixLines();

    void readsAnyFile_data();
    void readsAnyFile();
    void vehicleList_data();
    void vehicleList();

private:
    QString path() const { return HistoryFile::path(m_dir->path()); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestHistoryFile::recordField_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("value");

    QTest::newRow("registration") << Example << "VehicleReg" << true << "AB12 CDE";
    QTest::newRow("date") << Example << "Date" << true << "21/03/2005 14:35:12";
    QTest::newRow("name with a blank") << Example << "Commute Distance" << true << "15";
    QTest::newRow("MPG keeps its blank") << Example << "MPG" << true << " 41.76";
    QTest::newRow("Unit is its own field, not the end of Price Per Unit") << Example << "Unit" << true << "Litre";
    QTest::newRow("names are case-sensitive") << Example << "mpg" << false << "unchanged";
    QTest::newRow("absent name") << Example << "Odometer" << false << "unchanged";
    QTest::newRow("result line without a semicolon") << "MPG: 40.00" << "MPG" << true << " 40.00";
    QTest::newRow("empty value") << "VehicleReg:;MPG: 3;" << "VehicleReg" << true << "";
    QTest::newRow("colon inside a value") << "VehicleReg:AB:12;MPG: 3;" << "VehicleReg" << true << "AB:12";
    QTest::newRow("name inside a registration is not the field")
        << "VehicleReg:XMPG:7;Date:d;MPG: 41.76;" << "MPG" << true << " 41.76";
    QTest::newRow("name inside a value only") << "VehicleReg:XMPG:7;Date:d;" << "MPG" << false << "unchanged";
    QTest::newRow("old semicolon registration reads short") << "VehicleReg:AB;12;MPG: 3;" << "VehicleReg" << true
                                                            << "AB";
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
    HistoryRecord other = record;
    QVERIFY(other == record);
    other.unit = QStringLiteral("Gallon");
    QVERIFY(other != record);
}

void TestHistoryFile::dateText_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::newRow("en_GB") << "en_GB" << "21/03/2005 14:35:12";
    QTest::newRow("en_US, no time zone") << "en_US" << "3/21/05 2:35:12 PM";
    QTest::newRow("de_DE") << "de_DE" << "21.03.05 14:35:12";
}

void TestHistoryFile::dateText()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    const QDateTime moment(QDate(2005, 3, 21), QTime(14, 35, 12));
    QCOMPARE(HistoryRecords::dateText(moment, QLocale(locale)), text);
}

void TestHistoryFile::registrationCheck_data()
{
    QTest::addColumn<QString>("registration");
    QTest::addColumn<QString>("message");
    const QString source = QStringLiteral("Vehicle Registration Check Failure - ");
    const QString empty = source + QStringLiteral("You must enter a vehicle registration to save the details.");
    QTest::newRow("empty") << "" << empty;
    QTest::newRow("three blanks") << "   " << empty;
    QTest::newRow("semicolon") << "AB;12" << source + "A vehicle registration cannot contain a semicolon.";
    QTest::newRow("line break") << "AB\n12" << source + "A vehicle registration cannot contain a line break.";
    QTest::newRow("blanks around are kept") << " AB12 CDE " << "";
    QTest::newRow("colon") << "AB:12" << "";
}

void TestHistoryFile::registrationCheck()
{
    QFETCH(QString, registration);
    QFETCH(QString, message);
    try {
        HistoryRecords::checkRegistration(registration);
        QCOMPARE(QString(), message);
    } catch (const AppError& error) {
        QCOMPARE(error.number(), -2147221503);
        QCOMPARE(error.message(), message);
    }
}

void TestHistoryFile::appendCreatesThenAppends()
{
    QVERIFY(!QFile::exists(path()));
    HistoryFile::appendLine(path(), Example);
    QCOMPARE(contents(path()), Example.toUtf8() + "\r\n");
    HistoryFile::appendLine(path(), QStringLiteral("second"));
    QCOMPARE(contents(path()), Example.toUtf8() + "\r\nsecond\r\n");
    QCOMPARE(path(), QDir::toNativeSeparators(m_dir->filePath(QStringLiteral("TripLedger.txt"))));
}

void TestHistoryFile::appendMendsATornLine()
{
    write(path(), "VehicleReg:AB;Date:21/03/20");
    HistoryFile::appendLine(path(), QStringLiteral("next"));
    QCOMPARE(contents(path()), QByteArray("VehicleReg:AB;Date:21/03/20\r\nnext\r\n"));

    write(path(), "edited elsewhere\n");
    HistoryFile::appendLine(path(), QStringLiteral("next"));
    QCOMPARE(contents(path()), QByteArray("edited elsewhere\nnext\r\n"));
}

void TestHistoryFile::appendFailureLeavesFileAlone_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("file name taken by a folder") << "folder";
    QTest::newRow("disk full") << "full";
    QTest::newRow("read-only file") << "readonly";
}

void TestHistoryFile::appendFailureLeavesFileAlone()
{
    QFETCH(QString, kind);
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("TripLedger.txt")));
    } else if (kind == QLatin1String("full")) {
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full here");
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), path()));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Cannot call seek on a sequential device")));
    } else {
        write(path(), "kept\r\n");
        QFile::setPermissions(path(), QFile::ReadOwner);
        if (QFile(path()).open(QIODevice::Append))
            QSKIP("running with rights that ignore file permissions");
    }
    const QByteArray before = kind == QLatin1String("full") ? QByteArray() : contents(path());
    try {
        HistoryFile::appendLine(path(), Example);
        QFAIL("no error raised");
    } catch (const AppError& error) {
        QVERIFY(error.message().startsWith(QStringLiteral("TripLedger.txt - ")));
        QVERIFY(error.description().size() > 0);
    }
    if (kind == QLatin1String("full")) {
        QVERIFY(QFileInfo(path()).isSymLink());
        // Readers refuse a device rather than read it for ever.
        QVERIFY_THROWS_EXCEPTION(AppError, VehicleList::registrations(path()));
    } else {
        QCOMPARE(contents(path()), before);
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

    const QByteArray bytes = contents(path());
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
    write(path(), bytes);
    QCOMPARE(::lines(path()), lines);
    QCOMPARE(contents(path()), bytes);
}

void TestHistoryFile::vehicleList_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("vehicles");

    const auto rec = [](const char* reg) { return QByteArray("VehicleReg:") + reg + ";Date:d;MPG: 40.00;\r\n"; };
    QTest::newRow("first appearance, exact case") << rec("AB12 CDE") + rec("XY99 ZZZ") + rec("AB12 CDE") + rec("ab12 cde")
                                                  << QStringList { "AB12 CDE", "XY99 ZZZ", "ab12 cde" };
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
    write(path(), bytes);
    QCOMPARE(VehicleList::registrations(path()), vehicles);
}

QTEST_GUILESS_MAIN(TestHistoryFile)
#include "tst_historyfile.moc"
