#include "calc/AppError.h"
#include "history/GraphData.h"
#include "history/HistoryFile.h"
#include "history/HistoryTable.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray record(const QByteArray& reg, const QByteArray& mpg, const QByteArray& date = "21/03/2005 14:35:12")
{
    return "VehicleReg:" + reg + ";Date:" + date + ";Mileage:400;Cost:45;MPG:" + mpg
        + ";Commute Distance:10;Price Per Unit:90;Unit:Litre;\r\n";
}

} // namespace

// The History page's tree and means, and the Graph page's points, as read from a history file.
class TestHistoryTable : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void treeFollowsTheFile();
    void means_data();
    void means();
    void noLimitOnRecords();
    void findVehicleNode();
    void registrationNamingARecordNode();
    void overflowKeepsWhatWasRead();
    void absentFile();

    void graphPoints_data();
    void graphPoints();

private:
    QString write(const QByteArray& bytes)
    {
        const QString path = HistoryFile::path(m_dir->path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write the history");
        file.write(bytes);
        return path;
    }
    HistoryTable load(const QByteArray& bytes)
    {
        HistoryTable table;
        HistoryTable::load(write(bytes), QLocale(QStringLiteral("en_GB")), table);
        return table;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestHistoryTable::treeFollowsTheFile()
{
    const HistoryTable table = load("Date:no registration;MPG: 3;\r\n" + record("AB1", " 30.00") + "\r\n"
                                    + record("XY2", " 40.00") + record("AB1", " 50.00"));
    QCOMPARE(table.rootCount(), 2);
    const qint32 ab = table.root(0);
    const qint32 xy = table.root(1);
    QCOMPARE(table.text(ab), QStringLiteral("AB1"));
    // Keys count valid records only: the invalid first line takes no number.
    QCOMPARE(table.key(ab), QStringLiteral("KC0"));
    QCOMPARE(table.key(xy), QStringLiteral("KC1"));
    QCOMPARE(table.childCount(ab), 2);
    QCOMPARE(table.childCount(xy), 1);
    const qint32 second = table.child(ab, 1);
    QCOMPARE(table.text(second), QStringLiteral("VehicleReg:AB1 Date:21/03/2005 14:35:12 Mileage:400 Cost:45 MPG: 50.00 "
                                                "Commute Distance:10 Price Per Unit:90 Unit:Litre "));
    QCOMPARE(table.key(second), QString());
    QCOMPARE(table.parent(second), ab);
    QCOMPARE(table.row(second), 1);
    QCOMPARE(table.childCount(second), 0);
}

void TestHistoryTable::means_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("means");

    QTest::newRow("mean of two") << record("X", " 30.00") + record("X", " 40.00")
                                 << QStringList { "Mean MPG for vehicle X is 35.00" };
    QTest::newRow("unreadable MPG counts neither in sum nor count")
        << record("X", " lots") + record("X", " 40.00") << QStringList { "Mean MPG for vehicle X is 40.00" };
    QTest::newRow("unreadable only: no entry") << record("X", " lots") + record("Y", " 1.00")
                                               << QStringList { "Mean MPG for vehicle Y is 1.00" };
    QTest::newRow("a half") << record("X", " .50") << QStringList { "Mean MPG for vehicle X is .50" };
    QTest::newRow("case and blanks are other vehicles")
        << record("ab1", " 10.00") + record("AB1", " 20.00") + record(" AB1 ", " 30.00")
        << QStringList { "Mean MPG for vehicle ab1 is 10.00", "Mean MPG for vehicle AB1 is 20.00",
                         "Mean MPG for vehicle  AB1  is 30.00" };
    QTest::newRow("blank registration: no entry") << record("   ", " 10.00") + record("", " 10.00")
                                                  << QStringList {};
    QTest::newRow("XMPG in a registration is not its MPG") << record("XMPG:7", " 41.00")
                                                           << QStringList { "Mean MPG for vehicle XMPG:7 is 41.00" };
}

void TestHistoryTable::means()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, means);
    QCOMPARE(load(bytes).meanTexts(QLocale(QStringLiteral("en_GB"))), means);
}

void TestHistoryTable::noLimitOnRecords()
{
    QByteArray bytes;
    for (int i = 0; i < 3000; ++i)
        bytes += record("V" + QByteArray::number(i % 1500), " 20.00");
    const HistoryTable table = load(bytes);
    QCOMPARE(table.rootCount(), 1500);
    QCOMPARE(table.key(table.root(1499)), QStringLiteral("KC1499"));
    QCOMPARE(table.childCount(table.root(0)), 2);
    QCOMPARE(table.meanTexts(QLocale(QStringLiteral("en_GB"))).size(), 1500);
}

void TestHistoryTable::findVehicleNode()
{
    HistoryTable empty;
    QCOMPARE(empty.FindVehicleNode(QStringLiteral("AB1")), HistoryTable::NoNode);
    HistoryTable table = load(record("AB1", " 30.00") + record("XY2", " 40.00"));
    QCOMPARE(table.FindVehicleNode(QStringLiteral("XY2")), table.root(1));
    QCOMPARE(table.FindVehicleNode(QStringLiteral("ab1")), HistoryTable::NoNode);
    QCOMPARE(table.FindVehicleNode(QStringLiteral(" AB1")), HistoryTable::NoNode);
}

void TestHistoryTable::registrationNamingARecordNode()
{
    // A registration that spells out the first record's text goes under that record node, the first node with
    // that text; its MPG counts for no vehicle, since no vehicle has that registration.
    HistoryTable table = load("VehicleReg:A;MPG: 5\r\nVehicleReg:VehicleReg:A MPG: 5;MPG: 6;\r\n"
                              + record("B", " 7.00"));
    QCOMPARE(table.rootCount(), 2);
    const qint32 first = table.child(table.root(0), 0);
    QCOMPARE(table.text(first), QStringLiteral("VehicleReg:A MPG: 5"));
    QCOMPARE(table.childCount(first), 1);
    QCOMPARE(table.meanTexts(QLocale(QStringLiteral("en_GB"))),
             (QStringList { "Mean MPG for vehicle A is 5.00", "Mean MPG for vehicle B is 7.00" }));
}

void TestHistoryTable::overflowKeepsWhatWasRead()
{
    const QString path = write(record("A", " 1e308") + record("A", " 1e308") + record("B", " 3.00"));
    HistoryTable table;
    try {
        HistoryTable::load(path, QLocale(QStringLiteral("en_GB")), table);
        QFAIL("no error raised");
    } catch (const AppError& error) {
        QCOMPARE(error.message(), QStringLiteral("TripLedger - Overflow"));
    }
    QCOMPARE(table.rootCount(), 1);
    QCOMPARE(table.childCount(table.root(0)), 1);
}

void TestHistoryTable::absentFile()
{
    HistoryTable table = load(record("A", " 1.00"));
    QVERIFY(!HistoryTable::load(m_dir->filePath(QStringLiteral("missing.txt")), QLocale(), table));
    QCOMPARE(table.rootCount(), 0);
    QVERIFY(GraphData::points(m_dir->filePath(QStringLiteral("missing.txt")), QStringLiteral("A"), QLocale()).empty());
}

void TestHistoryTable::graphPoints_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QList<double>>("values");

    QTest::newRow("file order, not date order")
        << record("AB1", " 30.00", "22/03/2005 10:00:00") + record("AB1", " 31.50", "01/01/2005 09:00:00")
        << "AB1" << QStringList { "22/03/2005", "01/01/2005" } << QList<double> { 30.0, 31.5 };
    QTest::newRow("case and blanks drawn together")
        << record("AB1", " 1.00") + record(" ab1 ", " 2.00") + record("XY2", " 9.00") << "ab1"
        << QStringList { "21/03/2005", "21/03/2005" } << QList<double> { 1.0, 2.0 };
    QTest::newRow("unreadable MPG and missing date left out")
        << record("AB1", " n/a") + "VehicleReg:AB1;MPG: 4.00;\r\n" + record("AB1", " 5.00") << "AB1"
        << QStringList { "21/03/2005" } << QList<double> { 5.0 };
    QTest::newRow("short date keeps the start of the time") << record("AB1", " 1.00", "3/21/05 2:35:12 PM") << "AB1"
                                                            << QStringList { "3/21/05 2:" } << QList<double> { 1.0 };
    QTest::newRow("date shorter than ten used whole") << record("AB1", " 1.00", "today") << "AB1"
                                                      << QStringList { "today" } << QList<double> { 1.0 };
    QTest::newRow("no matching record") << record("AB1", " 1.00") << "XY2" << QStringList {} << QList<double> {};
}

void TestHistoryTable::graphPoints()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, chosen);
    QFETCH(QStringList, labels);
    QFETCH(QList<double>, values);

    QStringList gotLabels;
    QList<double> gotValues;
    for (const GraphData::Point& point : GraphData::points(write(bytes), chosen, QLocale(QStringLiteral("en_GB")))) {
        gotLabels.append(point.label());
        gotValues.append(point.mpg);
    }
    QCOMPARE(gotLabels, labels);
    QCOMPARE(gotValues, values);
}

QTEST_GUILESS_MAIN(TestHistoryTable)
#include "tst_historytable.moc"
