#include "TestWindow.h"

#include "shell/AboutDialog.h"

#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QMetaEnum>
#include <QTextBrowser>

#include <algorithm>

namespace {

// What a screen reader is told of one control or frame. Pages: C, H, G the main window's Calculator, History
// and Graph pages, A the About window, W the help window.
struct Row
{
    const char* pages;
    const char* control;
    QAccessible::Role role;
    const char* name;
};

const Row rows[] = {
    { "CHG", "frmTripLedger", QAccessible::Window, "Trip Ledger" },
    { "C", "tbsData", QAccessible::PageTabList, "Calculator" },
    { "H", "tbsData", QAccessible::PageTabList, "History" },
    { "G", "tbsData", QAccessible::PageTabList, "Graph" },
    { "CHG", "tbsData/0", QAccessible::PageTab, "Calculator" },
    { "CHG", "tbsData/1", QAccessible::PageTab, "History" },
    { "CHG", "tbsData/2", QAccessible::PageTab, "Graph" },
    { "CHG", "mnuFile", QAccessible::MenuItem, "File" },
    { "CHG", "mnuHelp", QAccessible::MenuItem, "Help" },
    { "C", "fraCalc", QAccessible::Grouping, "Calculation Details" },
    { "C", "fraCalculator", QAccessible::Grouping, "Please enter the required details below" },
    { "C", "txtMileage", QAccessible::EditableText, "Mileage on the current tank of fuel" },
    { "C", "txtCost", QAccessible::EditableText, "Cost of filling tank to brim" },
    { "C", "txtCommuteDistance", QAccessible::EditableText, "Distance of commute per day (one way)" },
    { "C", "optUnits_0", QAccessible::RadioButton, "Litres" },
    { "C", "optUnits_1", QAccessible::RadioButton, "Gallons" },
    { "C", "txtPricePerUnit", QAccessible::EditableText, "Price of unit of fuel in pence or cents" },
    { "C", "cmdCalc", QAccessible::Button, "Calculate" },
    { "C", "lvwDataView", QAccessible::List, "Results" },
    { "C", "cboVehicleReg", QAccessible::ComboBox, "Please Enter Vehicle Registration" },
    { "C", "cmdSave", QAccessible::Button, "Save" },
    { "H", "fraHistory", QAccessible::Grouping, "Historical Data" },
    { "H", "tvwListData", QAccessible::Tree, "Saved history" },
    { "H", "lvwAverageData", QAccessible::List, "Average Per Vehicle" },
    { "G", "fraChart", QAccessible::Grouping, "Mileage Graph" },
    { "G", "cboVehicleList", QAccessible::ComboBox, "Please Select Vehicle" },
    { "G", "mscMileage/0", QAccessible::Client, "Mileage chart" },
    { "A", "frmAbout", QAccessible::Dialog, "About Trip Ledger" },
    { "A", "lblInformation_3", QAccessible::StaticText, "Please forward problems to support@tripledger.example.org" },
    { "A", "cmdOk", QAccessible::Button, "Ok" },
    { "W", "frmHelp", QAccessible::Window, "Trip Ledger Help" },
    { "W", "txtHelp", QAccessible::StaticText, "Help document" },
    { "W", "cmdHelpBack", QAccessible::Button, "Back" },
    { "W", "cmdHelpForward", QAccessible::Button, "Forward" },
    { "W", "cmdHelpClose", QAccessible::Button, "Close" },
};

QString describe(const QString& control, QAccessible::Role role, const QString& name)
{
    return control + u' ' + QLatin1String(QMetaEnum::fromType<QAccessible::Role>().valueToKey(role)) + u' ' + name;
}

// A control is known by its object's name; a menu title by its menu's; a part without an object (a tab) by
// its place in its parent.
QString controlName(QAccessibleInterface* part, const QString& parent, int index)
{
    QObject* object = part->object();
    if (auto* action = qobject_cast<QAction*>(object); action && action->menu())
        object = action->menu();
    return object && !object->objectName().isEmpty() ? object->objectName() : parent + u'/' + QString::number(index);
}

// Walks the tree as a screen reader does, noting every visible window, frame and control that takes the
// focus or a click, and the names a user hears; the parts of a control are the control itself.
void walk(QAccessibleInterface* part, const QString& control, QStringList& described, QStringList& heard)
{
    if (part->state().invisible)
        return;
    const QAccessible::Role role = part->role();
    // Blanks run together, as a screen reader speaks them.
    const QString name = part->text(QAccessible::Name).simplified();
    const bool isControl = part->state().focusable || role == QAccessible::MenuItem || role == QAccessible::PageTab;
    if (isControl || role == QAccessible::Window || role == QAccessible::Dialog || role == QAccessible::Grouping) {
        described.append(describe(control, role, name));
        // Qt names a tab strip after its chosen tab: the same thing.
        if (role != QAccessible::PageTabList)
            heard.append(name);
    }
    if (isControl && role != QAccessible::PageTabList)
        return;
    for (int i = 0; i < part->childCount(); ++i) {
        if (QAccessibleInterface* child = part->child(i))
            walk(child, controlName(child, control, i), described, heard);
    }
}

} // namespace

// Every window, frame and control is announced by a screen reader with its role and a name a user knows.
class TestAccessibility : public WindowTest
{
    Q_OBJECT

private slots:
    void init() { open(); }
    void cleanup() { m_window.reset(); }

    void namedAndRoled_data();
    void namedAndRoled();
    void helpLinksByKeyboard();
};

void TestAccessibility::namedAndRoled_data()
{
    QTest::addColumn<QString>("page");
    QTest::newRow("Calculator page: inner frame by its own caption") << "C";
    QTest::newRow("History page: list by its label") << "H";
    QTest::newRow("Graph page: the chart's focusable view by the chart's name") << "G";
    QTest::newRow("About window") << "A";
    QTest::newRow("help window as a window, its document named") << "W";
}

void TestAccessibility::namedAndRoled()
{
    QFETCH(QString, page);
    QWidget* window = m_window.get();
    frmAbout about(m_window.get());
    if (page == u'A') {
        about.show();
        window = &about;
    } else if (page == u'W') {
        m_window->control<QAction>("mnuHelpHelp")->trigger();
        window = m_window->control<QWidget>("frmHelp");
    } else {
        m_window->clickTab(int(QStringLiteral("CHG").indexOf(page)));
    }

    QStringList expected;
    for (const Row& row : rows) {
        if (QLatin1String(row.pages).contains(page))
            expected.append(describe(QLatin1String(row.control), row.role, QLatin1String(row.name)));
    }
    QStringList described;
    QStringList heard;
    walk(QAccessible::queryAccessibleInterface(window), window->objectName(), described, heard);
    for (const QString& found : described)
        QVERIFY2(expected.contains(found), qPrintable(QStringLiteral("announced without a row: ") + found));
    for (const QString& row : expected)
        QVERIFY2(described.contains(row), qPrintable(QStringLiteral("not announced so: ") + row));

    heard.sort();
    const auto twice = std::adjacent_find(heard.cbegin(), heard.cend());
    QVERIFY2(twice == heard.cend(),
        qPrintable(QStringLiteral("two controls named ") + (twice == heard.cend() ? QString() : *twice)));
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
