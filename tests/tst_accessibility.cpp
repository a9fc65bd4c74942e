#include "TestWindow.h"

#include "shell/AboutDialog.h"
#include "views/MileageChart.h"

#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QToolTip>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

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

    // What a screen reader is told, as "<object> <what>: <text>": what the announcer says, the focus moving to a part
    // and what it is called, a caret moving, text selected, and the chart's description changing.
    inline static QStringList told;
    static void hear(QAccessibleEvent* event)
    {
        QAccessibleInterface* part = event->accessibleInterface();
        if (!part || !event->object())
            return;
        const auto tell = [&](const char* what, const QString& text) {
            told.append(event->object()->objectName() + u' ' + QLatin1String(what) + QStringLiteral(": ") + text);
        };
        if (event->type() == QAccessible::ObjectShow && event->object()->objectName() == QLatin1String("announcer"))
            tell("says", part->text(QAccessible::Name));
        if (event->type() == QAccessible::Focus)
            tell("focus", part->text(QAccessible::Name));
        if (event->type() == QAccessible::DescriptionChanged)
            tell("description", part->text(QAccessible::Description));
        if (event->type() == QAccessible::TextCaretMoved)
            tell("caret", {});
        if (auto* selected = dynamic_cast<QAccessibleTextSelectionEvent*>(event))
            tell("selected", part->textInterface()->text(selected->selectionStart(), selected->selectionEnd()));
    }
    // What object was told, without its name.
    static QStringList toldTo(const QString& object)
    {
        return told.filter(QRegularExpression(u'^' + object + u' ')).replaceInStrings(object + u' ', QString());
    }

    // Each step types into a box ("txtCost=45") or presses a key in a control given the focus ("cmdSave:Alt+S").
    void act(const QStringList& steps)
    {
        for (const QString& step : steps) {
            const QStringList typed = step.split(u'=');
            if (typed.size() == 2) {
                QTest::keyClicks(m_window->control<QWidget>(qPrintable(typed[0])), typed[1]);
                continue;
            }
            const QStringList pressed = step.split(u':');
            auto* control = m_window->control<QWidget>(qPrintable(pressed[0]));
            if (!control->hasFocus())
                control->setFocus(Qt::TabFocusReason);
            const QKeyCombination key = QKeySequence(pressed[1])[0];
            QTest::keyClick(control, key.key(), key.keyboardModifiers());
            QCoreApplication::processEvents(); // each key a turn of the event loop of its own, as when typed
        }
    }

    // Chooses the vehicle on the Graph page as a user does, and returns the chart's interface.
    QAccessibleInterface* chooseVehicle(const QString& vehicle)
    {
        auto* box = m_window->control<QComboBox>("cboVehicleList");
        box->setCurrentIndex(box->findText(vehicle));
        emit box->activated(box->currentIndex());
        return QAccessible::queryAccessibleInterface(m_window->control<MileageChart>("mscMileage"));
    }

private slots:
    void init()
    {
        m_folder.write(record("AB12 CDE", " 35.50", "01/03/2005 08:00:00")
            + record("AB12 CDE", " 44.25", "02/03/2005 08:00:00") + record("AB12 CDE", " 38.00", "03/03/2005 08:00:00")
            + record("XY99 ZZZ", " 50.00", "05/03/2005 09:00:00") + record("AB12 CDE", " 41.00", "04/03/2005 08:00:00")
            + record("NONE", " none"));
        open();
        told.clear();
        QAccessible::installUpdateHandler(hear);
        // Events are sent only while a screen reader listens; the platform is told one does, as Qt's own tests do.
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    }
    void cleanup() { QAccessible::installUpdateHandler(nullptr); }

    void chartDescribed_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QStringList>("vehicles"); // chosen in turn, the chart walked to its end after each
        QTest::addColumn<QString>("description");
        const QLocale british(QLocale::English, QLocale::UnitedKingdom);
        QTest::newRow("four calculations: lowest, highest and latest in file order")
            << british << QStringList { "AB12 CDE" }
            << "AB12 CDE: 4 calculations from 01/03/2005 08:00:00 to 04/03/2005 08:00:00; lowest 35.50, highest "
               "44.25, latest 41.00 MPG.";
        QTest::newRow("German settings: decimal commas")
            << QLocale(QLocale::German, QLocale::Germany) << QStringList { "AB12 CDE" }
            << "AB12 CDE: 4 calculations from 01/03/2005 08:00:00 to 04/03/2005 08:00:00; lowest 35,50, highest "
               "44,25, latest 41,00 MPG.";
        QTest::newRow("another vehicle: its own summary, nothing highlighted")
            << british << QStringList { "AB12 CDE", "XY99 ZZZ" }
            << "XY99 ZZZ: 1 calculation from 05/03/2005 09:00:00 to 05/03/2005 09:00:00; lowest 50.00, highest "
               "50.00, latest 50.00 MPG.";
        QTest::newRow("no usable record: what the empty chart says")
            << british << QStringList { "AB12 CDE", "NONE" } << "Choose a vehicle above to draw its miles per gallon.";
    }

    void chartDescribed()
    {
        QFETCH(QLocale, locale);
        QFETCH(QStringList, vehicles);
        QFETCH(QString, description);
        open(environment(locale));
        m_window->clickTab(2);
        QAccessibleInterface* chart = nullptr;
        QStringList described;
        for (const QString& vehicle : vehicles) {
            chart = chooseVehicle(vehicle);
            QCOMPARE(chart->childCount(), 0); // nothing highlighted until a key is pressed
            described.append(QStringLiteral("description: ") + chart->text(QAccessible::Description));
            QTest::keyClick(m_window->control<MileageChart>("mscMileage"), Qt::Key_End);
        }
        QCOMPARE(chart->role(), QAccessible::Chart);
        QCOMPARE(chart->text(QAccessible::Name), QStringLiteral("Mileage"));
        QCOMPARE(chart->text(QAccessible::Description), description);
        QCOMPARE(toldTo("mscMileage").filter(QStringLiteral("description: ")), described); // one for every drawing
    }

    void chartWalked_data()
    {
        QTest::addColumn<int>("count"); // points drawn directly; 0 for the vehicle chosen from the file
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QStringList>("heard");
        QTest::newRow("End, Left, Home") << 0 << QList<int> { Qt::Key_End, Qt::Key_Left, Qt::Key_Home }
                                         << QStringList { "04/03/2005 08:00:00, MPG 41.00",
                                                "03/03/2005 08:00:00, MPG 38.00", "01/03/2005 08:00:00, MPG 35.50" };
        QTest::newRow("drawn reduced: pages of a tenth, and points not drawn")
            << 100'000 << QList<int> { Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_End, Qt::Key_Left }
            << QStringList { "d0, MPG 1.50", "d10000, MPG 1.50", "d99999, MPG 100.50", "d99998, MPG 99.50" };
        QTest::newRow("a key past either end: the point at the end heard again")
            << 0 << QList<int> { Qt::Key_End, Qt::Key_Right, Qt::Key_Home, Qt::Key_Left }
            << QStringList { "04/03/2005 08:00:00, MPG 41.00", "04/03/2005 08:00:00, MPG 41.00",
                   "01/03/2005 08:00:00, MPG 35.50", "01/03/2005 08:00:00, MPG 35.50" };
    }

    // Tab reaches the chart, and every key moves the focus to the calculation it reaches, named and tooltipped.
    void chartWalked()
    {
        QFETCH(int, count);
        QFETCH(QList<int>, keys);
        QFETCH(QStringList, heard);
        m_window->clickTab(2);
        auto* widget = m_window->control<MileageChart>("mscMileage");
        QAccessibleInterface* chart = chooseVehicle(QStringLiteral("AB12 CDE"));
        GraphData::Points points;
        for (int i = 0; i < count; ++i)
            points.append(QByteArray("d") + QByteArray::number(i), i % 100 + 1.5);
        if (count > 0)
            widget->setPoints(std::move(points), QStringLiteral("AB12 CDE"));
        m_window->control<QComboBox>("cboVehicleList")->setFocus();
        QTest::keyClick(m_window.get(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), widget);
        told.clear();
        QSet<QAccessible::Id> parts; // a part of its own for every key, so that the screen reader speaks each
        for (int i = 0; i < keys.size(); ++i) {
            QTest::keyClick(widget, Qt::Key(keys[i]));
            parts.insert(QAccessible::uniqueId(chart->focusChild()));
            const QStringList nameAndMpg = heard[i].split(QStringLiteral(", MPG "));
            QCOMPARE(QTextDocumentFragment::fromHtml(QToolTip::text()).toPlainText(),
                nameAndMpg[0] + QStringLiteral("\nMPG: ") + nameAndMpg[1]);
        }
        QCOMPARE(chart->focusChild()->role(), QAccessible::ListItem);
        QVERIFY(chart->focusChild()->state().focused);
        QCOMPARE(parts.size(), keys.size());
        QCOMPARE(toldTo("mscMileage"), heard.replaceInStrings(QRegularExpression("^"), QStringLiteral("focus: ")));
    }

    void outcomesAnnounced_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("said"); // by the announcer, in order
        const QStringList calculation { "txtMileage=400", "txtCost=45", "txtCommuteDistance=10", "txtPricePerUnit=90" };
        const QString results
            = "Mileage costs calculated. MPG: 40.00, Per Gallon: 4.50, Monthly Cost: 48.27, Daily Cost: 2.25.";
        QTest::newRow("typing in the boxes, then Enter in one: the end status and the results, once")
            << calculation + QStringList { "txtPricePerUnit:Return" } << QStringList { results };
        QTest::newRow("Alt+S: the save's end status, once")
            << calculation + QStringList { "txtPricePerUnit:Return", "cboVehicleReg=AB12 CDE", "cboVehicleReg:Alt+S" }
            << QStringList { results, "Mileage Costs Saved." };
        QTest::newRow("the History and Graph tabs, then Down in the vehicle box: its vehicle and chart")
            << QStringList { "tbsData:Right", "tbsData:Right", "cboVehicleList:Down" }
            << QStringList { "Historical Data Loaded.", "Loading Graph Data.",
                   "Graph Data Loaded. AB12 CDE: 4 calculations from 01/03/2005 08:00:00 to 04/03/2005 08:00:00; "
                   "lowest 35.50, highest 44.25, latest 41.00 MPG." };
    }

    // Each outcome is said once its handler returns, without the focus moving; what a handler showed before its end
    // is not said.
    void outcomesAnnounced()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, said);
        act(steps);
        said.replaceInStrings(QRegularExpression("^"), QStringLiteral("says: "));
        QTRY_COMPARE(toldTo("announcer"), said);
    }

    void rowsSpoken_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("view");
        QTest::addColumn<QStringList>("heard"); // the view's last two focuses, then what was said after the loading
        const QStringList tree { "tbsData:Right", "tbsData:Tab" };
        QTest::newRow("the tree entered by Tab: its first row chosen, after the tree")
            << tree << "tvwListData" << QStringList { "focus: Saved history", "focus: AB12 CDE" };
        QTest::newRow("the list of means entered: its row")
            << tree + QStringList { "tvwListData:Tab" } << "lvwAverageData"
            << QStringList { "focus: Average Per Vehicle", "focus: Mean MPG for vehicle AB12 CDE is 39.69" };
        QTest::newRow("a vehicle expanded and collapsed")
            << tree + QStringList { "tvwListData:Right", "tvwListData:Left" } << "tvwListData"
            << QStringList { "focus: Saved history", "focus: AB12 CDE", "says: expanded", "says: collapsed" };
    }

    void rowsSpoken()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, view);
        QFETCH(QStringList, heard);
        act(steps);
        const QStringList focus = toldTo(view).filter(QStringLiteral("focus: "));
        QCOMPARE(focus.mid(focus.size() - 2) + toldTo("announcer").mid(1), heard);
        const auto* rows = m_window->control<QAbstractItemView>(qPrintable(view));
        QVERIFY(rows->selectionModel()->isSelected(rows->currentIndex()));
    }

    // Qt tells of a box's first caret ahead of its focus, which Orca takes for a silent move of the focus.
    void boxFocusedBeforeItsCaret()
    {
        act({ "txtMileage:Tab" });
        QCOMPARE(toldTo("txtCost").filter(QRegularExpression("^(caret|focus)")),
            QStringList { "focus: Cost of filling tank to brim" });
    }

    void aboutReadWhole()
    {
        frmAbout about(m_window.get());
        QCOMPARE(QAccessible::queryAccessibleInterface(&about)->text(QAccessible::Description),
            QStringLiteral("Trip Ledger. © 2026 the Trip Ledger authors. Version 1.1.2. Please forward problems to "
                           "support@tripledger.example.org"));
    }

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
        row("Graph page: the chart by its name", 2, "fraChart cboVehicleList mscMileage");
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

    void helpReadByKeyboard()
    {
        AppEnvironment given = environment();
        given.helpFile = QStringLiteral(TRIPLEDGER_HELP_FILE);
        open(given);
        m_window->control<QAction>("mnuHelpHelp")->trigger();
        auto* document = m_window->control<QTextBrowser>("txtHelp");
        // Down reads the lead paragraph's first line, after the title.
        QTest::keyClick(document, Qt::Key_Down);
        QCOMPARE(toldTo("txtHelp").constLast(), QStringLiteral("caret: "));
        QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(document)->textInterface();
        int start = 0, end = 0;
        const QString line = text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &start, &end);
        QVERIFY2(start > 0 && document->document()->findBlockByNumber(1).text().startsWith(line), qPrintable(line));
        // Tab says each link as one, Enter the heading it leads to.
        for (const char* link : { "The Trip Ledger window", "Getting started" }) {
            QTest::keyClick(document, Qt::Key_Tab);
            QTRY_COMPARE(toldTo("announcer").value(0), QStringLiteral("says: %1, link").arg(link));
            told.clear();
        }
        QTest::keyClick(document, Qt::Key_Return);
        QTRY_COMPARE(toldTo("announcer"), QStringList(QStringLiteral("says: 2. Getting started, heading level 2")));
        QCOMPARE(document->source().fragment(), QStringLiteral("quick"));
        QCOMPARE(text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &start, &end),
            QStringLiteral("2. Getting started")); // the caret at the link's target, read on from there
        // Down reaches every paragraph in turn, none read by Say All alone (a table's Down stays in one column).
        QMap<int, QString> unread;
        for (QTextBlock block = document->document()->begin(); block.isValid(); block = block.next())
            unread.insert(block.blockNumber(), block.text());
        document->moveCursor(QTextCursor::Start);
        for (int at = -1; at != document->textCursor().position(); QTest::keyClick(document, Qt::Key_Down)) {
            at = document->textCursor().position();
            unread.remove(document->textCursor().blockNumber());
        }
        QCOMPARE(unread.values().filter(QRegularExpression(QStringLiteral("\\S"))), QStringList());
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
