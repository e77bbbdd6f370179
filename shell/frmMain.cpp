#include "shell/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSplitter>

#include "dataset/catalogue.h"
#include "dataset/dataset_loading.h"
#include "feedback/error_report.h"
#include "shell/frmShowLayersDialog.h"
#include "shell/window_registry.h"

bool resultsDrawn = false;

namespace {

using md_functions::ErrorMessage;

frmMain* loadedMainWindow = nullptr;

const QString kOpenFirst = QStringLiteral("Open a dataset first (File > Open Dataset...).");

QString programDirectory() { return QCoreApplication::applicationDirPath(); }

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    loadedMainWindow = this;
    md_functions::setStatusLine([this](const QString& message) {
        setWorkingColor(QColor(255, 0, 0));
        lblWorking->setText(message);
        lblWorking->setVisible(true);
        repaint();
    });
    setWindowTitle(QStringLiteral("Pallix"));
    createMenus();
    createToolStrip();
    splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(createMapArea());
    splitter->addWidget(createColumn());
    // The map takes the room the window gains; neither side can be squeezed away.
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setChildrenCollapsible(false);
    setCentralWidget(splitter);
    connectMap();
    orderTabs();

    // A size in lines of text, so that a desktop with larger fonts gets a larger window and the
    // map keeps the larger share; the layouts make it larger still if the contents need more.
    const int line = fontMetrics().height();
    QSize size(85 * line, 57 * line);
    if (const QScreen* s = screen()) size = size.boundedTo(s->availableGeometry().size() * 0.9);
    resize(size);
    // The column starts at the width it asks for; the map has the rest.
    const int column = splitter->widget(1)->sizeHint().width();
    splitter->setSizes({width() - column, column});
}

frmMain::~frmMain() {
    if (loadedMainWindow != this) return;
    loadedMainWindow = nullptr;
    md_functions::setStatusLine({});
}

frmMain* frmMain::instance() { return loadedMainWindow; }

void frmMain::needsDataset(QWidget* control, const QString& tip) {
    needDataset_.emplace_back(control, tip);
}

// Tab follows the window from the tool strip down the column, then to the status line.
void frmMain::orderTabs() {
    const QList<QWidget*> chain = {
        optPanZoom[0],    optPanZoom[1],     optPanZoom[2],   optPanZoom[3],    cmdZoomIn,
        cmdZoomOut,       cmdOriginalMap,    cboSelectQuery,  optEditLegend[0], optEditLegend[1],
        cboQueryDropDown, cboQueryDropDown2, txtQuery1[1],    txtQuery1[2],     chkProtectedAreas,
        lstQuery1,        cboQueryDropDown3, cmdChangeLayers, cmdShowData,      cmdUpdateMap,
        cboScale};
    for (int i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void frmMain::Form_Load() {
    md_functions::reportingFailure(
        QStringLiteral(" Error while loading the main form. Error Source:frmMain.Form_Load()"),
        [&] {
            loadedMainWindow = this;
            resultsDrawn = false;
            shell::resetWindowRegistry();
            bMainFormLoaded = false;

            helpFile = programDirectory() + QStringLiteral("/help/index.html");
            md_functions::ResetDatasetState(programDirectory());
            bStartUpImageShown = true;
            currentTool = 1;
            zoomFactor = 2;
            if (hooks.fillQueryList) hooks.fillQueryList(*this);
            optPanZoom[1]->setChecked(true);
            optPanZoom_Click(1);
            UpdateInterface();
            legend->setMapSource(Map1);
            legend->loadLegend(true);
            if (hooks.selectFirstApplication) hooks.selectFirstApplication(*this);
            md_functions::FillStandardFileNames();
            if (hooks.resetResults) hooks.resetResults(*this);
            bMainFormLoaded = true;
        });
}

void frmMain::setWorkingColor(const QColor& color) {
    QPalette palette = lblWorking->palette();
    palette.setColor(QPalette::WindowText, color);
    lblWorking->setPalette(palette);
}

frmShowLayersDialog* frmMain::layerDialog() {
    if (!layerDialog_) setLayerDialog(new frmShowLayersDialog(md_functions::MAX_LAYERS));
    return layerDialog_;
}

void frmMain::setLayerDialog(frmShowLayersDialog* dialog) {
    if (layerDialog_ == dialog) return;
    delete layerDialog_;
    layerDialog_ = dialog;
    if (dialog) {
        dialog->setParent(this, dialog->windowFlags() | Qt::Dialog);
        shell::registerWindow(dialog);
    }
}

void frmMain::cmdChangeLayers_Click() {
    md_functions::reportingFailure(
        QStringLiteral(" Error while trying to load change layers form. Error "
                       "Source:frmMain.cmdChangeLayers_Click()"),
        [&] {
            frmShowLayersDialog* dialog = layerDialog();
            // Modal for the user, but shown without a nested event loop.
            dialog->setWindowModality(Qt::ApplicationModal);
            dialog->show();
            dialog->raise();
            dialog->activateWindow();
        });
}

// --- Interface state -------------------------------------------------------------------------

void frmMain::UpdateInterface() {
    md_functions::reportingFailure(
        QStringLiteral(" Error while updating interface. Error Source:frmMain.UpdateInterface()"),
        [&] {
            FillScaleComboBox();
            Fill_lblLayersCurrentlyDisplayed();
            // The window is named after the dataset it shows, by its folder.
            const QString folder = QDir(md_functions::datasetState().dataDirectory).dirName();
            setWindowTitle(Map1->layerCount() > 0 && !folder.isEmpty()
                               ? folder + QStringLiteral(" - Pallix")
                               : QStringLiteral("Pallix"));
            EnablePanZoomControls(Map1->layerCount() > 0);
            UpdateCommandAvailability();
            showLegendBeforeFirstQuery();
        });
}

// The note under the map promises a legend: with a dataset open and no query chosen yet, the
// legend stands in the start-up picture's place. The panel switch waits for the first query.
void frmMain::showLegendBeforeFirstQuery() {
    for (QRadioButton* option : optEditLegend) option->setEnabled(!bStartUpImageShown);
    if (!bStartUpImageShown || Map1->layerCount() == 0 || fraStartUpImage->isHidden()) return;
    fraStartUpImage->hide();
    fraEditLegend->show();
    optEditLegend[1]->setChecked(true);
    EditOrLegend(1);
}

void frmMain::UpdateCommandAvailability() {
    const bool dataset = Map1->layerCount() > 0;
    for (const auto& [control, tip] : needDataset_) control->setToolTip(dataset ? tip : kOpenFirst);
    optPanZoom[3]->setEnabled(dataset);
    cmdUpdateMap->setEnabled(dataset);

    mnuPrint->setEnabled(dataset);
    mnuPrint->setToolTip(dataset
                             ? QStringLiteral("Print the map with a heading, scale bar and legends")
                             : kOpenFirst);
    const bool result = hooks.hasResult && hooks.hasResult();
    mnuSave->setEnabled(result);
    const QString findFirst = QStringLiteral("Run a query that finds areas first (Update Map).");
    if (result)
        mnuSave->setToolTip(QStringLiteral("Save the areas of the last query as a shapefile"));
    else
        mnuSave->setToolTip(dataset ? findFirst : kOpenFirst);
}

void frmMain::ControlEnable(bool enabled) {
    md_functions::reportingFailure(
        QStringLiteral(" Error while trying to control the enable/disbale status of "
                       "controls. Error Source:frmMain.ControlEnable()"),
        [&] {
            Map1->setMousePointer(enabled ? engine::moDefault : engine::moHourglass);
            cmdUpdateMap->setText(enabled ? QStringLiteral("Update Map")
                                          : QStringLiteral("Cancel"));
            lblWorking->setVisible(!enabled);
            cboSelectQuery->setEnabled(enabled);
            cmdChangeLayers->setEnabled(enabled);
            repaint();
        });
}

// --- Shutdown --------------------------------------------------------------------------------

void frmMain::closeEvent(QCloseEvent* e) {
    Form_Unload();
    e->accept();
    QMainWindow::closeEvent(e);
}

void frmMain::Form_Unload() {
    md_functions::reportingFailure(
        QStringLiteral(" Error while unloading the main form. Error Source:frmMain.Form_Unload()"),
        [&] {
            shell::unloadWindows();
            if (layerDialog_) layerDialog_->hide();
            if (helpViewer_) helpViewer_->close();
            QCoreApplication::quit();
        });
}
