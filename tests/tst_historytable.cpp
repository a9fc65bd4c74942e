#include "HistoryFolder.h"
#include "ReferenceReader.h"

#include "history/GraphData.h"
#include "history/HistoryTable.h"

#include <QTest>

#include <cmath>

// The History page's tree and means, and the Graph page's points, as read from a history file.
class TestHistoryTable : public QObject
{
    Q_OBJECT

private slots:

    void readsTheFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("chosen");
        // The vehicle nodes as "registration:number of records", the means, then the chosen vehicle's graph points
        // as "label=MPG".
        QTest::addColumn<QStringList>("shown");
        const auto row = [](const char* name, const QByteArray& bytes, const char* chosen, const QStringList& shown) {
            QTest::newRow(name) << bytes << QString(chosen) << shown;
        };
        row("lines without a registration or MPG take no key; points in file order, labelled by ten characters",
            "Date:d;MPG: 3;\r\n" + record("AB1", " 30.00", "22/03/2005 10:00:00") + "\r\n" + record("XY2", " 40.00")
                + record("AB1", " 50.00", "1/1/05 9:00:00 AM"),
            "AB1",
            { "AB1:2", "XY2:1", "Mean MPG for vehicle AB1 is 40.00", "Mean MPG for vehicle XY2 is 40.00",
                "22/03/2005=30", "1/1/05 9:0=50" });
        row("unreadable MPG: in the tree only; no date: no point",
            record("X", " lots") + record("X", " 40.00") + "VehicleReg:X;MPG: 4.00;\r\n" + record("Y", " lots"), "X",
            { "X:3", "Y:1", "Mean MPG for vehicle X is 22.00", "21/03/2005=40" });
        row("case and blanks: other vehicles in the tree, one in the graph",
            record("ab1", " 10.00") + record("AB1", " 20.00") + record(" AB1 ", " 30.00"), "ab1",
            { "ab1:1", "AB1:1", " AB1 :1", "Mean MPG for vehicle ab1 is 10.00", "Mean MPG for vehicle AB1 is 20.00",
                "Mean MPG for vehicle  AB1  is 30.00", "21/03/2005=10", "21/03/2005=20", "21/03/2005=30" });
        row("registration ending in a byte that is not UTF-8: a vehicle of its own",
            record("CAF\xC9", " 10.00") + record("CAF", " 20.00"), "CAF",
            { QStringLiteral("CAF\uFFFD:1"), "CAF:1", QStringLiteral("Mean MPG for vehicle CAF\uFFFD is 10.00"),
                "Mean MPG for vehicle CAF is 20.00", "21/03/2005=20" });
        row("two MPGs whose sum is beyond a double: their mean", record("A", " 1E308") + record("A", " 1E308"), "X",
            { "A:2", "Mean MPG for vehicle A is " + QString::number(1e308, 'f', 2) });
        row("byte-order mark before the first record; a torn last line counts nowhere",
            "\xEF\xBB\xBF" + record("A", " 10.00") + "VehicleReg:B;MPG: 4", "A",
            { "A:1", "Mean MPG for vehicle A is 10.00", "21/03/2005=10" });
        row("blank registration: no mean", record("   ", " 10.00") + record("", " 10.00"), "X", { "   :1", ":1" });
        // The second line's registration spells out the first record's text, so it goes under that record node; its
        // MPG counts for no vehicle, since no vehicle has that registration.
        row("registration naming a record node",
            "VehicleReg:A;MPG: 5\r\nVehicleReg:VehicleReg:A MPG: 5;MPG: 6;\r\n" + record("B", " 7.00"), "X",
            { "A:1", "B:1", "Mean MPG for vehicle A is 5.00", "Mean MPG for vehicle B is 7.00" });

        row("MPG with a U+2212 minus and a decimal comma, as Swedish writes it",
            record("M",
                " \u2212"
                "10,00"),
            "M", { "M:1", "Mean MPG for vehicle M is -10.00", "21/03/2005=-10" });

        // The readers read 1 MiB at a time: a line across that boundary, at each place that matters.
        const QByteArray crossing = record("CAF\xC3\x89", " 30.00") + record("B", " 40.00");
        const std::pair<const char*, qsizetype> places[] = { { "CR", crossing.indexOf('\r') },
            { "LF", crossing.indexOf('\n') }, { "inside a field", crossing.indexOf("MPG:") + 2 },
            { "inside a character", crossing.indexOf('\x89') } };
        for (const auto& [place, at] : places) {
            row(qPrintable(QStringLiteral("the second 1 MiB starts at the %1").arg(place)),
                QByteArray((1 << 20) - at - 2, 'x') + "\r\n" + crossing, "CAF\xC3\x89",
                { QStringLiteral("CAF\u00C9:1"), "B:1", QStringLiteral("Mean MPG for vehicle CAF\u00C9 is 30.00"),
                    "Mean MPG for vehicle B is 40.00", "21/03/2005=30" });
        }

        QByteArray once;
        QStringList shown; // every node, then every mean
        for (int i = 0; i < 5000; ++i) {
            once += record("V" + QByteArray::number(i), " 20.00");
            shown.insert(i, QStringLiteral("V%1:2").arg(i));
            shown.append(QStringLiteral("Mean MPG for vehicle V%1 is 20.00").arg(i));
        }
        row("no limit on records; over 1 MiB and 4,096 records", once + once, "X", shown);
    }

    void readsTheFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, chosen);
        QFETCH(QStringList, shown);
        const HistoryFolder folder;
        folder.write(bytes);
        const QLocale locale(QStringLiteral("en_GB"));
        const HistoryTable table = HistoryTable::load(folder.path(), locale).table;
        QStringList got;
        for (qint32 row = 0; row < table.rootCount(); ++row)
            got.append(table.text(table.root(row)) + u':' + QString::number(table.childCount(table.root(row))));
        const MeanList means = table.means();
        for (qsizetype i = 0; i < means.size(); ++i)
            got.append(means.text(i, locale));
        const GraphData::Points points = GraphData::points(folder.path(), chosen, locale);
        for (qsizetype i = 0; i < points.size(); ++i)
            got.append(points.label(i) + u'=' + QString::number(points.mpg(i)));
        QCOMPARE(got, shown);
        QCOMPARE(Reference::differences(folder.path(), locale), QString());
    }

    // Each vehicle's records, interleaved in the file, come back under it in file order.
    void recordsUnderTheirVehicleInFileOrder()
    {
        const HistoryFolder folder;
        folder.write(record("A", "1") + record("B", "2") + record("A", "3") + "MPG:x\r\n" + record("C", "4")
            + record("B", "5") + record("A", "6"));
        const HistoryTable table = HistoryTable::load(folder.path(), QLocale(QStringLiteral("en_GB"))).table;
        QStringList got;
        for (qint32 row = 0; row < table.rootCount(); ++row) {
            const qint32 vehicle = table.root(row);
            QString mpgs = table.text(vehicle) + u':';
            for (qint32 child = 0; child < table.childCount(vehicle); ++child) {
                const qint32 node = table.child(vehicle, child);
                QVERIFY(table.parent(node) == vehicle && table.row(node) == child);
                mpgs += table.text(node).section(QStringLiteral("MPG:"), 1).left(1);
            }
            got.append(mpgs);
        }
        QCOMPARE(got, (QStringList { "A:136", "B:25", "C:4" }));
    }

    // The graph keeps a date as its digits and its form: every date and value comes back exactly.
    void pointsKeepTheirDatesAndValues_data()
    {
        QTest::addColumn<QStringList>("dates"); // point i has date i modulo their number
        QTest::addColumn<int>("count");
        QTest::newRow("leading zeros") << QStringList { "01/02/2005 08:00:09", "21/12/2005 18:30:00" } << 2;
        QTest::newRow("several forms") << QStringList { "3/21/05 2:35:12 PM", "20050321143512", "1/1/05 10:05:00 AM" }
                                       << 3;
        QTest::newRow("more than 14 digits, longer than 64 bytes: whole")
            << QStringList { "2005-03-21 14:35:12.123", QString(70, u'x') + u'1', "21/03/2005" } << 3;
        QTest::newRow("empty, other digits") << QStringList { "", "\u0662\u0661/03/2005", "21.03.2005" } << 3;
        QTest::newRow("more forms and values than styles: whole")
            << QStringList { "01/02/2005 08:00:09", "1/2/05 8:00 AM" } << 70'000;
    }

    void pointsKeepTheirDatesAndValues()
    {
        QFETCH(QStringList, dates);
        QFETCH(int, count);
        const auto mpg = [](int i) {
            return i == 1 ? -0.0 : i * 0.25 - 1;
        };
        GraphData::Points points;
        for (int i = 0; i < count; ++i)
            points.append(dates[i % dates.size()].toUtf8(), mpg(i));
        QCOMPARE(points.size(), count);
        for (int i = 0; i < count; ++i) {
            if (points.date(i) != dates[i % dates.size()] || points.mpg(i) != mpg(i)
                || std::signbit(points.mpg(i)) != std::signbit(mpg(i)))
                QFAIL(qPrintable(QStringLiteral("point %1: %2 %3").arg(i).arg(points.date(i)).arg(points.mpg(i))));
        }
    }
};

QTEST_GUILESS_MAIN(TestHistoryTable)
#include "tst_historytable.moc"
