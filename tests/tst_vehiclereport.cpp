#include "HistoryFolder.h"

#include "history/VehicleReport.h"

#include <QTest>

using VehicleReport::Tank;
using VehicleReport::Totals;

Q_DECLARE_METATYPE(std::vector<Tank>)

namespace QTest {
template <> char* toString(const Totals& t)
{
    return qstrdup(QStringLiteral("%1 calculations, %2 mi, %3 gal, %4 spent, overall %5, mean %6, %7 a mile, %8-%9")
                       .arg(t.calculations)
                       .arg(t.miles)
                       .arg(t.gallons)
                       .arg(t.spent)
                       .arg(t.overallMpg)
                       .arg(t.meanMpg)
                       .arg(t.costPerMile)
                       .arg(t.lowestMpg)
                       .arg(t.highestMpg)
                       .toUtf8());
}
} // namespace QTest

// The report's totals, and which calculations of which vehicle they count.
class TestVehicleReport : public QObject
{
    Q_OBJECT

private slots:
    void totals_data()
    {
        QTest::addColumn<std::vector<Tank>>("tanks"); // miles, cost, MPG
        QTest::addColumn<Totals>("expected");
        QTest::newRow("tanks of different sizes: overall MPG is not the mean") << std::vector<Tank> { { 100, 10, 20 },
            { 400, 30, 40 } } << Totals { 2, 500, 15, 40, 500.0 / 15, 30, 40.0 / 500, 20, 40 };
        QTest::newRow("tanks of one size: overall MPG is the mean") << std::vector<Tank> { { 300, 30, 20 },
            { 300, 20, 30 }, { 300, 25, 60 } } << Totals { 3, 900, 30, 75, 30, 110.0 / 3, 75.0 / 900, 20, 60 };
        QTest::newRow("no miles: no overall MPG, no cost per mile")
            << std::vector<Tank> { { 0, 5, 30 } } << Totals { 1, 0, 0, 5, 0, 30, 0, 30, 30 };
        QTest::newRow("no tanks") << std::vector<Tank> {} << Totals {};
    }

    void totals()
    {
        QFETCH(std::vector<Tank>, tanks);
        QFETCH(Totals, expected);
        QCOMPARE(VehicleReport::totals(tanks), expected);
    }

    void readsTheVehicles_data()
    {
        QTest::addColumn<QString>("chosen");
        // Each vehicle as "registration: rows, left out of the totals, counted, miles, points".
        QTest::addColumn<QStringList>("vehicles");
        QTest::newRow("every vehicle, as the graph tells them apart")
            << "" << QStringList { "ab1: 4, 2, 2, 800, 2", "XY2: 1, 0, 1, 400, 1" };
        QTest::newRow("the chosen vehicle, named as chosen") << " AB1" << QStringList { " AB1: 4, 2, 2, 800, 2" };
        QTest::newRow("a vehicle without records") << "ZZ" << QStringList {};
    }

    void readsTheVehicles()
    {
        QFETCH(QString, chosen);
        QFETCH(QStringList, vehicles);
        const QByteArray history = record("ab1", " 40.00") + "VehicleReg:AB1;MPG: 0,00;Mileage:1;Cost:1;\r\n"
            + record("XY2", " 20.00") + "damaged\r\n" + record(" AB1 ", " 30.00") + record("AB1", " lots");
        m_folder.write(history);
        QStringList read;
        for (const VehicleReport::Vehicle& v : VehicleReport::read(m_folder.path(), chosen, QLocale(QLocale::German)))
            read << QStringLiteral("%1: %2, %3, %4, %5, %6")
                        .arg(v.registration)
                        .arg(v.calculations.size())
                        .arg(v.unreadable)
                        .arg(v.totals.calculations)
                        .arg(v.totals.miles)
                        .arg(v.points.size());
        QCOMPARE(read, vehicles);
        QCOMPARE(m_folder.read(), history);
    }

private:
    HistoryFolder m_folder;
};

QTEST_GUILESS_MAIN(TestVehicleReport)
#include "tst_vehiclereport.moc"
