#include "HistoryFolder.h"
#include "ReadOnlyFolder.h"

#include "calc/AppError.h"
#include "history/CsvExport.h"

#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

// Reads CSV as strictly as RFC 4180 has it: every row ends in CR LF; a cell that begins with a quote ends with
// the quote before a separator or the row's end, its inner quotes doubled; any other cell holds no quote, CR or
// LF. False for anything else.
bool readCsv(QByteArrayView bytes, char separator, QList<QStringList>& rows)
{
    QStringList row;
    for (qsizetype i = 0; i < bytes.size();) {
        QByteArray cell;
        if (bytes[i] == '"') {
            for (++i;; ++i) {
                if (i >= bytes.size())
                    return false;
                if (bytes[i] == '"' && (i + 1 >= bytes.size() || bytes[i + 1] != '"'))
                    break;
                cell += bytes[i];
                i += bytes[i] == '"' ? 1 : 0;
            }
            ++i;
        } else {
            for (; i < bytes.size() && bytes[i] != separator && bytes[i] != '\r'; ++i) {
                if (bytes[i] == '"' || bytes[i] == '\n')
                    return false;
                cell += bytes[i];
            }
        }
        row << QString::fromUtf8(cell);
        if (i < bytes.size() && bytes[i] == separator) {
            ++i;
        } else if (bytes.sliced(i).startsWith("\r\n")) {
            rows << row;
            row.clear();
            i += 2;
        } else {
            return false;
        }
    }
    return row.isEmpty();
}

const QStringList Header
    = { "Vehicle", "Date", "Miles", "Cost", "MPG", "Commute miles (one way)", "Price per unit", "Unit" };

QByteArray line(const QByteArray& reg, const QByteArray& date, const QByteArray& numbers)
{
    const QList<QByteArray> n = numbers.split('|'); // mileage, cost, MPG, commute, price
    return "VehicleReg:" + reg + ";Date:" + date + ";Mileage:" + n[0] + ";Cost:" + n[1] + ";MPG:" + n[2]
        + ";Commute Distance:" + n[3] + ";Price Per Unit:" + n[4] + ";Unit:Litre;\r\n";
}

} // namespace

// The CSV export, read back with a strict reader cell by cell, and what a failure or a cancel leaves.
class TestCsvExport : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_folder.remove();
        for (const QString& name : QDir(m_out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
            QVERIFY(QFile::remove(m_out.filePath(name)) || QDir(m_out.filePath(name)).removeRecursively());
    }

    void writesEveryForm_data()
    {
        QTest::addColumn<QByteArray>("history");
        QTest::addColumn<QString>("settings"); // the regional settings of the export
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QList<QStringList>>("rows"); // after the header
        QTest::addColumn<QString>("counts"); // rows written, lines left out
        const auto row = [](const char* name, const QByteArray& history, const char* settings,
                             const QList<QStringList>& rows, const char* counts, const char* separator = ",") {
            QTest::newRow(name) << history << QString(settings) << QString(separator) << rows << QString(counts);
        };
        const QStringList plain = { "AB12 CDE", "2005-03-21T14:35:12", "400", "45", "41.76", "10", "90", "Litre" };
        row("en_GB date, as saved under en_GB", record("AB12 CDE", " 41.76"), "en_GB", { plain }, "1 0");
        row("en_GB date read under en_US settings", record("AB12 CDE", " 41.76"), "en_US", { plain }, "1 0");
        row("en_US date with PM read under en_GB settings", record("AB12 CDE", " 41.76", "3/21/05 2:35:12 PM"), "en_GB",
            { plain }, "1 0");
        row("de_DE date and decimal commas, read under de_DE",
            line("AB12 CDE", "21.03.05 14:35:12", "400,5|45,50| 41,76|10,25|1,899"), "de_DE",
            { { "AB12 CDE", "2005-03-21T14:35:12", "400.5", "45.5", "41.76", "10.25", "1.899", "Litre" } }, "1 0");
        row("decimal commas read under en_GB settings: as any locale writes them",
            line("X", "d", "400,5|45,50| 41,76|0|9"), "en_GB",
            { { "X", "d", "400.5", "45.5", "41.76", "0", "9", "Litre" } }, "1 0");
        row("separator, quote and leading = in a registration: quoted, doubled, shown as text",
            record("=HYPERLINK(\"http://x\"),\"1\"", " 30.00"), "en_GB",
            { { "'=HYPERLINK(\"http://x\"),\"1\"", "2005-03-21T14:35:12", "400", "45", "30", "10", "90", "Litre" } },
            "1 0");
        row("formula starts in texts; a negative number stays a number",
            line("+A1", "@SUM(1)", "-5|-1+2| 1.00|\tx|-.5") + line("-A1", "yesterday", "x|y|z|\rw|-0,00"), "en_GB",
            { { "'+A1", "'@SUM(1)", "-5", "'-1+2", "1", "'\tx", "-0.5", "Litre" },
                { "'-A1", "yesterday", "x", "y", "z", "'\rw", "0", "Litre" } },
            "2 0");
        row("a byte that is not UTF-8; UTF-8 kept",
            record("CAF\xC9", " 10.00") + record("caf\xC3\xA9 \xE6\xBC\xA2", " 10.00"), "en_GB",
            { { QStringLiteral("CAF\uFFFD"), "2005-03-21T14:35:12", "400", "45", "10", "10", "90", "Litre" },
                { QStringLiteral("caf\u00e9 \u6f22"), "2005-03-21T14:35:12", "400", "45", "10", "10", "90", "Litre" } },
            "2 0");
        row("damaged lines, a blank one and a torn last line left out; missing fields empty",
            "\xEF\xBB\xBF" + record("A", " 10.00") + "VehicleReg:B;Date:x;\r\n\r\nVehicleReg:C;MPG: 5;\r\n"
                + "Date:21/03/2005 14:35:12;MPG: 6;\r\n" + record("D", " 20.00").left(30),
            "en_GB",
            { { "A", "2005-03-21T14:35:12", "400", "45", "10", "10", "90", "Litre" },
                { "C", "", "", "", "5", "", "", "" } },
            "2 4");
        row("semicolons: a comma needs no quotes", record("A,B", " 41.76"), "en_GB",
            { { "A,B", "2005-03-21T14:35:12", "400", "45", "41.76", "10", "90", "Litre" } }, "1 0", ";");
        row("dates that exist only: 31 February and hour 25 as saved",
            record("A", " 1.00", "31/02/2005 14:35:12") + record("A", " 1.00", "21/03/2005 25:35:12"), "en_GB",
            { { "A", "31/02/2005 14:35:12", "400", "45", "1", "10", "90", "Litre" },
                { "A", "21/03/2005 25:35:12", "400", "45", "1", "10", "90", "Litre" } },
            "2 0");
        row("no history: the header alone", QByteArray(), "en_GB", {}, "0 0");
    }

    void writesEveryForm()
    {
        QFETCH(QByteArray, history);
        QFETCH(QString, settings);
        QFETCH(QString, separator);
        QFETCH(QList<QStringList>, rows);
        QFETCH(QString, counts);
        if (!history.isEmpty())
            m_folder.write(history);
        const std::optional<CsvExport::Counts> written
            = CsvExport::write(m_folder.path(), csv(), separator[0].toLatin1(), QLocale(settings));
        QVERIFY(written);
        QCOMPARE(QStringLiteral("%1 %2").arg(written->rows).arg(written->leftOut), counts);
        const QByteArray bytes = read(csv());
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QList<QStringList> cells;
        QVERIFY(readCsv(QByteArrayView(bytes).sliced(3), separator[0].toLatin1(), cells));
        QCOMPARE(cells, QList<QStringList> { Header } + rows);
        QCOMPARE(m_folder.read(), history.isEmpty() ? QByteArray("<absent>") : history);
    }

    // Whatever goes wrong, the folder holds what it held: no half-written file, the earlier export whole.
    void failureLeavesTheEarlierFile_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("reason"); // after the export's full path and " - "; empty: cancelled
        QTest::newRow("read-only folder") << "read-only"
                                          << "Permission denied";
        QTest::newRow("disk full (the file-size limit)") << "limit"
                                                         << "File too large";
        QTest::newRow("name that is a folder") << "folder"
                                               << "Filename refers to a directory";
        QTest::newRow("cancelled") << "cancel" << QString();
    }

    void failureLeavesTheEarlierFile()
    {
        QFETCH(QString, failure);
        QFETCH(QString, reason);
        QByteArray history;
        for (int i = 0; i < 60000; ++i) // 2.8 MB of CSV: more than the export's 1 MiB buffer and the limit
            history += record("AB" + QByteArray::number(i % 7), " 40.00");
        m_folder.write(history);
        const QString target = failure == QLatin1String("folder") ? m_out.filePath("folder.csv") : csv();
        const QByteArray earlier = "earlier export\r\n";
        if (failure == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(target));
        else
            QVERIFY(writeFile(target, earlier));
        const QStringList before = QDir(m_out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

        QString message;
        bool cancelled = false;
        rlimit limit {};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit old = limit;
        {
            std::optional<ReadOnlyFolder> readOnly;
            if (failure == QLatin1String("read-only"))
                readOnly.emplace(m_out.path());
            if (failure == QLatin1String("limit")) {
                std::signal(SIGXFSZ, SIG_IGN); // as the program does
                limit.rlim_cur = 1 << 20;
                QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
            }
            try {
                cancelled = !CsvExport::write(
                    m_folder.path(), target, ',', QLocale(QLocale::English), [&failure](qint64 done, qint64 total) {
                        return failure != QLatin1String("cancel") || done > total;
                    });
            } catch (const AppError& error) {
                message = error.message();
            }
            setrlimit(RLIMIT_FSIZE, &old);
        }
        QCOMPARE(message, reason.isEmpty() ? QString() : target + QStringLiteral(" - ") + reason);
        QCOMPARE(cancelled, reason.isEmpty());
        QCOMPARE(QDir(m_out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
        if (failure != QLatin1String("folder"))
            QCOMPARE(read(target), earlier);
        QCOMPARE(m_folder.read(), history);
    }

private:
    QString csv() const { return m_out.filePath(QStringLiteral("TripLedger-2005-03-21.csv")); }
    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<absent>");
    }
    static bool writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    HistoryFolder m_folder;
    QTemporaryDir m_out;
};

QTEST_GUILESS_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
