#include "TestWindow.h"

#include "shell/AboutDialog.h"

#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QTextBrowser>

// Every window, frame and control is announced by a screen reader, each by a name of its own.
class TestAccessibility : public WindowTest
{
    Q_OBJECT

    // Walks the tree as a screen reader does, noting the name heard for every visible window, frame and control
    // that takes the focus or a click; the parts of a control are the control itself. A control is known by its
    // object's name, a menu title by its menu's, a part without an object (a tab) by its place in its parent.
    static void walk(QAccessibleInterface* part, const QString& place, QMap<QString, QString>& heard)
    {
        if (part->state().invisible)
            return;
        QObject* object = part->object();
        if (auto* action = qobject_cast<QAction*>(object); action && action->menu())
            object = action->menu();
        const QString control = object && !object->objectName().isEmpty() ? object->objectName() : place;
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
                walk(child, control + u'/' + QString::number(i), heard);
        }
    }

private slots:
    void init() { open(); }

    void namedAndReachable_data()
    {
        QTest::addColumn<int>("tab"); // the main window's page shown; -1 for the window of its own named first
        QTest::addColumn<QStringList>("controls");
        const QString window = QStringLiteral("frmTripLedger tbsData/0 tbsData/1 tbsData/2 mnuFile mnuHelp ");
        const auto row = [&window](const char* name, int tab, const QString& controls) {
            QTest::newRow(name) << tab << (tab < 0 ? controls : window + controls).split(u' ');
        };
        row("Calculator page: inner frame by its own caption", 0,
            "fraCalc fraCalculator txtMileage txtCost txtCommuteDistance optUnits_0 optUnits_1 txtPricePerUnit cmdCalc "
            "lvwDataView cboVehicleReg cmdSave");
        row("History page: list by its label", 1, "fraHistory tvwListData lvwAverageData");
        row("Graph page: the chart's focusable view by the chart's name", 2, "fraChart cboVehicleList mscMileage/0");
        row("About window", -1, "frmAbout lblInformation_3 cmdOk");
        row("help window, its document named", -1, "frmHelp txtHelp cmdHelpBack cmdHelpForward cmdHelpClose");
    }

    void namedAndReachable()
    {
        QFETCH(int, tab);
        QFETCH(QStringList, controls);
        frmAbout about(m_window.get());
        about.show();
        m_window->control<QAction>("mnuHelpHelp")->trigger();
        m_window->clickTab(std::max(tab, 0));
        QMap<QString, QString> heard;
        QWidget* window = tab < 0 ? m_window->findChild<QWidget*>(controls[0]) : m_window.get();
        walk(QAccessible::queryAccessibleInterface(window), QString(), heard);
        controls.sort();
        QCOMPARE(heard.keys(), controls);
        const QSet<QString> names(heard.cbegin(), heard.cend());
        QVERIFY2(!names.contains(QString()) && names.size() == heard.size(), "a control without a name, or two alike");
    }

    void helpLinksByKeyboard()
    {
        AppEnvironment given = environment();
        given.helpFile = QStringLiteral(TRIPLEDGER_HELP_FILE);
        open(given);
        m_window->control<QAction>("mnuHelpHelp")->trigger();
        auto* document = m_window->control<QTextBrowser>("txtHelp");
        QTest::keyClick(document, Qt::Key_Tab);
        QTest::keyClick(document, Qt::Key_Tab);
        QCOMPARE(document->textCursor().selectedText(), QStringLiteral("Getting started"));
        QTest::keyClick(document, Qt::Key_Return);
        QCOMPARE(document->source().fragment(), QStringLiteral("quick"));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
