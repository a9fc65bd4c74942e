#include "TestWindow.h"

#include "views/DisplayText.h"
#include "views/HistoryTreeModel.h"
#include "views/MileageChart.h"
#include "views/PlotReduction.h"

#include <QAbstractAxis>
#include <QAbstractItemModelTester>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QGraphicsLayout>
#include <QGroupBox>
#include <QLineSeries>
#include <QListView>
#include <QScrollBar>
#include <QTabBar>
#include <QTextDocumentFragment>
#include <QToolTip>
#include <QTreeView>

// The History and Graph pages through the real window, rebuilt from the file at every tab click.
class TestHistoryWindow : public WindowTest
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_window.reset(); }

    void tabsSwitchPages();
    void historyRebuiltAtEveryClick();
    void treeShowsVehiclesAndRecords();
    void modelIsSound();
    void noFileEmptiesBoth();
    void unreadableFileIsReported();
    void graphQuietAndLoud();
    void graphFollowsFileOrder();
    void graphDrawsCaseVariantsTogether();
    void graphWithoutUsableRecordIsEmptied();
    void graphThinsItsLabels();
    void otherRegionalSettingsRead_data();
    void otherRegionalSettingsRead();
    void markupShownAsText();
    void enlargedWindowGrowsTheHistory();
    void pointerOnAPointShowsItsDateAndMpg();
    void longTextShownOnOneLineKeptWhole_data();
    void longTextShownOnOneLineKeptWhole();
    void graphDrawsWhatTheEyeSees_data();
    void graphDrawsWhatTheEyeSees();

private:
    void write(const QByteArray& bytes) { m_folder.write(bytes); }
    void clickTab(int index) { m_window->clickTab(index); }
    void chooseVehicle(int index)
    {
        auto* box = m_window->control<QComboBox>("cboVehicleList");
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    QStringList roots() const
    {
        QStringList texts;
        const QAbstractItemModel* model = m_window->control<QTreeView>("tvwListData")->model();
        for (int row = 0; row < model->rowCount(); ++row)
            texts.append(model->index(row, 0).data().toString());
        return texts;
    }
    MileageChart* chart() const { return m_window->control<MileageChart>("mscMileage"); }
};

void TestHistoryWindow::init()
{
    m_folder.remove();
    write(record("AB12 CDE", " 30.00", "01/03/2005 08:00:00") + record("XY99 ZZZ", " 50.00")
        + record("AB12 CDE", " 40.00", "08/03/2005 08:00:00"));
    open();
}

void TestHistoryWindow::tabsSwitchPages()
{
    const char* pages[] = { "fraCalc", "fraHistory", "fraChart" };
    for (int tab : { 1, 2, 0, 2 }) {
        clickTab(tab);
        for (int page = 0; page < 3; ++page)
            QCOMPARE(m_window->control<QGroupBox>(pages[page])->isVisible(), page == tab);
    }
    QVERIFY(m_window->messages.isEmpty());
}

void TestHistoryWindow::historyRebuiltAtEveryClick()
{
    clickTab(1);
    QCOMPARE(roots(), (QStringList { "AB12 CDE", "XY99 ZZZ" }));
    QCOMPARE(m_window->status(), QStringLiteral("Historical Data Loaded."));

    write(record("NEW 1", " 10.00"));
    clickTab(1); // the tab already chosen
    QCOMPARE(roots(), QStringList { "NEW 1" });
    QCOMPARE(m_window->items("lvwAverageData"), QStringList { "Mean MPG for vehicle NEW 1 is 10.00" });
}

void TestHistoryWindow::treeShowsVehiclesAndRecords()
{
    clickTab(1);
    const QAbstractItemModel* model = m_window->control<QTreeView>("tvwListData")->model();
    const QModelIndex ab = model->index(0, 0);
    QCOMPARE(ab.data(HistoryTreeModel::KeyRole).toString(), QStringLiteral("KC0"));
    QCOMPARE(model->index(1, 0).data(HistoryTreeModel::KeyRole).toString(), QStringLiteral("KC1"));
    QCOMPARE(model->rowCount(ab), 2);
    QVERIFY(model->index(1, 0, ab).data().toString().startsWith(
        QStringLiteral("VehicleReg:AB12 CDE Date:08/03/2005 08:00:00 Mileage:400")));
    QVERIFY(!ab.data(Qt::DecorationRole).value<QIcon>().isNull());
    QVERIFY(!model->index(0, 0, ab).data(Qt::DecorationRole).value<QIcon>().isNull());
    QCOMPARE(m_window->items("lvwAverageData"),
        (QStringList { "Mean MPG for vehicle AB12 CDE is 35.00", "Mean MPG for vehicle XY99 ZZZ is 50.00" }));
    QCOMPARE(m_window->control<QListView>("lvwAverageData")->model()->index(0, 0).data(Qt::UserRole).toString(),
        QStringLiteral("CO"));
    QVERIFY(!m_window->control<QTreeView>("tvwListData")->isExpanded(ab));
}

void TestHistoryWindow::modelIsSound()
{
    QByteArray bytes;
    for (int i = 0; i < 200; ++i)
        bytes += record("V" + QByteArray::number(i % 7), " 20.00");
    write(bytes);
    clickTab(1);
    auto* tree = m_window->control<QTreeView>("tvwListData");
    QAbstractItemModelTester tester(tree->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    tree->expandAll();
    write(record("ONE", " 1.00"));
    clickTab(1); // a reset under the tester's eyes
    QCOMPARE(tree->model()->rowCount(), 1);
}

void TestHistoryWindow::noFileEmptiesBoth()
{
    clickTab(1);
    QCOMPARE(m_window->items("lvwAverageData").size(), 2);
    m_folder.remove();
    clickTab(1);
    QVERIFY(roots().isEmpty());
    QVERIFY(m_window->items("lvwAverageData").isEmpty());
    QCOMPARE(m_window->status(), QStringLiteral("Historical Data Loaded."));
    QVERIFY(m_window->messages.isEmpty());
}

void TestHistoryWindow::unreadableFileIsReported()
{
    clickTab(1);
    m_folder.remove();
    QVERIFY(QDir(m_folder.dir()).mkdir(QStringLiteral("TripLedger.txt")));
    clickTab(1);
    QCOMPARE(m_window->messages.size(), 1);
    QVERIFY(m_window->messages[0].startsWith(QStringLiteral("critical | Load Data Error | TripLedger.txt - ")));
    QCOMPARE(m_window->status(), QStringLiteral("Loading Historical Data."));
    QVERIFY(roots().isEmpty());
    // The failure came while reading: the list still shows the last good reading.
    QCOMPARE(m_window->items("lvwAverageData").size(), 2);
}

void TestHistoryWindow::graphQuietAndLoud()
{
    clickTab(2);
    QVERIFY(m_window->messages.isEmpty());
    QCOMPARE(m_window->status(), QStringLiteral("Loading Graph Data."));
    QVERIFY(chart()->points().empty());
    // Nothing drawn yet: no axes, a line that asks for a vehicle.
    QCOMPARE(chart()->chart()->title(), QStringLiteral("Choose a vehicle above to draw its miles per gallon."));
    for (const QAbstractAxis* axis : chart()->chart()->axes())
        QVERIFY(!axis->isVisible());

    emit m_window->control<QComboBox>("cboVehicleList")->activated(-1);
    QCOMPARE(m_window->messages,
        QStringList { "information | No Data To Save | You need to have selected a vehicle to plot a graph!" });
    QCOMPARE(m_window->status(), QStringLiteral("Loading Graph Data."));
}

void TestHistoryWindow::graphFollowsFileOrder()
{
    clickTab(2);
    auto* box = m_window->control<QComboBox>("cboVehicleList");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Down); // the user picks the first vehicle
    QCOMPARE(box->currentText(), QStringLiteral("AB12 CDE"));
    QCOMPARE(m_window->status(), QStringLiteral("Graph Data Loaded."));

    const auto* series = qobject_cast<QLineSeries*>(chart()->chart()->series().value(0));
    QVERIFY(series);
    QVERIFY(series->pointsVisible());
    QCOMPARE(series->points(), (QList<QPointF> { { 0, 30.0 }, { 1, 40.0 } }));
    QCOMPARE(chart()->axisLabels(), (QStringList { "01/03/2005", "08/03/2005" }));
    const auto axes = chart()->chart()->axes();
    QStringList titles;
    for (const QAbstractAxis* axis : axes)
        titles.append(axis->titleText());
    QCOMPARE(titles, (QStringList { "Time", "MPG" }));
    QVERIFY(axes[0]->isVisible() && axes[1]->isVisible() && chart()->chart()->title().isEmpty());

    // Choosing the Graph tab again redraws from the file, for the vehicle still chosen.
    write(record("AB12 CDE", " 12.00"));
    clickTab(0);
    clickTab(2);
    QCOMPARE(series->points(), (QList<QPointF> { { 0, 12.0 } }));
}

void TestHistoryWindow::graphDrawsCaseVariantsTogether()
{
    write(record("AB12CDE", " 10.00") + record("ab12cde", " 20.00") + record(" ab12cde ", " 30.00"));
    open();
    clickTab(1);
    QCOMPARE(roots(), (QStringList { "AB12CDE", "ab12cde", " ab12cde " }));
    clickTab(2);
    chooseVehicle(1);
    QCOMPARE(chart()->points().size(), size_t(3));
    QCOMPARE(chart()->points()[2].mpg, 30.0);
}

void TestHistoryWindow::graphWithoutUsableRecordIsEmptied()
{
    write(record("AB12 CDE", " 30.00") + record("XY99 ZZZ", " none"));
    clickTab(2);
    chooseVehicle(0);
    QCOMPARE(chart()->points().size(), size_t(1));
    chooseVehicle(1);
    QCOMPARE(m_window->messages,
        QStringList { "critical | Chart Data Error | Graph Data Check Failure - No saved "
                      "calculation with a usable MPG for vehicle XY99 ZZZ." });
    QCOMPARE(m_window->status(), QStringLiteral("Loading Graph Data."));
    QVERIFY(chart()->points().empty());
}

void TestHistoryWindow::graphThinsItsLabels()
{
    QByteArray bytes;
    for (int day = 1; day <= 28; ++day)
        for (int i = 0; i < 100; ++i)
            bytes += record("AB12 CDE", " 30.00", QByteArray::number(day).rightJustified(2, '0') + "/02/2005 08:00:00");
    write(bytes);
    clickTab(2);
    chooseVehicle(0);
    QCOMPARE(chart()->points().size(), size_t(2800));
    const QStringList labels = chart()->axisLabels();
    QVERIFY(labels.size() <= MileageChart::MaxLabels);
    QCOMPARE(labels.first(), QStringLiteral("01/02/2005"));
}

void TestHistoryWindow::otherRegionalSettingsRead_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QByteArray>("low");
    QTest::addColumn<QByteArray>("high");
    QTest::addColumn<QString>("mean");
    QTest::newRow("saved under de_DE, read under en_GB")
        << "en_GB" << QByteArray(" 30,50") << QByteArray(" 40,00") << "35.25";
    QTest::newRow("saved under en_GB, read under de_DE")
        << "de_DE" << QByteArray(" 30.50") << QByteArray(" 1040.00") << "535,25";
}

void TestHistoryWindow::otherRegionalSettingsRead()
{
    QFETCH(QString, locale);
    QFETCH(QByteArray, low);
    QFETCH(QByteArray, high);
    QFETCH(QString, mean);
    write(record("AB12 CDE", low) + record("AB12 CDE", high));
    open(environment(QLocale(locale)));
    clickTab(1);
    QCOMPARE(m_window->items("lvwAverageData"), QStringList { "Mean MPG for vehicle AB12 CDE is " + mean });
    clickTab(2);
    chooseVehicle(0);
    QCOMPARE(chart()->points().size(), size_t(2));
    QVERIFY(m_window->messages.isEmpty());
}

void TestHistoryWindow::markupShownAsText()
{
    write(record("<b>BOLD</b>", " none") + record("X", " 40.00", "<i>1</i>/02/2005 08:00:00"));
    open();
    m_window->realBoxes = true;
    clickTab(1);
    const QString tip
        = m_window->control<QTreeView>("tvwListData")->model()->index(0, 0).data(Qt::ToolTipRole).toString();
    QCOMPARE(QTextDocumentFragment::fromHtml(tip).toPlainText(), QStringLiteral("<b>BOLD</b>"));
    clickTab(2);
    chooseVehicle(0);
    QCOMPARE(m_window->boxTexts,
        QStringList { "Graph Data Check Failure - No saved calculation with a usable MPG for vehicle <b>BOLD</b>." });
    chooseVehicle(1);
    QCOMPARE(chart()->axisLabels(), QStringList { "&lt;i&gt;1&lt;/i&gt;/0" }); // drawn as the text it is
}

void TestHistoryWindow::enlargedWindowGrowsTheHistory()
{
    clickTab(1);
    auto* tree = m_window->control<QTreeView>("tvwListData");
    tree->expandAll();
    QVERIFY(tree->horizontalScrollBar()->maximum() > 0); // a record line is wider than the view
    const QRect calculate = m_window->control<QWidget>("cmdCalc")->geometry();
    const QSize designed = m_window->size();
    QCOMPARE(m_window->minimumSize(), designed);
    const QSize treeBefore = tree->size();
    const QSize chartBefore = chart()->size();
    m_window->resize(designed + QSize(300, 150));
    QCOMPARE(tree->size(), treeBefore + QSize(300, 100));
    QCOMPARE(chart()->size(), chartBefore + QSize(300, 150));
    QCOMPARE(m_window->control<QWidget>("cmdCalc")->geometry(), calculate);
}

void TestHistoryWindow::pointerOnAPointShowsItsDateAndMpg()
{
    clickTab(2);
    chooseVehicle(0);
    auto* view = chart()->findChild<QChartView*>();
    view->chart()->layout()->activate(); // the axes it has just shown take their room
    const QPointF second = view->chart()->mapToPosition(QPointF(1, 40.0));
    const QPoint at = view->mapFromScene(view->chart()->mapToScene(second));
    QTest::mouseMove(view->viewport(), at - QPoint(6, 0));
    QTest::mouseMove(view->viewport(), at);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QTextDocumentFragment::fromHtml(QToolTip::text()).toPlainText(),
        QStringLiteral("08/03/2005 08:00:00\nMPG: 40.00"));
}

void TestHistoryWindow::longTextShownOnOneLineKeptWhole_data()
{
    QTest::addColumn<QString>("registration");
    QTest::newRow("registration of 1,000 characters") << QString(500, u'A') + QString(500, u'B');
    QTest::newRow("registration with a line separator") << QStringLiteral("AB12\u2028CDE");
}

// The list and boxes show a long or broken registration cut to one line; everything else uses it whole, so a
// twin that differs only in the part cut away stays a vehicle of its own.
void TestHistoryWindow::longTextShownOnOneLineKeptWhole()
{
    QFETCH(QString, registration);
    QString twin = registration;
    twin[twin.size() / 2] = u'#';
    const QByteArray reg = registration.toUtf8();
    write(record(reg, " 30.00") + record(twin.toUtf8(), " 90.00") + record(reg, " 40.00"));
    open();
    const auto isShownOnOneLine = [](const QString& text) {
        return text.size() <= DisplayText::MaxLength && !text.contains(QChar::LineSeparator);
    };

    clickTab(1);
    auto* tree = m_window->control<QTreeView>("tvwListData");
    const QModelIndex vehicle = tree->model()->index(0, 0);
    QVERIFY(isShownOnOneLine(vehicle.data().toString()));
    QCOMPARE(vehicle.data(Qt::EditRole).toString(), registration);
    QVERIFY(isShownOnOneLine(tree->model()->index(0, 0, vehicle).data().toString()));
    QVERIFY(tree->visualRect(vehicle).height() < 2 * tree->fontMetrics().height());
    const QStringList means = m_window->items("lvwAverageData");
    QCOMPARE(means.size(), 2);
    QVERIFY(isShownOnOneLine(means[0]));
    QVERIFY(means[0].endsWith(QStringLiteral(" is 35.00")));
    QVERIFY(means[1].endsWith(QStringLiteral(" is 90.00")));

    clickTab(2);
    QVERIFY(isShownOnOneLine(m_window->entries("cboVehicleList").value(0)));
    chooseVehicle(0);
    QCOMPARE(chart()->points().size(), size_t(2));

    clickTab(0);
    auto* box = m_window->control<QComboBox>("cboVehicleReg");
    QVERIFY(isShownOnOneLine(box->model()->index(1, 0).data().toString())); // as its drop-down shows it
    box->setCurrentIndex(1);
    m_window->calculate({ "400", "45", "10", "90" });
    m_window->click("cmdSave");
    QVERIFY(m_folder.read().endsWith("\r\nVehicleReg:" + twin.toUtf8()
        + ";Date:21/03/2005 14:35:12;Mileage:400;"
          "Cost:45;MPG: 40.00;Commute Distance:10;Price Per Unit:90;Unit:Litre;\r\n"));
}

void TestHistoryWindow::graphDrawsWhatTheEyeSees_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("a few thousand points drawn whole") << int(PlotReduction::DrawnWhole);
    QTest::newRow("100,000 points drawn by their extremes") << 100'000;
}

void TestHistoryWindow::graphDrawsWhatTheEyeSees()
{
    QFETCH(int, count);
    std::vector<GraphData::Point> points;
    for (int i = 0; i < count; ++i)
        points.push_back({ QStringLiteral("01/02/2005"), 30.0 + (i * 7919 % 1000) / 100.0 });
    points[size_t(count / 3)].mpg = 5.0;
    points[size_t(count / 3 + 1)].mpg = 95.0;
    chart()->setPoints(points);

    const auto* series = qobject_cast<QLineSeries*>(chart()->chart()->series().value(0));
    const QList<QPointF> drawn = series->points();
    if (count <= PlotReduction::DrawnWhole)
        QCOMPARE(drawn.size(), count);
    else
        QVERIFY(drawn.size() < count / 10);
    const auto [low, high] = std::minmax_element(
        drawn.begin(), drawn.end(), [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
    QCOMPARE(low->y(), 5.0);
    QCOMPARE(high->y(), 95.0);
    QCOMPARE(drawn.first().x(), 0.0);
    QCOMPARE(drawn.last().x(), double(count - 1));
    QVERIFY(
        std::is_sorted(drawn.begin(), drawn.end(), [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); }));
}

QTEST_MAIN(TestHistoryWindow)
#include "tst_historywindow.moc"
