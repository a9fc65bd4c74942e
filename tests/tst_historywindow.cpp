#include "TestWindow.h"

#include "views/DisplayText.h"
#include "views/ImageList.h"
#include "views/MileageChart.h"
#include "views/PlotReduction.h"

#include <QAbstractItemModelTester>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QGraphicsLayout>
#include <QLineSeries>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextDocumentFragment>
#include <QToolTip>
#include <QTreeView>
#include <QValueAxis>

// The History and Graph pages through the real window, rebuilt from the file at every tab click.
class TestHistoryWindow : public WindowTest
{
    Q_OBJECT

    QComboBox* vehicles() const { return m_window->control<QComboBox>("cboVehicleList"); }
    static QString plain(const QString& html) { return QTextDocumentFragment::fromHtml(html).toPlainText(); }
    static QImage image(const QVariant& icon) { return icon.value<QIcon>().pixmap(16).toImage(); }
    QTreeView* tree() const { return m_window->control<QTreeView>("tvwListData"); }
    MileageChart* chart() const { return m_window->control<MileageChart>("mscMileage"); }
    QChartView* view() const { return chart()->findChild<QChartView*>(); }
    QList<QPointF> drawn() const { return qobject_cast<QLineSeries*>(view()->chart()->series().value(0))->points(); }

private slots:
    void init()
    {
        m_folder.remove();
        // The second registration looks like markup: every page shows it as the text it is.
        m_folder.write(record("AB12 CDE", " 30.00", "01/03/2005 08:00:00") + record("<b>XY99</b>", " 50.00")
            + record("AB12 CDE", " 40.00", "08/03/2005 08:00:00"));
        open();
    }

    void historyPage_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // the file's new content, "<absent>", "<folder>" or "<loop>"
        QTest::addColumn<QStringList>("shown"); // the tree's vehicles, then the means
        QTest::addColumn<QString>("message"); // how the one message box starts; empty for none
        const auto row
            = [](const char* name, const QByteArray& bytes, const QStringList& shown, const QString& message) {
                  QTest::newRow(name) << bytes << shown << message;
              };
        const QStringList kept { "Mean MPG for vehicle AB12 CDE is 35,00",
            "Mean MPG for vehicle <b>XY99</b> is 50,00" };
        row("another file, saved under de_DE and under en_GB", record("NEW 1", " 30,50") + record("NEW 1", " 1040.00"),
            { "NEW 1", "Mean MPG for vehicle NEW 1 is 535,25" }, "");
        row("no file: both emptied, no box", "<absent>", {}, "");
        row("a folder beside the program: reported, the means of the last reading kept", "<folder>", kept,
            "critical | Load Data Error | " + m_folder.beside() + " - ");
        row("link loop: reported with the system's reason", "<loop>", kept,
            "critical | Load Data Error | " + m_folder.beside() + " - Too many levels of symbolic links");
    }

    // The page as first shown, and grown with the window.
    void historyPageLaidOut()
    {
        QAbstractItemModelTester tester(tree()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        m_window->clickTab(1);
        QCOMPARE(plain(tree()->model()->index(1, 0).data(Qt::ToolTipRole).toString()), QStringLiteral("<b>XY99</b>"));
        const QModelIndex vehicle = tree()->model()->index(0, 0);
        QCOMPARE(image(vehicle.data(Qt::DecorationRole)), image(ImageList::icon("TR")));
        QCOMPARE(image(vehicle.model()->index(0, 0, vehicle).data(Qt::DecorationRole)), image(ImageList::icon("DA")));
        tree()->expandAll();
        QVERIFY(tree()->horizontalScrollBar()->maximum() > 0); // a record line is read whole by scrolling sideways

        // An enlarged window gives the tree, the means and the chart the room; the calculator stays as it was,
        // and the means' heading stays between the tree and the means.
        const QRect calculate = m_window->control<QWidget>("cmdCalc")->geometry();
        const auto geometry = [this](const char* name) {
            return m_window->control<QWidget>(name)->geometry();
        };
        const QRect before[] { geometry("tvwListData"), geometry("lvwAverageData"), geometry("mscMileage") };
        m_window->resize(m_window->size() + QSize(300, 150));
        const QRect after[] { geometry("tvwListData"), geometry("lvwAverageData"), geometry("mscMileage") };
        for (int i = 0; i < 3; ++i)
            QVERIFY(after[i].width() == before[i].width() + 300 && after[i].height() > before[i].height());
        QCOMPARE(after[0].height() - before[0].height() + after[1].height() - before[1].height(), 150);
        QVERIFY(
            after[0].bottom() < geometry("lblDataNodes").top() && geometry("lblDataNodes").bottom() < after[1].top());
        QVERIFY(m_window->control<QWidget>("fraHistory")->contentsRect().contains(after[1]));
        QCOMPARE(m_window->control<QWidget>("cmdCalc")->geometry(), calculate);
    }

    // The page rebuilt from the file on a click of its own tab.
    void historyPage()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, shown);
        QFETCH(QString, message);
        open(environment(QLocale(QStringLiteral("de_DE")))); // read and shown with a decimal comma
        m_window->clickTab(1);
        m_folder.remove();
        if (bytes == "<folder>")
            QVERIFY(QDir().mkpath(m_folder.beside()));
        else if (bytes == "<loop>")
            QVERIFY(QDir().mkpath(m_folder.dir()) && QFile::link(QStringLiteral("TripLedger.txt"), m_folder.beside()));
        else if (bytes != "<absent>")
            m_folder.write(bytes);
        m_window->clickTab(1); // the tab already chosen
        QCOMPARE(m_window->items("tvwListData") + m_window->items("lvwAverageData"), shown);
        QCOMPARE(m_window->status(), message.isEmpty() ? "Historical Data Loaded." : "Loading Historical Data.");
        QCOMPARE(m_window->messages.size(), message.isEmpty() ? 0 : 1);
        QCOMPARE(m_window->messages.value(0).left(message.size()), message);
    }

    void graphPage()
    {
        m_window->realBoxes = true;
        m_window->clickTab(2);
        QCOMPARE(m_window->status(), QStringLiteral("Loading Graph Data."));
        // Nothing drawn yet: no axes, a line that asks for a vehicle.
        QChart* drawing = view()->chart();
        QCOMPARE(drawing->title(), QStringLiteral("Choose a vehicle above to draw its miles per gallon."));
        QVERIFY(!drawing->axes()[0]->isVisible() && !drawing->axes()[1]->isVisible());
        emit vehicles()->activated(-1);
        QCOMPARE(m_window->messages,
            QStringList { "information | No Data To Save | You need to have selected a vehicle to plot a graph!" });

        vehicles()->setCurrentIndex(0);
        emit vehicles()->activated(0);
        QCOMPARE(m_window->status(), QStringLiteral("Graph Data Loaded."));
        QCOMPARE(drawn(), (QList<QPointF> { { 0, 30.0 }, { 1, 40.0 } }));
        QVERIFY(drawing->title().isEmpty() && drawing->axes()[0]->isVisible() && drawing->axes()[1]->isVisible());
        drawing->layout()->activate(); // the axes just shown take their room
        const QPoint second = view()->mapFromScene(drawing->mapToScene(drawing->mapToPosition(QPointF(1, 40.0))));
        QTest::mouseMove(view()->viewport(), second);
        QTRY_COMPARE(plain(QToolTip::text()), QStringLiteral("08/03/2005 08:00:00\nMPG: 40.00"));

        // Choosing the Graph tab again redraws from the file, for the vehicle still chosen.
        m_folder.write(record("AB12 CDE", " 12.00") + record("<b>XY99</b>", " none"));
        m_window->clickTab(0);
        m_window->clickTab(2);
        QCOMPARE(drawn(), (QList<QPointF> { { 0, 12.0 } }));
        vehicles()->setCurrentIndex(1);
        emit vehicles()->activated(1);
        QCOMPARE(m_window->messages.value(1),
            QStringLiteral(
                "critical | Chart Data Error | Graph Data Check Failure - No saved calculation with a usable "
                "MPG for vehicle <b>XY99</b>."));
        QCOMPARE(m_window->boxTexts.value(1), m_window->messages[1].section(QStringLiteral(" | "), 2)); // not markup
        QCOMPARE(m_window->status(), QStringLiteral("Loading Graph Data."));
        QVERIFY(drawn().isEmpty()); // never the other vehicle's line under this one's name
    }

    void longTextShownOnOneLineKeptWhole_data()
    {
        QTest::addColumn<QString>("registration");
        QTest::newRow("registration of 1,000 characters") << QString(500, u'A') + QString(500, u'B');
        QTest::newRow("registration with a line separator") << QStringLiteral("AB12\u2028CDE");
    }

    // The list and boxes show a long or broken registration cut to one line; everything else uses it whole, so a
    // twin that differs only in the part cut away stays a vehicle of its own.
    void longTextShownOnOneLineKeptWhole()
    {
        QFETCH(QString, registration);
        const QString twin = QString(registration).replace(registration.size() / 2, 1, u'#');
        m_folder.write(record(registration.toUtf8(), " 30.00") + record(twin.toUtf8(), " 90.00"));
        open();
        m_window->clickTab(1);
        const QStringList means = m_window->items("lvwAverageData");
        QVERIFY(means.size() == 2 && means[0].endsWith(QStringLiteral(" is 30.00")));
        for (const QString& text : m_window->items("tvwListData") + means + m_window->entries("cboVehicleList")
                + QStringList { tree()->model()->index(0, 0, tree()->model()->index(0, 0)).data().toString() })
            QVERIFY2(text.size() <= DisplayText::MaxLength && !text.contains(QChar::LineSeparator), qPrintable(text));

        m_window->clickTab(2);
        vehicles()->setCurrentIndex(0);
        emit vehicles()->activated(0);
        QCOMPARE(drawn().size(), 1);

        m_window->clickTab(0);
        m_window->control<QComboBox>("cboVehicleReg")->setCurrentIndex(1);
        m_window->calculate({ "400", "45", "10", "90" });
        m_window->click("cmdSave");
        QCOMPARE(m_folder.read().count("\nVehicleReg:" + twin.toUtf8() + ";Date:"), 2);
    }

    void mpgAxisHoldsEveryPoint_data()
    {
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::newRow("one MPG near the largest double") << 1.7e308 << 1.7e308;
        QTest::newRow("two denormal MPGs") << 5e-324 << 1e-323;
        QTest::newRow("both ends of a double") << -1.7e308 << 1.7e308;
    }

    void mpgAxisHoldsEveryPoint()
    {
        QFETCH(double, low);
        QFETCH(double, high);
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); // as an axis refusing an infinite end warns
        GraphData::Points points;
        points.append("01/02/2005", low);
        points.append("02/02/2005", high);
        chart()->setPoints(std::move(points), QStringLiteral("AB12 CDE"));
        const auto* axis = qobject_cast<QValueAxis*>(view()->chart()->axes(Qt::Vertical)[0]);
        QVERIFY(axis->min() <= low && high <= axis->max());
    }

    void graphLabelsAndDrawsWhatTheEyeSees_data()
    {
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<QStringList>("labels");
        const QStringList fourOfOneDay(4, QStringLiteral("01/02/2005"));
        QTest::newRow("six points: every other date") << QStringList { "01/02/2005", "02/02/2005", "03/02/2005",
            "04/02/2005", "05/02/2005", "06/02/2005" } << QStringList { "01/02/2005", "03/02/2005", "05/02/2005" };
        QTest::newRow("nine on one day: every third, each kept")
            << QStringList(9, "01/02/2005") << QStringList(3, QStringLiteral("01/02/2005"));
        QTest::newRow("markup in a date drawn as the text it is") << QStringList { "<i>1</i>/02/2005 08:00:00",
            "01/02/2005" } << QStringList { "&lt;i&gt;1&lt;/i&gt;/0", "01/02/2005" };
        QTest::newRow("a few thousand points drawn whole")
            << QStringList(PlotReduction::DrawnWhole, "01/02/2005") << fourOfOneDay;
        QTest::newRow("100,000 points drawn by their extremes") << QStringList(100'000, "01/02/2005") << fourOfOneDay;
    }

    void graphLabelsAndDrawsWhatTheEyeSees()
    {
        QFETCH(QStringList, dates);
        QFETCH(QStringList, labels);
        const qsizetype count = dates.size();
        GraphData::Points points;
        for (qsizetype i = 0; i < count; ++i) {
            // the highest before the lowest, within one column
            const double mpg = i == count / 3 ? 95.0
                : i == count / 3 + 1          ? 5.0
                                              : 30.0 + static_cast<double>(i * 7919 % 1000) / 100.0;
            points.append(dates[i].toUtf8(), mpg);
        }
        chart()->setPoints(std::move(points), QStringLiteral("AB12 CDE"));
        // The dates under the axis, without the invisible marks that tell equal dates apart.
        QStringList shown = qobject_cast<QCategoryAxis*>(view()->chart()->axes(Qt::Horizontal)[0])->categoriesLabels();
        QCOMPARE(shown.replaceInStrings(QString(u'\u200b'), QString()), labels);

        const QList<QPointF> drawn = this->drawn();
        QVERIFY(count <= PlotReduction::DrawnWhole ? drawn.size() == count : drawn.size() < count / 10);
        QVERIFY(drawn.contains(QPointF(count / 3, 95.0)) && drawn.contains(QPointF(count / 3 + 1, 5.0)));
        QVERIFY(drawn.first().x() == 0.0 && drawn.last().x() == double(count - 1));
        for (qsizetype i = 1; i < drawn.size(); ++i)
            QVERIFY(drawn[i - 1].x() < drawn[i].x()); // in x order, each once
    }
};

QTEST_MAIN(TestHistoryWindow)
#include "tst_historywindow.moc"
