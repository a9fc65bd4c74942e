#include "MainWindow.h"

#include "AboutDialog.h"
#include "Browser.h"
#include "HelpWindow.h"

#include "calc/AppError.h"
#include "calc/FuelCalc.h"
#include "calc/LocaleNames.h"
#include "calc/Numbers.h"
#include "history/GraphData.h"
#include "history/HistoryFile.h"
#include "history/HistoryLocation.h"
#include "history/HistoryRecord.h"
#include "history/HistoryRecords.h"
#include "history/HistoryTable.h"
#include "history/RecordField.h"
#include "history/VehicleList.h"
#include "views/Announcer.h"
#include "views/HistoryTreeModel.h"
#include "views/ImageList.h"
#include "views/MileageChart.h"
#include "views/SpokenRows.h"
#include "views/TextListModel.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTreeView>

frmTripLedger::frmTripLedger(AppEnvironment environment, QWidget* parent)
    : QMainWindow(parent)
    , m_environment(std::move(environment))
{
    createControls();
    connectControls();
    m_announcer = new Announcer(sbtStatus);
    // A box's first focus would report a caret move ahead of the focus itself, which Orca takes for a silent move
    // of the focus, leaving the box's label unspoken; the caret is reported here, while the window is hidden.
    for (QLineEdit* box : inputBoxes())
        box->setCursorPosition(0);
    cboVehicleReg->lineEdit()->setCursorPosition(0);
    SpokenRows::install(lvwDataView, m_announcer);
    SpokenRows::install(tvwListData, m_announcer);
    SpokenRows::install(lvwAverageData, m_announcer);
    txtMileage->setFocus();
}

frmTripLedger::~frmTripLedger() = default;

void frmTripLedger::connectControls()
{
    connect(cmdCalc, &QPushButton::clicked, this, &frmTripLedger::cmdCalc_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmTripLedger::cmdSave_Click);
    connect(mnuFileSave, &QAction::triggered, this, &frmTripLedger::cmdSave_Click);
    connect(mnuFileCalc, &QAction::triggered, this, &frmTripLedger::cmdCalc_Click);
    connect(mnuFileExport, &QAction::triggered, this, &frmTripLedger::mnuFileExport_Click);
    connect(mnuFilePrint, &QAction::triggered, this, &frmTripLedger::mnuFilePrint_Click);
    connect(mnuFileExit, &QAction::triggered, this, &frmTripLedger::mnuFileExit_Click);
    connect(mnuHelpHelp, &QAction::triggered, this, &frmTripLedger::mnuHelpHelp_Click);
    connect(mnuHelpOnlineHelp, &QAction::triggered, this, &frmTripLedger::mnuHelpOnlineHelp_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmTripLedger::mnuHelpAbout_Click);

    // Results that no longer describe the inputs go, so that they can never be saved beside other inputs.
    for (QLineEdit* box : inputBoxes()) {
        connect(box, &QLineEdit::textChanged, this, &frmTripLedger::inputsChanged);
        connect(box, &QLineEdit::returnPressed, this, &frmTripLedger::cmdCalc_Click); // as on any calculator
    }
    connect(optUnits[0], &QRadioButton::toggled, this, &frmTripLedger::inputsChanged);

    // Every click on a tab rebuilds its page, a click on the tab already chosen too.
    connect(tbsData, &QTabBar::currentChanged, this, &frmTripLedger::tbsData_Click);
    connect(tbsData, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index == tbsData->currentIndex())
            tbsData_Click();
    });
    // The box accepts no typing, so its text changes only by a choice: no separate text-change handler.
    connect(cboVehicleList, &QComboBox::activated, this, &frmTripLedger::cboVehicleList_Click);
}

bool frmTripLedger::Form_Load()
{
    if (!DetectLocale())
        return false;
    m_pages->setCurrentWidget(fraCalc);
    LoadVehicleList();
    return true;
}

void frmTripLedger::showCentred()
{
    adjustSize();
    const QRect screenArea = screen()->availableGeometry();
    move(screenArea.center() - frameGeometry().center() + pos());
    show();
}

void frmTripLedger::changeEvent(QEvent* event)
{
    // Once the desktop's change has reached every control: a new theme resets the controls' palettes one by one.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange
        || event->type() == QEvent::StyleChange)
        QMetaObject::invokeMethod(this, &frmTripLedger::applyLookAndFeel, Qt::QueuedConnection);
    if (event->type() == QEvent::FontChange && sbtStatus) // once the controls exist
        scaleLayout();
    QMainWindow::changeEvent(event);
}

void frmTripLedger::showMessage(const QString& text, const QString& title, QMessageBox::Icon icon)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText); // texts carry registrations and file contents, never markup
    box.exec();
}

bool frmTripLedger::trapped(const QString& title, const std::function<void()>& body, const QString& failureStatus)
{
    const auto fail = [&](const AppError& error) {
        if (!failureStatus.isEmpty())
            setStatus(failureStatus);
        showMessage(error.message(), title, QMessageBox::Critical);
    };
    try {
        body();
        return true;
    } catch (const AppError& error) {
        fail(error);
    } catch (const std::exception& error) {
        fail(AppError(QStringLiteral("TripLedger"), QString::fromLocal8Bit(error.what())));
    }
    return false;
}

void frmTripLedger::setStatus(const QString& text, const QString& detail)
{
    sbtStatusText->setText(text);
    m_announcer->say(detail.isEmpty() ? text : text + u' ' + detail);
}

QString frmTripLedger::historyFilePath() const
{
    return HistoryLocation::path(m_environment.programDirectory, m_environment.dataDirectory);
}

bool frmTripLedger::DetectLocale()
{
    m_blnUSEnglish = false;
    return trapped(QStringLiteral("Registry Load Error"),
        [this] { m_blnUSEnglish = LocaleNames::isUsEnglish(m_environment.languageName()); });
}

std::array<QLineEdit*, 4> frmTripLedger::inputBoxes() const
{
    return { txtMileage, txtCost, txtCommuteDistance, txtPricePerUnit };
}

void frmTripLedger::cmdCalc_Click()
{
    trapped(
        QStringLiteral("Data Entry Error"),
        [this] {
            lvwDataView->clear();
            setStatus(QStringLiteral("Calculating mileage costs."));
            const FuelCalc::Inputs inputs { txtMileage->text(), txtCost->text(), txtCommuteDistance->text(),
                txtPricePerUnit->text(), optUnits[1]->isChecked(), m_blnUSEnglish };
            FuelCalc::Results results;
            try {
                results = FuelCalc::calculate(inputs, m_environment.locale);
            } catch (const AppError& error) {
                selectRefusedBox(error.field());
                throw;
            }
            const QStringList lines = FuelCalc::resultLines(results, m_environment.locale);
            // The images of the MPG, per-gallon, monthly and daily lines.
            const char* const images[] = { "MI", "CO", "PM", "PW" };
            for (qsizetype row = 0; row < lines.size(); ++row)
                lvwDataView->addItem(new QListWidgetItem(ImageList::icon(QLatin1String(images[row])), lines[row]));
            // Heard at once, without the focus moving to the list.
            setStatus(QStringLiteral("Mileage costs calculated."), lines.join(QStringLiteral(", ")) + u'.');
            cmdSave->setEnabled(true);
        },
        QStringLiteral("Mileage costs had an error."));
}

void frmTripLedger::selectRefusedBox(const QString& field)
{
    const std::array<QLineEdit*, 4> boxes = inputBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (field == QLatin1String(FuelCalc::FieldNames[i])) {
            boxes[i]->setFocus();
            boxes[i]->selectAll();
        }
    }
}

void frmTripLedger::inputsChanged()
{
    lvwDataView->clear();
}

void frmTripLedger::cmdSave_Click()
{
    trapped(
        QStringLiteral("Save Data Error"),
        [this] {
            if (lvwDataView->count() == 0) {
                showMessage(QStringLiteral("You need to have calculated something for the system to save information!"),
                    QStringLiteral("No Data To Save"), QMessageBox::Information);
                return;
            }
            setStatus(QStringLiteral("Save Mileage Costs."));
            const QString registration = cboVehicleReg->currentText();
            HistoryRecords::checkRegistration(registration);
            QString mpg;
            // Nothing is written, nor the file created, for results that hold no MPG.
            if (!GetRecordField(lvwDataView->item(0)->text(), QStringLiteral("MPG"), mpg))
                throw AppError(QStringLiteral("MPG Check Failure"),
                    QStringLiteral("The results hold no MPG to save. Please calculate again, then save."));
            const HistoryRecord record {
                registration,
                HistoryRecords::dateText(m_environment.now(), m_environment.locale),
                txtMileage->text(),
                txtCost->text(),
                mpg,
                txtCommuteDistance->text(),
                txtPricePerUnit->text(),
                optUnits[0]->isChecked() ? QStringLiteral("Litre") : QStringLiteral("Gallon"),
            };
            HistoryFile::appendLine(historyFilePath(), record.toLine());
            LoadVehicleList();
            setStatus(QStringLiteral("Mileage Costs Saved."));
        },
        QStringLiteral("Save mileage costs had an error."));
}

void frmTripLedger::LoadVehicleList()
{
    const QString typedRegistration = cboVehicleReg->currentText();
    const QString chosenVehicle = cboVehicleList->currentData(Qt::EditRole).toString();
    m_vehicleModel->setTexts({});
    trapped(QStringLiteral("Load Data Error"), [&] {
        // Both boxes show the one model: filled in one step, whatever the number of vehicles.
        m_vehicleModel->setTexts(VehicleList::registrations(historyFilePath()));
        // Filling a box chooses nothing: only what the user had typed or chosen is put back.
        cboVehicleReg->setCurrentIndex(-1);
        cboVehicleList->setCurrentIndex(-1);
        if (!typedRegistration.trimmed().isEmpty())
            cboVehicleReg->setCurrentText(typedRegistration);
        if (!chosenVehicle.trimmed().isEmpty())
            cboVehicleList->setCurrentIndex(cboVehicleList->findData(chosenVehicle, Qt::EditRole));
    });
}

void frmTripLedger::tbsData_Click()
{
    const int index = tbsData->currentIndex() + 1;
    // The pages stand in the tabs' order; an index without a page changes nothing.
    m_pages->setCurrentIndex(index - 1);
    if (index == 2) {
        LoadHistoricalData();
        return;
    }
    // The tree is read again whenever its page is shown: out of sight, it holds no copy of the history.
    m_historyModel->clear();
    if (index == 3)
        LoadGraphData(true);
}

void frmTripLedger::LoadHistoricalData()
{
    trapped(QStringLiteral("Load Data Error"), [this] {
        setStatus(QStringLiteral("Loading Historical Data."));
        m_historyModel->clear();
        HistoryTable::Loaded loaded = HistoryTable::load(historyFilePath(), m_environment.locale);
        m_historyModel->setTable(std::move(loaded.table)); // what was read before a failure stays shown
        if (loaded.error)
            throw *loaded.error;
        // Each mean's text is made when the list shows it.
        const MeanList means = m_historyModel->table().means();
        m_meanModel->setTexts(means.size(),
            [means, locale = m_environment.locale](qsizetype entry) { return means.text(entry, locale); });
        setStatus(QStringLiteral("Historical Data Loaded."));
    });
}

void frmTripLedger::LoadGraphData(bool blnQuiet)
{
    trapped(QStringLiteral("Chart Data Error"), [&] {
        setStatus(QStringLiteral("Loading Graph Data."));
        // The chosen registration whole, not as the box shows it.
        const QString chosen = cboVehicleList->currentData(Qt::EditRole).toString();
        if (chosen.trimmed().isEmpty()) {
            if (!blnQuiet)
                showMessage(QStringLiteral("You need to have selected a vehicle to plot a graph!"),
                    QStringLiteral("No Data To Save"), QMessageBox::Information);
            return;
        }
        GraphData::Points points = GraphData::points(historyFilePath(), chosen, m_environment.locale);
        if (points.empty()) {
            mscMileage->clear(); // never another vehicle's points under this one's name
            throw AppError(QStringLiteral("Graph Data Check Failure"),
                QStringLiteral("No saved calculation with a usable MPG for vehicle ") + chosen + QLatin1Char('.'));
        }
        mscMileage->setPoints(std::move(points), cboVehicleList->currentText()); // the vehicle as shown
        // Heard with the vehicle and what its chart shows: Orca 43 does not speak a closed box's new choice.
        setStatus(QStringLiteral("Graph Data Loaded."),
            QAccessible::queryAccessibleInterface(mscMileage)->text(QAccessible::Description));
    });
}

void frmTripLedger::cboVehicleList_Click()
{
    LoadGraphData(false);
}

void frmTripLedger::mnuFileExit_Click()
{
    close();
    QCoreApplication::quit();
}

void frmTripLedger::mnuHelpHelp_Click()
{
    OpenHelpFile(this);
}

void frmTripLedger::OpenHelpFile(QWidget* owner)
{
    // Nothing here fails: a missing document is shown as a page that says where it belongs.
    if (!m_help) {
        m_help = new HelpWindow(owner);
        m_help->placeBeside(owner);
    }
    m_help->showDocument(m_environment.helpFile);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void frmTripLedger::mnuHelpOnlineHelp_Click()
{
    const QString& address = m_environment.onlineHelpAddress;
    for (const QString& browser : m_environment.browsers) {
        if (LaunchBrowser(browser, address))
            return;
    }
    showMessage(QStringLiteral("Can not locate webbrowser! Please load ") + address
            + QStringLiteral(" manually in your web browser window!"),
        QStringLiteral("Failed to located web browser"), QMessageBox::Information);
}

void frmTripLedger::mnuHelpAbout_Click()
{
    frmAbout about(this);
    about.exec();
}
