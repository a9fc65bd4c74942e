#pragma once

#include "AppEnvironment.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>

#include <array>
#include <functional>

class Announcer;
class ClientArea;
class HelpWindow;
class HistoryTreeModel;
class MileageChart;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QMenu;
class QPageSize;
class QPagedPaintDevice;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QStatusBar;
class QTabBar;
class QTreeView;
class TextListModel;

// The Trip Ledger window: the Calculator, History and Graph pages under one tab strip, the menus and the
// status bar. Its handlers only carry values between the controls and the program's logic, in the order the
// user sees them happen; every handler traps its own errors.
class frmTripLedger : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmTripLedger(AppEnvironment environment = AppEnvironment::system(), QWidget* parent = nullptr);
    ~frmTripLedger() override;

    // The start-up step, run once before the window is first shown. False when the program must end at once;
    // the user has been told why.
    bool Form_Load();
    // Shows the window in the middle of its screen.
    void showCentred();

protected:
    // A new palette or theme recolours the captions; a new font (the desktop's too) lays the window out again.
    void changeEvent(QEvent* event) override;
    // Every message box of the window goes through here: modal, one OK button.
    virtual void showMessage(const QString& text, const QString& title, QMessageBox::Icon icon);

private:
    void createControls();
    void createCalculatorPage(QStackedWidget* pages);
    void createHistoryPage(QStackedWidget* pages);
    void createGraphPage(QStackedWidget* pages);
    void createMenus();
    // The captions' colours, from the design's and the window's palette.
    void applyLookAndFeel();
    // The layout at the scale of the window's font (Twips), or larger where a caption needs it; the lists' images
    // as high as its lines.
    void scaleLayout();
    void setKeyboardOrder();
    void connectControls();
    // The four number boxes, in the order the calculation checks them.
    std::array<QLineEdit*, 4> inputBoxes() const;
    // The box of the input named field (FuelCalc::FieldNames) takes the focus, its text selected to be typed
    // over; no box for any other name.
    void selectRefusedBox(const QString& field);

    // Runs body under an error trap: an error escaping it first sets failureStatus (when given), then is shown
    // under title as its source, " - " and description, with the critical icon. True when body finished.
    bool trapped(const QString& title, const std::function<void()>& body, const QString& failureStatus = {});
    // A screen reader hears the text, then detail, once the handler returns (Announcer).
    void setStatus(const QString& text, const QString& detail = {});
    // Decided afresh at each call: every reader and the writer ask here.
    QString historyFilePath() const;

    bool DetectLocale();
    void cmdCalc_Click();
    void cmdSave_Click();
    void LoadVehicleList();
    void inputsChanged();
    void tbsData_Click();
    void LoadHistoricalData();
    void LoadGraphData(bool blnQuiet);
    void cboVehicleList_Click();
    void mnuFileExport_Click();
    void mnuFilePrint_Click();
    // Asks where, then writes the report painted by paint as a PDF file on paper.
    void savePdf(const QPageSize& paper, const std::function<bool(QPagedPaintDevice&)>& paint);
    void mnuFileExit_Click();
    void mnuHelpHelp_Click();
    void OpenHelpFile(QWidget* owner);
    void mnuHelpOnlineHelp_Click();
    void mnuHelpAbout_Click();

    AppEnvironment m_environment;
    bool m_blnUSEnglish = false; // 4 litres to the gallon rather than 5; set by the start-up step
    QPointer<HelpWindow> m_help;

    ClientArea* m_client = nullptr;
    QTabBar* tbsData = nullptr;
    QStackedWidget* m_pages = nullptr; // fraCalc, fraHistory, fraChart: the page of each tab
    QGroupBox* fraCalc = nullptr;
    QGroupBox* fraCalculator = nullptr;
    QLabel* lblMileage = nullptr;
    QLineEdit* txtMileage = nullptr;
    QLabel* lblCost = nullptr;
    QLineEdit* txtCost = nullptr;
    QLabel* lblCommuteDistnace = nullptr;
    QLineEdit* txtCommuteDistance = nullptr;
    std::array<QRadioButton*, 2> optUnits {}; // 0 "Litres", 1 "Gallons"
    QLabel* lblPricePerLitre = nullptr;
    QLineEdit* txtPricePerUnit = nullptr;
    QPushButton* cmdCalc = nullptr;
    QListWidget* lvwDataView = nullptr;
    QLabel* lblVehicleReg = nullptr;
    QComboBox* cboVehicleReg = nullptr;
    QPushButton* cmdSave = nullptr;
    QGroupBox* fraHistory = nullptr;
    QTreeView* tvwListData = nullptr;
    HistoryTreeModel* m_historyModel = nullptr;
    QLabel* lblDataNodes = nullptr;
    QListView* lvwAverageData = nullptr;
    TextListModel* m_meanModel = nullptr;
    QGroupBox* fraChart = nullptr;
    QLabel* lblDataItem = nullptr;
    QComboBox* cboVehicleList = nullptr;
    TextListModel* m_vehicleModel = nullptr; // the entries of both vehicle boxes
    MileageChart* mscMileage = nullptr;
    QStatusBar* sbtStatus = nullptr;
    QLabel* sbtStatusText = nullptr;
    Announcer* m_announcer = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileCalc = nullptr;
    QAction* mnuFileExport = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFileSeperator = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpHelp = nullptr;
    QAction* mnuHelpOnlineHelp = nullptr;
    QAction* mnuHelpFileSep = nullptr;
    QAction* mnuHelpAbout = nullptr;
};
