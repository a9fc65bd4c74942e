// The window's controls: their places (in twips), captions, colours, keyboard order and menus.

#include "ClientArea.h"
#include "MainWindow.h"
#include "TabStrip.h"
#include "Twips.h"

#include "views/Contrast.h"
#include "views/HistoryTreeModel.h"
#include "views/ImageList.h"
#include "views/MileageChart.h"
#include "views/TextListModel.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTreeView>

namespace {

using Twips::place;

QLabel* label(QWidget* parent, const char* name, const QString& caption, int left, int top, int width, int height)
{
    return place(new QLabel(caption, parent), name, left, top, width, height);
}

// A frame is announced by its own caption: without a name of its own, Qt would give a frame inside a frame
// the outer one's caption.
QGroupBox* frame(QWidget* parent, const char* name, const QString& caption, int left, int top, int width, int height)
{
    auto* box = place(new QGroupBox(caption, parent), name, left, top, width, height);
    box->setAccessibleName(caption);
    return box;
}

QLineEdit* textBox(QWidget* parent, const char* name, int top)
{
    return place(new QLineEdit(parent), name, 2760, top, 2775, 300);
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

} // namespace

void frmTripLedger::createControls()
{
    setObjectName(QStringLiteral("frmTripLedger"));
    setWindowTitle(QStringLiteral("Trip Ledger"));
    setWindowIcon(ImageList::applicationIcon());

    m_client = new ClientArea(QSize(6360, 5970), this);
    setCentralWidget(m_client);

    tbsData = place(new TabStrip(m_client), "tbsData", 120, 120, 6135, 360);
    tbsData->setExpanding(false);
    tbsData->setDrawBase(false);
    const struct
    {
        const char* caption;
        const char* toolTip;
        const char* image;
    } tabs[] = {
        { "Calculator", "Trip Ledger", "CA" },
        { "History", "Saved History", "HI" },
        { "Graph", "Graph of Mileage Calculation History ", "GR" },
    };
    for (const auto& tab : tabs) {
        const int index = tbsData->addTab(ImageList::icon(QLatin1String(tab.image)), QLatin1String(tab.caption));
        tbsData->setTabToolTip(index, QLatin1String(tab.toolTip));
    }
    // The tab strip's page area, drawn under the strip's lower edge so that the chosen tab meets it.
    auto* pageArea = place(new QFrame(m_client), "tbsDataPanel", 120, 465, 6135, 5430);
    pageArea->setFrameShape(QFrame::StyledPanel);
    pageArea->lower();
    // The three pages, one shown at a time, in the order of their tabs.
    m_pages = place(new QStackedWidget(m_client), "tbsDataPages", 240, 480, 5895, 5295);

    createCalculatorPage(m_pages);
    createHistoryPage(m_pages);
    createGraphPage(m_pages);
    // An enlarged window gives the history and the chart more room; the calculator keeps its designed places.
    for (QWidget* page :
        { static_cast<QWidget*>(pageArea), static_cast<QWidget*>(m_pages), static_cast<QWidget*>(mscMileage) })
        m_client->grow(page, true, 0, 1);
    m_client->grow(tbsData, true, 0, 0);
    m_client->grow(tvwListData, true, 0, 2.0 / 3);
    m_client->grow(lblDataNodes, false, 2.0 / 3, 0);
    m_client->grow(lvwAverageData, true, 2.0 / 3, 1.0 / 3);

    sbtStatus = new QStatusBar(this);
    sbtStatus->setObjectName(QStringLiteral("sbtStatus"));
    sbtStatus->setAccessibleName(QStringLiteral("Status"));
    sbtStatus->setSizeGripEnabled(false);
    sbtStatusText = new QLabel(sbtStatus);
    sbtStatusText->setObjectName(QStringLiteral("sbtStatusText"));
    sbtStatus->addWidget(sbtStatusText, 1);
    setStatusBar(sbtStatus);

    createMenus();
    applyLookAndFeel();
    setKeyboardOrder();
    scaleLayout();
}

void frmTripLedger::scaleLayout()
{
    // Measured as at start: every control at its designed place, the images as high as a line of text.
    m_client->setScale({});
    const int image = std::max(16, fontMetrics().height());
    for (QAbstractItemView* view : { static_cast<QAbstractItemView*>(lvwDataView),
             static_cast<QAbstractItemView*>(tvwListData), static_cast<QAbstractItemView*>(lvwAverageData) })
        view->setIconSize(QSize(image, image));
    tbsData->setIconSize(QSize(image, image));
    const QList<QWidget*> captions = { tbsData, fraCalc, fraCalculator, lblMileage, txtMileage, lblCost, txtCost,
        lblCommuteDistnace, txtCommuteDistance, optUnits[0], optUnits[1], lblPricePerLitre, txtPricePerUnit, cmdCalc,
        lblVehicleReg, cboVehicleReg, cmdSave, fraHistory, lblDataNodes, fraChart, lblDataItem, cboVehicleList };
    const Twips::Scale scale = Twips::fittingScale(font(), captions);
    m_client->setScale(scale);
    sbtStatus->setFixedHeight(Twips::toPixels(375, scale.down));
    // The window's size is the client area's smallest, the designed size scaled: every caption fits it. A window
    // filling the screen stays so.
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        adjustSize();
}

void frmTripLedger::createCalculatorPage(QStackedWidget* pages)
{
    fraCalc = frame(pages, "fraCalc", QStringLiteral("Calculation Details"), 0, 0, 5895, 5295);
    pages->addWidget(fraCalc);
    fraCalculator = frame(
        fraCalc, "fraCalculator", QStringLiteral("Please enter the required details below"), 120, 240, 5655, 2655);

    lblMileage = label(
        fraCalculator, "lblMileage", QStringLiteral("Mileage on the current tank of fuel"), 120, 390, 2640, 270);
    txtMileage = textBox(fraCalculator, "txtMileage", 360);
    lblCost = label(fraCalculator, "lblCost", QStringLiteral("Cost of filling tank to brim"), 120, 750, 2640, 270);
    txtCost = textBox(fraCalculator, "txtCost", 720);
    lblCommuteDistnace = label(fraCalculator, "lblCommuteDistnace",
        QStringLiteral("Distance of commute per day\n(one way)"), 120, 1095, 2640, 480);
    lblCommuteDistnace->setWordWrap(true);
    lblCommuteDistnace->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    txtCommuteDistance = textBox(fraCalculator, "txtCommuteDistance", 1080);
    optUnits[0] = place(new QRadioButton(QStringLiteral("Litres"), fraCalculator), "optUnits_0", 2760, 1440, 720, 300);
    optUnits[1]
        = place(new QRadioButton(QStringLiteral("Gallons"), fraCalculator), "optUnits_1", 3480, 1440, 1080, 300);
    optUnits[0]->setChecked(true);
    lblPricePerLitre = label(fraCalculator, "lblPricePerLitre",
        QStringLiteral("Price of unit of fuel in pence or cents"), 120, 1830, 2640, 270);
    txtPricePerUnit = textBox(fraCalculator, "txtPricePerUnit", 1800);
    cmdCalc = place(new QPushButton(QStringLiteral("&Calculate"), fraCalculator), "cmdCalc", 4200, 2160, 1335, 375);
    cmdCalc->setAutoDefault(true); // Enter on the focused button calculates, as in a dialog

    lvwDataView = place(new QListWidget(fraCalc), "lvwDataView", 120, 3000, 5655, 1695);
    lvwDataView->setAccessibleName(QStringLiteral("Results"));

    lblVehicleReg
        = label(fraCalc, "lblVehicleReg", QStringLiteral("Please Enter Vehicle Registration"), 120, 4830, 2640, 270);
    cboVehicleReg = place(new QComboBox(fraCalc), "cboVehicleReg", 2760, 4800, 1680, 330);
    cboVehicleReg->setEditable(true);
    cboVehicleReg->setInsertPolicy(QComboBox::NoInsert);
    m_vehicleModel = new TextListModel(this);
    cboVehicleReg->setModel(m_vehicleModel);
    // A registration is saved exactly as typed: the default completion would turn a prefix or another case of
    // a saved registration into that registration. Choosing from the list still fills the box.
    cboVehicleReg->setCompleter(nullptr);
    cmdSave = place(new QPushButton(QStringLiteral("&Save"), fraCalc), "cmdSave", 4560, 4785, 1215, 375);
    cmdSave->setEnabled(false);

    lblMileage->setBuddy(txtMileage);
    lblCost->setBuddy(txtCost);
    lblCommuteDistnace->setBuddy(txtCommuteDistance);
    lblPricePerLitre->setBuddy(txtPricePerUnit);
    lblVehicleReg->setBuddy(cboVehicleReg);
}

void frmTripLedger::createHistoryPage(QStackedWidget* pages)
{
    fraHistory = frame(pages, "fraHistory", QStringLiteral("Historical Data"), 0, 0, 5895, 5295);
    pages->addWidget(fraHistory);

    tvwListData = place(new QTreeView(fraHistory), "tvwListData", 120, 240, 5655, 3015);
    tvwListData->setAccessibleName(QStringLiteral("Saved history"));
    tvwListData->setHeaderHidden(true);
    tvwListData->setUniformRowHeights(true);
    // One column as wide as its longest line: a record line is read whole by scrolling sideways.
    tvwListData->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tvwListData->header()->setStretchLastSection(false);
    m_historyModel = new HistoryTreeModel(tvwListData);
    tvwListData->setModel(m_historyModel);

    lblDataNodes = label(fraHistory, "lblDataNodes", QStringLiteral("Average Per Vehicle"), 120, 3360, 2640, 240);
    lvwAverageData = place(new QListView(fraHistory), "lvwAverageData", 120, 3600, 5655, 1575);
    lvwAverageData->setUniformItemSizes(true); // one line each: the list lays out its first entry only
    lvwAverageData->setTextElideMode(Qt::ElideMiddle); // a long registration never hides its mean
    m_meanModel = new TextListModel(lvwAverageData);
    m_meanModel->setImageKey(QStringLiteral("CO"));
    lvwAverageData->setModel(m_meanModel);
    lblDataNodes->setBuddy(lvwAverageData);
    // Qt names text boxes and combo boxes after their labels, but not lists.
    lvwAverageData->setAccessibleName(lblDataNodes->text());
}

void frmTripLedger::createGraphPage(QStackedWidget* pages)
{
    fraChart = frame(pages, "fraChart", QStringLiteral("Mileage Graph"), 0, 0, 5895, 5295);
    pages->addWidget(fraChart);

    lblDataItem = label(fraChart, "lblDataItem", QStringLiteral("Please Select Vehicle"), 120, 270, 2640, 270);
    cboVehicleList = place(new QComboBox(fraChart), "cboVehicleList", 2760, 210, 3015, 330);
    cboVehicleList->setModel(m_vehicleModel);
    lblDataItem->setBuddy(cboVehicleList);
    mscMileage = place(new MileageChart(fraChart), "mscMileage", 120, 600, 5655, 4575);
    mscMileage->setLocale(m_environment.locale);
}

void frmTripLedger::createMenus()
{
    // The menu shows the first key; the desktop's own key for the command, where it has one, comes second.
    const auto entry = [](QMenu* menu, const char* name, const char* caption, const QList<QKeySequence>& keys) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QLatin1String(name));
        action->setShortcuts(keys);
        return action;
    };
    const auto separator = [](QMenu* menu, const char* name) {
        QAction* action = menu->addSeparator();
        action->setObjectName(QLatin1String(name));
        return action;
    };

    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFileSave = entry(mnuFile, "mnuFileSave", "&Save", { QKeySequence(Qt::CTRL | Qt::Key_S) });
    mnuFileCalc = entry(mnuFile, "mnuFileCalc", "&Calc", { QKeySequence(Qt::CTRL | Qt::Key_C) });
    // Not Ctrl+E: in a text box on X11 that moves to the end of the line.
    mnuFileExport
        = entry(mnuFile, "mnuFileExport", "E&xport History…", { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E) });
    mnuFilePrint = entry(mnuFile, "mnuFilePrint", "&Print Report…", { QKeySequence(Qt::CTRL | Qt::Key_P) });
    mnuFileSeperator = separator(mnuFile, "mnuFileSeperator");
    mnuFileExit = entry(
        mnuFile, "mnuFileExit", "&Exit", { QKeySequence(Qt::CTRL | Qt::Key_T), QKeySequence(Qt::CTRL | Qt::Key_Q) });

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpHelp
        = entry(mnuHelp, "mnuHelpHelp", "&Help", { QKeySequence(Qt::CTRL | Qt::Key_H), QKeySequence(Qt::Key_F1) });
    mnuHelpOnlineHelp = entry(mnuHelp, "mnuHelpOnlineHelp", "&Online Help", {});
    mnuHelpFileSep = separator(mnuHelp, "mnuHelpFileSep");
    mnuHelpAbout = entry(mnuHelp, "mnuHelpAbout", "&About", { QKeySequence(Qt::CTRL | Qt::Key_A) });
}

void frmTripLedger::applyLookAndFeel()
{
    // The designed colours, changed only as far as the desktop's palette needs for them to be read.
    const QColor text = palette().color(QPalette::WindowText);
    const QColor background = palette().color(QPalette::Window);
    const QColor blue = Contrast::caption(QColor(0, 0, 192), text, background);
    const QColor green = Contrast::caption(QColor(0, 128, 0), text, background);
    for (QGroupBox* frame : { fraCalc, fraCalculator, fraHistory, fraChart })
        setTextColour(frame, blue);
    for (QRadioButton* option : optUnits)
        setTextColour(option, blue);
    for (QLabel* caption :
        { lblMileage, lblCost, lblCommuteDistnace, lblPricePerLitre, lblVehicleReg, lblDataNodes, lblDataItem })
        setTextColour(caption, green);
}

void frmTripLedger::setKeyboardOrder()
{
    // The History page's tree comes before its list of means, as on the screen.
    const QList<QWidget*> order
        = { txtMileage, txtCost, txtCommuteDistance, optUnits[0], optUnits[1], txtPricePerUnit, cmdCalc, lvwDataView,
              cboVehicleReg, cmdSave, tbsData, tvwListData, lvwAverageData, cboVehicleList, mscMileage };
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}
