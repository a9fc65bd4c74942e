#include "HistoryFolder.h"

#include "calc/AppError.h"
#include "history/HistoryFile.h"
#include "history/HistoryRecord.h"
#include "history/RecordField.h"
#include "history/VehicleList.h"

#include <QProcess>
#include <QTest>

#include <sys/stat.h>

namespace {

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
    void recordRefusesASplitLine_data();
    void recordRefusesASplitLine();

    void readsAnyFileAndAppendsAfterIt_data();
    void readsAnyFileAndAppendsAfterIt();
    void readerRefusesANamedPipe();
    void twoProcessesNeverMixLines();
    void partWrittenLineIsAFailure();
    void vehicleList();

private:
    QString path() const { return m_folder.path(); }
    HistoryFolder m_folder;
};

void TestHistoryFile::recordField_data()
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

void TestHistoryFile::recordField()
{
    QFETCH(QString, line);
    QFETCH(QString, name);
    QFETCH(QString, value);

    QString result = QStringLiteral("unchanged");
    QCOMPARE(GetRecordField(line, name, result), value != QLatin1String("unchanged"));
    QCOMPARE(result, value);
    // The readers' lookup on the file's bytes agrees with the one on text.
    const QByteArray bytes = line.toUtf8();
    const std::optional<QByteArrayView> raw = RecordField::find(QByteArrayView(bytes), (name + u':').toUtf8());
    QCOMPARE(raw ? QString::fromUtf8(*raw) : QStringLiteral("unchanged"), value);
}

void TestHistoryFile::recordRefusesASplitLine_data()
{
    QTest::addColumn<QString>("registration");
    QTest::addColumn<QString>("mileage");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("field");

    const auto row = [](const char* name, const char* reg, const char* mileage, const char* price, const char* field) {
        QTest::newRow(name) << QString(reg) << QString(mileage) << QString(price) << QString(field);
    };
    row("pasted cell with LF", "AB", "400\n", "95", "Mileage");
    row("lone CR", "A\rB", "400", "95", "VehicleReg");
    row("semicolon", "AB", "400", "9;5", "Price Per Unit");
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

void TestHistoryFile::readsAnyFileAndAppendsAfterIt_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("CR LF, a lone CR staying inside its line")
        << QByteArray("a\rb\r\nc\r\n") << QStringList { "a\rb", "c" };
    QTest::newRow("LF alone and empty lines") << QByteArray("\r\n\na\nb\n") << QStringList { "", "", "a", "b" };
    QTest::newRow("torn last line without a line break") << QByteArray("a\r\nb") << QStringList { "a", "b" };
    QTest::newRow("NUL and bytes invalid in UTF-8")
        << QByteArray("a\0b\xff\n", 5) << QStringList { QString("a") + QChar(0) + "b\uFFFD" };
    const QByteArray longLine(1 << 20, 'x');
    QTest::newRow("line across the read buffer's end") << "a\n" + longLine + "\nb\nc\n"
                                                       << QStringList { "a", longLine, "b", "c" };
}

void TestHistoryFile::readsAnyFileAndAppendsAfterIt()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    m_folder.write(bytes);
    QCOMPARE(::lines(path()), lines);
    HistoryFile::appendLine(path(), QStringLiteral("next"));
    QCOMPARE(::lines(path()), lines << "next");
}

void TestHistoryFile::readerRefusesANamedPipe()
{
    // Opening it would wait for a writer for ever.
    QCOMPARE(mkfifo(qPrintable(path()), 0600), 0);
    QString error;
    try {
        VehicleList::registrations(path());
    } catch (const AppError& e) {
        error = e.message();
    }
    QCOMPARE(error, QStringLiteral("TripLedger.txt - The history is not a plain file."));
}

void TestHistoryFile::twoProcessesNeverMixLines()
{
    const QString appender = QCoreApplication::applicationDirPath() + QStringLiteral("/appender");
    QProcess first;
    QProcess second;
    first.start(appender, { path(), QStringLiteral("FIRST"), QStringLiteral("500") });
    second.start(appender, { path(), QStringLiteral("SECOND"), QStringLiteral("500") });
    QVERIFY(first.waitForFinished(60000) && second.waitForFinished(60000));

    const QList<QByteArray> written = m_folder.read().split('\n');
    QCOMPARE(written.size(), 1001); // 1000 lines, each ending in a line break
    QMap<QByteArray, int> next;
    for (const QByteArray& line : written.first(1000)) {
        const QByteArray tag = line.left(line.indexOf(' ') + 1);
        // Whole lines, each writer's in the order it wrote them.
        QCOMPARE(line, tag.repeated(8) + QByteArray::number(next[tag]++) + '\r');
    }
}

void TestHistoryFile::partWrittenLineIsAFailure()
{
    m_folder.write("first\r\n");
    // The process may make the file 40 bytes long: its line stops part-way.
    QCOMPARE(QProcess::execute(QCoreApplication::applicationDirPath() + QStringLiteral("/appender"),
                 { path(), QStringLiteral("CUT"), QStringLiteral("1"), QStringLiteral("40") }),
        1);
    QCOMPARE(m_folder.read().size(), 40);
}

void TestHistoryFile::vehicleList()
{
    m_folder.write("garbage\r\nMPG: 3;\r\n" + record("AB12", " 1") + record("XY9", " 2") + record("AB12", " 3")
        + record("ab12", " 4") + record(" AB12 ", " 5"));
    // Each registration once, in order of first appearance, exactly as written.
    QCOMPARE(VehicleList::registrations(path()), (QStringList { "AB12", "XY9", "ab12", " AB12 " }));
}

QTEST_GUILESS_MAIN(TestHistoryFile)
#include "tst_historyfile.moc"
