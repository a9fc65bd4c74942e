#include "HistoryFolder.h"

#include "calc/AppError.h"
#include "history/GraphData.h"
#include "history/HistoryTable.h"

#include <QTest>

// The History page's tree and means, and the Graph page's points, as read from a history file.
class TestHistoryTable : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_folder.remove(); }

    void treeFollowsTheFile();
    void means_data();
    void means();
    void noLimitOnRecords();
    void findVehicleNode();
    void registrationNamingARecordNode();
    void overflowKeepsWhatWasRead();
    void graphPoints_data();
    void graphPoints();

private:
    HistoryTable load(const QByteArray& bytes)
    {
        m_folder.write(bytes);
        HistoryTable table;
        HistoryTable::load(m_folder.path(), QLocale(QStringLiteral("en_GB")), table);
        return table;
    }

    HistoryFolder m_folder;
};

void TestHistoryTable::treeFollowsTheFile()
{
    const HistoryTable table = load("Date:no registration;MPG: 3;\r\n" + record("AB1", " 30.00") + "\r\n"
        + record("XY2", " 40.00") + record("AB1", " 50.00"));
    QCOMPARE(table.rootCount(), 2);
    const qint32 ab = table.root(0);
    QCOMPARE(table.text(ab), QStringLiteral("AB1"));
    // Keys count valid records only: the invalid first line takes no number.
    QCOMPARE(table.key(ab), QStringLiteral("KC0"));
    QCOMPARE(table.key(table.root(1)), QStringLiteral("KC1"));
    QCOMPARE(table.childCount(ab), 2);
    const qint32 second = table.child(ab, 1);
    QCOMPARE(table.text(second),
        QStringLiteral("VehicleReg:AB1 Date:21/03/2005 14:35:12 Mileage:400 Cost:45 MPG: 50.00 "
                       "Commute Distance:10 Price Per Unit:90 Unit:Litre "));
    QCOMPARE(table.parent(second), ab);
    QCOMPARE(table.row(second), 1);
}

void TestHistoryTable::means_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("means");
    const auto row = [](const char* name, const QByteArray& bytes, const QStringList& means) {
        QTest::newRow(name) << bytes << means;
    };
    row("mean of two", record("X", " 30.00") + record("X", " 40.00"), { "Mean MPG for vehicle X is 35.00" });
    row("unreadable MPG counts neither in sum nor count", record("X", " lots") + record("X", " 40.00"),
        { "Mean MPG for vehicle X is 40.00" });
    row("unreadable only: no entry", record("X", " lots") + record("Y", " 1.00"), { "Mean MPG for vehicle Y is 1.00" });
    row("a half", record("X", " .50"), { "Mean MPG for vehicle X is .50" });
    row("case and blanks are other vehicles",
        record("ab1", " 10.00") + record("AB1", " 20.00") + record(" AB1 ", " 30.00"),
        { "Mean MPG for vehicle ab1 is 10.00", "Mean MPG for vehicle AB1 is 20.00",
            "Mean MPG for vehicle  AB1  is 30.00" });
    row("blank registration: no entry", record("   ", " 10.00") + record("", " 10.00"), {});
    row("XMPG in a registration is not its MPG", record("XMPG:7", " 41.00"),
        { "Mean MPG for vehicle XMPG:7 is 41.00" });
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
    QCOMPARE(HistoryTable().FindVehicleNode(QStringLiteral("AB1")), HistoryTable::NoNode);
    HistoryTable table = load(record("AB1", " 30.00") + record("XY2", " 40.00"));
    QCOMPARE(table.FindVehicleNode(QStringLiteral("XY2")), table.root(1));
    QCOMPARE(table.FindVehicleNode(QStringLiteral("ab1")), HistoryTable::NoNode);
    QCOMPARE(table.FindVehicleNode(QStringLiteral(" AB1")), HistoryTable::NoNode);
}

void TestHistoryTable::registrationNamingARecordNode()
{
    // A registration that spells out the first record's text goes under that record node, the first node with
    // that text; its MPG counts for no vehicle, since no vehicle has that registration.
    HistoryTable table
        = load("VehicleReg:A;MPG: 5\r\nVehicleReg:VehicleReg:A MPG: 5;MPG: 6;\r\n" + record("B", " 7.00"));
    QCOMPARE(table.rootCount(), 2);
    QCOMPARE(table.childCount(table.child(table.root(0), 0)), 1);
    QCOMPARE(table.meanTexts(QLocale(QStringLiteral("en_GB"))),
        (QStringList { "Mean MPG for vehicle A is 5.00", "Mean MPG for vehicle B is 7.00" }));
}

void TestHistoryTable::overflowKeepsWhatWasRead()
{
    m_folder.write(record("A", " 1e308") + record("A", " 1e308") + record("B", " 3.00"));
    HistoryTable table;
    try {
        HistoryTable::load(m_folder.path(), QLocale(QStringLiteral("en_GB")), table);
        QFAIL("no error raised");
    } catch (const AppError& error) {
        QCOMPARE(error.message(), QStringLiteral("TripLedger - Overflow"));
    }
    QCOMPARE(table.rootCount(), 1);
    QCOMPARE(table.childCount(table.root(0)), 1);
}

void TestHistoryTable::graphPoints_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("points"); // label=value
    const auto row = [](const char* name, const QByteArray& bytes, const char* chosen, const QStringList& points) {
        QTest::newRow(name) << bytes << QString(chosen) << points;
    };
    row("file order, not date order",
        record("AB1", " 30.00", "22/03/2005 10:00:00") + record("AB1", " 31.50", "01/01/2005 09:00:00"), "AB1",
        { "22/03/2005=30", "01/01/2005=31.5" });
    row("case and blanks drawn together", record("AB1", " 1.00") + record(" ab1 ", " 2.00") + record("XY2", " 9.00"),
        "ab1", { "21/03/2005=1", "21/03/2005=2" });
    row("unreadable MPG and missing date left out",
        record("AB1", " n/a") + "VehicleReg:AB1;MPG: 4.00;\r\n" + record("AB1", " 5.00"), "AB1", { "21/03/2005=5" });
    row("short date keeps the start of the time", record("AB1", " 1.00", "3/21/05 2:35:12 PM"), "AB1",
        { "3/21/05 2:=1" });
    row("date shorter than ten used whole", record("AB1", " 1.00", "today"), "AB1", { "today=1" });
    row("no matching record", record("AB1", " 1.00"), "XY2", {});
    row("no file", "<absent>", "AB1", {});
}

void TestHistoryTable::graphPoints()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, chosen);
    QFETCH(QStringList, points);
    if (bytes != "<absent>")
        m_folder.write(bytes);
    QStringList got;
    for (const GraphData::Point& point : GraphData::points(m_folder.path(), chosen, QLocale(QStringLiteral("en_GB"))))
        got.append(point.label() + u'=' + QString::number(point.mpg));
    QCOMPARE(got, points);
}

QTEST_GUILESS_MAIN(TestHistoryTable)
#include "tst_historytable.moc"
