#include "TestWindow.h"

#include "shell/AboutDialog.h"

#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QTextBrowser>

namespace {

// A control is known by its object's name; a menu title by its menu's; a part without an object (a tab) by
// its place in its parent.
QString controlName(QAccessibleInterface* part, const QString& parent, int index)
{
    QObject* object = part->object();
    if (auto* action = qobject_cast<QAction*>(object); action && action->menu())
        object = action->menu();
    return object && !object->objectName().isEmpty() ? object->objectName() : parent + u'/' + QString::number(index);
}

// Walks the tree as a screen reader does, noting the name heard for every visible window, frame and control that
// takes the focus or a click; the parts of a control are the control itself.
void walk(QAccessibleInterface* part, const QString& control, QMap<QString, QString>& heard)
{
    if (part->state().invisible)
        return;
    const QAccessible::Role role = part->role();
    // A tab strip is named by Qt after its chosen tab, which is heard already; its tabs are the controls.
    const bool isControl = role != QAccessible::PageTabList
        && (part->state().focusable || role == QAccessible::MenuItem || role == QAccessible::PageTab);
    if (isControl || role == QAccessible::Window || role == QAccessible::Dialog || role == QAccessible::Grouping)
        heard.insert(control, part->text(QAccessible::Name).simplified()); // blanks run together, as spoken
    if (isControl)
        return;
    for (int i = 0; i < part->childCount(); ++i) {
        if (QAccessibleInterface* child = part->child(i))
            walk(child, controlName(child, control, i), heard);
    }
}

} // namespace

// Every window, frame and control is announced by a screen reader, each by a name of its own.
class TestAccessibility : public WindowTest
{
    Q_OBJECT

private slots:
    void init() { open(); }
    void cleanup() { m_window.reset(); }

    void namedAndReachable_data();
    void namedAndReachable();
    void helpLinksByKeyboard();
};

void TestAccessibility::namedAndReachable_data()
{
    // Pages: C, H, G the main window's Calculator, History and Graph pages, A the About window, W the help window.
    QTest::addColumn<QChar>("page");
    QTest::addColumn<QStringList>("controls");
    const QStringList window { "frmTripLedger", "tbsData/0", "tbsData/1", "tbsData/2", "mnuFile", "mnuHelp" };
    QTest::newRow("Calculator page: inner frame by its own caption") << QChar(u'C')
                                                                     << window
            + QStringList { "fraCalc", "fraCalculator", "txtMileage", "txtCost", "txtCommuteDistance", "optUnits_0",
                  "optUnits_1", "txtPricePerUnit", "cmdCalc", "lvwDataView", "cboVehicleReg", "cmdSave" };
    QTest::newRow("History page: list by its label")
        << QChar(u'H') << window + QStringList { "fraHistory", "tvwListData", "lvwAverageData" };
    QTest::newRow("Graph page: the chart's focusable view by the chart's name")
        << QChar(u'G') << window + QStringList { "fraChart", "cboVehicleList", "mscMileage/0" };
    QTest::newRow("About window") << QChar(u'A') << QStringList { "frmAbout", "lblInformation_3", "cmdOk" };
    QTest::newRow("help window, its document named")
        << QChar(u'W') << QStringList { "frmHelp", "txtHelp", "cmdHelpBack", "cmdHelpForward", "cmdHelpClose" };
}

void TestAccessibility::namedAndReachable()
{
    QFETCH(QChar, page);
    QFETCH(QStringList, controls);
    frmAbout about(m_window.get());
    if (page == u'A')
        about.show();
    else if (page == u'W')
        m_window->control<QAction>("mnuHelpHelp")->trigger();
    else
        m_window->clickTab(int(QStringLiteral("CHG").indexOf(page)));
    QWidget* window = page == u'A' ? &about : page == u'W' ? m_window->control<QWidget>("frmHelp") : m_window.get();

    QMap<QString, QString> heard;
    walk(QAccessible::queryAccessibleInterface(window), window->objectName(), heard);
    controls.sort();
    QCOMPARE(heard.keys(), controls);
    const QStringList names = heard.values();
    QVERIFY2(!names.contains(QString()), "a control without a name");
    QCOMPARE(QSet<QString>(names.cbegin(), names.cend()).size(), names.size()); // no two controls named alike
}

void TestAccessibility::helpLinksByKeyboard()
{
    AppEnvironment given = environment();
    given.helpFile = QStringLiteral(TRIPLEDGER_HELP_FILE);
    open(given);
    m_window->control<QAction>("mnuHelpHelp")->trigger();
    auto* document = m_window->control<QTextBrowser>("txtHelp");

    QTest::keyClick(document, Qt::Key_Tab);
    QCOMPARE(document->textCursor().selectedText(), QStringLiteral("The Trip Ledger window"));
    QTest::keyClick(document, Qt::Key_Tab);
    QCOMPARE(document->textCursor().selectedText(), QStringLiteral("Getting started"));
    QTest::keyClick(document, Qt::Key_Return);
    QCOMPARE(document->source().fragment(), QStringLiteral("quick"));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
