#include "shell/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QToolBar>
#include <QVBoxLayout>
#include <cmath>
#include <stdexcept>

#include "dataset/catalogue.h"
#include "dataset/dataset_loading.h"
#include "shell/artwork.h"
#include "shell/dialog_service.h"
#include "shell/error_report.h"
#include "shell/frmShowLayersDialog.h"
#include "shell/help_viewer.h"
#include "shell/scale.h"
#include "shell/twips.h"
#include "shell/window_registry.h"

bool resultsDrawn = false;

namespace {

using md_functions::ErrorMessage;
using shell::twipsToPixels;

frmMain* loadedMainWindow = nullptr;

// Layout in twips.
constexpr int kFormWidth = 12600;
constexpr int kFormHeight = 8835;
constexpr int kToolbarHeight = 420;
constexpr int kGap = 120;           // outer margins and gaps between the two columns
constexpr int kColumnWidth = 3600;  // the right-hand column
constexpr int kMapInset = 75;       // the map inside its frame
constexpr int kMapNoteGap = 45;     // between the map and the note under it
constexpr int kMapNoteHeight = 240;
constexpr int kPanelWidth = 3015;  // the query parameter panel
constexpr int kPanelHeight = 2835;
constexpr int kPanelTitle = 150;  // room for the panel's caption above its controls

// A click on the map moves less than this many mouse units in both directions.
constexpr int kClickTolerance = 5;

constexpr int kToolPointer[4] = {engine::moPan, engine::moZoom, engine::moArrowQuestion,
                                 engine::moArrow};

QString programDirectory() { return QCoreApplication::applicationDirPath(); }

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    loadedMainWindow = this;
    setWindowTitle(QStringLiteral("Pallix"));
    auto* central = new QWidget(this);
    setCentralWidget(central);
    createMapArea(central);
    column_ = createToolColumn(central);
    createMenus();
    connectMap();
    resize(twipsToPixels(kFormWidth), twipsToPixels(kFormHeight));
}

frmMain::~frmMain() {
    if (loadedMainWindow == this) loadedMainWindow = nullptr;
}

frmMain* frmMain::instance() { return loadedMainWindow; }

void frmMain::createMapArea(QWidget* central) {
    fraMapHolder = new QGroupBox(central);
    Map1 = new engine::Map(fraMapHolder);
    lblMapNote = new QLabel(
        QStringLiteral("Pallix map: each layer in the fixed colours shown in its legend."),
        fraMapHolder);
    QPalette notePalette = lblMapNote->palette();
    notePalette.setColor(QPalette::WindowText, QColor(90, 90, 90));
    lblMapNote->setPalette(notePalette);
}

QWidget* frmMain::createToolColumn(QWidget* central) {
    auto* column = new QWidget(central);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(twipsToPixels(75));

    // Map tools: exactly one selected.
    Toolbar1 = new QToolBar(column);
    Toolbar1->setMovable(false);
    Toolbar1->setContentsMargins(0, 0, 0, 0);
    // One strip holding the four buttons, so that none of them moves into an overflow menu.
    auto* strip = new QWidget(Toolbar1);
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(2, 0, 2, 0);
    stripLayout->setSpacing(twipsToPixels(30));
    auto* tools = new QButtonGroup(this);
    const char* toolCaptions[4] = {"Pan", "Zoom", "Info", "Zorvel"};
    for (int i = 0; i < 4; ++i) {
        optPanZoom[i] = new QRadioButton(QString::fromLatin1(toolCaptions[i]), strip);
        tools->addButton(optPanZoom[i], i);
        stripLayout->addWidget(optPanZoom[i]);
        connect(optPanZoom[i], &QRadioButton::clicked, this, [this, i] { optPanZoom_Click(i); });
    }
    stripLayout->addStretch(1);
    Toolbar1->addWidget(strip);
    layout->addWidget(Toolbar1);

    auto* zoomRow = new QHBoxLayout;
    cmdZoomIn = new QPushButton(QStringLiteral("+"), column);
    cmdZoomOut = new QPushButton(QStringLiteral("-"), column);
    cmdOriginalMap = new QPushButton(QStringLiteral("Back to Original Map"), column);
    for (QPushButton* b : {cmdZoomIn, cmdZoomOut}) b->setFixedWidth(twipsToPixels(480));
    zoomRow->addWidget(cmdZoomIn);
    zoomRow->addWidget(cmdZoomOut);
    zoomRow->addWidget(cmdOriginalMap, 1);
    zoomRow->addStretch();
    layout->addLayout(zoomRow);
    connect(cmdZoomIn, &QPushButton::clicked, this, &frmMain::cmdZoomIn_Click);
    connect(cmdZoomOut, &QPushButton::clicked, this, &frmMain::cmdZoomOut_Click);
    connect(cmdOriginalMap, &QPushButton::clicked, this, &frmMain::cmdOriginalMap_Click);

    cboScale = new QComboBox(column);
    cboScale->addItem(QStringLiteral("Scale Drop-down"));
    layout->addWidget(cboScale);

    lblSelectQuery = new QLabel(QStringLiteral("Select Query:"), column);
    cboSelectQuery = new QComboBox(column);
    layout->addSpacing(twipsToPixels(60));
    layout->addWidget(lblSelectQuery);
    layout->addWidget(cboSelectQuery);

    // The start-up picture, and in its place after the first query the panel switch with the
    // parameter panel or the legend.
    const int panelHeightPx = twipsToPixels(kPanelHeight + kPanelTitle);
    fraStartUpImage = new shell::LandscapePicture(QStringLiteral("Pallix"), column);
    fraStartUpImage->setFixedHeight(panelHeightPx + twipsToPixels(330));
    layout->addWidget(fraStartUpImage);

    fraEditLegend = new QWidget(column);
    auto* editLegend = new QVBoxLayout(fraEditLegend);
    editLegend->setContentsMargins(0, 0, 0, 0);
    editLegend->setSpacing(twipsToPixels(45));
    auto* switchRow = new QHBoxLayout;
    auto* panels = new QButtonGroup(this);
    const char* panelCaptions[2] = {"Edit Map", "Show Map legend"};
    for (int i = 0; i < 2; ++i) {
        optEditLegend[i] = new QRadioButton(QString::fromLatin1(panelCaptions[i]), fraEditLegend);
        panels->addButton(optEditLegend[i], i);
        switchRow->addWidget(optEditLegend[i]);
        connect(optEditLegend[i], &QRadioButton::clicked, this,
                [this, i] { optEditLegend_Click(i); });
    }
    optEditLegend[0]->setChecked(true);
    editLegend->addLayout(switchRow);

    auto* stack = new QGridLayout;
    fraEdit = new QGroupBox(fraEditLegend);
    fraEdit->setFlat(true);
    auto* editLayout = new QVBoxLayout(fraEdit);
    editLayout->setContentsMargins(0, 0, 0, 0);
    fraEditQueryParameters = new QGroupBox(fraEdit);
    fraEditQueryParameters->setFixedSize(twipsToPixels(kPanelWidth), panelHeightPx);
    editLayout->addWidget(fraEditQueryParameters);
    stack->addWidget(fraEdit, 0, 0);

    fraLegend = new QGroupBox(fraEditLegend);
    auto* legendLayout = new QVBoxLayout(fraLegend);
    legendLayout->setContentsMargins(2, 2, 2, 2);
    auto* legendScroll = new QScrollArea(fraLegend);
    legendScroll->setWidgetResizable(true);
    legendScroll->setFrameShape(QFrame::NoFrame);
    legend = new engine::Legend;
    legend->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    legendScroll->setWidget(legend);
    legendLayout->addWidget(legendScroll);
    fraLegend->setFixedHeight(panelHeightPx);
    fraLegend->setVisible(false);
    stack->addWidget(fraLegend, 0, 0);
    editLegend->addLayout(stack);
    fraEditLegend->setVisible(false);
    layout->addWidget(fraEditLegend);
    connect(legend, &engine::Legend::afterSetLayerVisible, this,
            [this](int, bool) { legend_AfterSetLayerVisible(); });

    createQueryPanel();

    auto* buttonRow = new QHBoxLayout;
    cmdChangeLayers = new QPushButton(QStringLiteral("Change Layers..."), column);
    cmdShowData = new QPushButton(QStringLiteral("Results Table"), column);
    cmdShowData->setVisible(false);
    buttonRow->addWidget(cmdChangeLayers);
    buttonRow->addWidget(cmdShowData);
    layout->addLayout(buttonRow);
    connect(cmdChangeLayers, &QPushButton::clicked, this, &frmMain::cmdChangeLayers_Click);

    cmdUpdateMap = new QPushButton(QStringLiteral("Update Map"), column);
    QFont bold = cmdUpdateMap->font();
    bold.setBold(true);
    cmdUpdateMap->setFont(bold);
    layout->addWidget(cmdUpdateMap);

    lblWorking = new QLabel(QStringLiteral("Creating Map..."), column);
    lblWorking->setWordWrap(true);
    lblWorking->setVisible(false);
    layout->addWidget(lblWorking);

    lblLayersCaption = new QLabel(QStringLiteral("Layers currently displayed"), column);
    lblLayersCaption->setFont(bold);
    lblLayersCurrentlyDisplayed = new QLabel(column);
    lblLayersCurrentlyDisplayed->setWordWrap(true);
    lblLayersCurrentlyDisplayed->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(lblLayersCaption);
    layout->addWidget(lblLayersCurrentlyDisplayed, 1);
    return column;
}

void frmMain::createQueryPanel() {
    QWidget* panel = fraEditQueryParameters;
    // The panel's positions were laid out for a small, narrow font.
    QFont small = panel->font();
    small.setPixelSize(11);
    small.setStretch(QFont::SemiCondensed);
    panel->setFont(small);
    for (int i = 0; i < 6; ++i) {
        lblQuery1[i] = new QLabel(panel);
        lblQuery1[i]->setVisible(false);
    }
    lblQuery1[5]->setText(QStringLiteral("remove protected areas "));
    lblQuery1[5]->setWordWrap(true);
    lblQuery1[5]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeInPanel(lblQuery1[0], 600, 240, 2250, 255);
    placeInPanel(lblQuery1[1], 570, 600, 2400, 255);
    placeInPanel(lblQuery1[2], 570, 960, 2400, 255);
    placeInPanel(lblQuery1[3], 570, 1320, 2400, 255);
    placeInPanel(lblQuery1[4], 120, 1680, 2400, 255);
    placeInPanel(lblQuery1[5], 1770, 1260, 1170, 465);

    for (int i = 1; i <= 2; ++i) {
        txtQuery1[i] = new QLineEdit(QStringLiteral("5"), panel);
        txtQuery1[i]->setVisible(false);
        placeInPanel(txtQuery1[i], 90, i == 1 ? 540 : 900, 500, 285);
    }

    cboQueryDropDown = new QComboBox(panel);
    cboQueryDropDown2 = new QComboBox(panel);
    cboQueryDropDown3 = new QComboBox(panel);
    for (QComboBox* c : {cboQueryDropDown, cboQueryDropDown2}) {
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
    }
    for (QComboBox* c : {cboQueryDropDown, cboQueryDropDown2, cboQueryDropDown3}) {
        c->setVisible(false);
        c->resize(c->width(), c->sizeHint().height());
    }
    placeInPanel(cboQueryDropDown, 90, 540, 1365);
    placeInPanel(cboQueryDropDown2, 1620, 540, 1275);
    placeInPanel(cboQueryDropDown3, 120, 1890, 2775);

    lstQuery1 = new QListWidget(panel);
    lstQuery1->setSelectionMode(QAbstractItemView::MultiSelection);
    lstQuery1->setVisible(false);
    placeInPanel(lstQuery1, 90, 1890, 2805, 840);

    chkProtectedAreas = new QCheckBox(panel);
    chkProtectedAreas->setChecked(true);
    chkProtectedAreas->setVisible(false);
    // At the right end of its label, clear of the distance captions to the left.
    placeInPanel(chkProtectedAreas, 2700, 1335, 240, 255);
}

void frmMain::createMenus() {
    QMenu* file = mnuFile = menuBar()->addMenu(QStringLiteral("File"));
    mnuOpen = file->addAction(QStringLiteral("Open Dataset..."));
    mnuSave = file->addAction(QStringLiteral("Save Result"));
    mnuPrint = file->addAction(QStringLiteral("Print"));
    file->addSeparator();
    mnuExit = file->addAction(QStringLiteral("Exit"));
    mnuHelp = menuBar()->addAction(QStringLiteral("Help"));

    connect(mnuOpen, &QAction::triggered, this, &frmMain::mnuOpen_Click);
    connect(mnuSave, &QAction::triggered, this, [this] {
        if (hooks.saveResult) hooks.saveResult(*this);
    });
    connect(mnuPrint, &QAction::triggered, this, [this] {
        if (hooks.print) hooks.print(*this);
    });
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(mnuHelp, &QAction::triggered, this, &frmMain::mnuHelp_Click);
}

void frmMain::connectMap() {
    connect(Map1, &engine::Map::mouseDown, this, &frmMain::Map1_MouseDown);
    connect(Map1, &engine::Map::mouseMove, this, &frmMain::Map1_MouseMove);
    connect(Map1, &engine::Map::mouseUp, this, &frmMain::Map1_MouseUp);
    connect(Map1, &engine::Map::beforeLayerDraw, this, &frmMain::Map1_BeforeLayerDraw);
    connect(Map1, &engine::Map::beforeTrackingLayerDraw, this,
            &frmMain::Map1_BeforeTrackingLayerDraw);
    connect(Map1, &engine::Map::afterTrackingLayerDraw, this,
            &frmMain::Map1_AfterTrackingLayerDraw);
    // A rubber band zooms to the dragged rectangle; a click (no real rectangle) leaves the
    // extent for the click zoom on release.
    connect(Map1, &engine::Map::rectangleTracked, this, [this](const engine::Rectangle& r) {
        if (r.isEmpty()) return;
        const QPointF a = Map1->fromMapPoint({r.left(), r.top()});
        const QPointF b = Map1->fromMapPoint({r.right(), r.bottom()});
        if (std::abs(b.x() - a.x()) < kClickTolerance && std::abs(b.y() - a.y()) < kClickTolerance)
            return;
        Map1->setExtent(r);
    });
}

void frmMain::Form_Load() {
    try {
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

        resize(width(), twipsToPixels(kFormHeight));
        Toolbar1->setFixedHeight(twipsToPixels(kToolbarHeight));
        // The map fills the window left of the tool column.
        const int gap = twipsToPixels(kGap);
        const int clientTop = menuBar()->sizeHint().height();
        const int frameWidth = width() - twipsToPixels(kColumnWidth) - 3 * gap;
        const int frameHeight = height() - clientTop - 2 * gap;
        const int inset = twipsToPixels(kMapInset);
        const int noteSpace = twipsToPixels(kMapNoteGap + kMapNoteHeight);
        fraMapHolder->setGeometry(gap, gap, frameWidth, frameHeight);
        Map1->setGeometry(inset, inset, frameWidth - 2 * inset,
                          frameHeight - 2 * inset - noteSpace);
        lblMapNote->setGeometry(inset, Map1->y() + Map1->height() + twipsToPixels(kMapNoteGap),
                                frameWidth - 2 * inset, twipsToPixels(kMapNoteHeight));
        layOutColumn();

        if (hooks.selectFirstApplication) hooks.selectFirstApplication(*this);

        marginWidthFrame_ = width() - fraMapHolder->width();
        marginHeightFrame_ = height() - fraMapHolder->height();
        marginWidthMap_ = width() - Map1->width();
        marginHeightMap_ = height() - Map1->height();

        md_functions::FillStandardFileNames();
        if (hooks.resetResults) hooks.resetResults(*this);
        bMainFormLoaded = true;
    } catch (...) {
        ErrorMessage(
            QStringLiteral(" Error while loading the main form. Error Source:frmMain.Form_Load()"),
            48);
    }
}

void frmMain::layOutColumn() {
    const int gap = twipsToPixels(kGap);
    const int clientHeight = height() - menuBar()->sizeHint().height();
    const int columnWidth = twipsToPixels(kColumnWidth);
    column_->setGeometry(width() - columnWidth - gap, gap / 2, columnWidth,
                         std::max(0, clientHeight - gap));
}

void frmMain::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    if (column_) layOutColumn();
    Form_Resize();
}

void frmMain::Form_Resize() {
    try {
        if (!bMainFormLoaded) return;
        const int w = width(), h = height();
        if (w - marginWidthFrame_ <= 0 || w - marginWidthMap_ <= 0 || h - marginHeightFrame_ <= 0 ||
            h - marginHeightMap_ <= 0)
            return;
        fraMapHolder->resize(w - marginWidthFrame_, h - marginHeightFrame_);
        Map1->resize(w - marginWidthMap_, h - marginHeightMap_);
        lblMapNote->setGeometry(lblMapNote->x(),
                                Map1->y() + Map1->height() + twipsToPixels(kMapNoteGap),
                                Map1->width(), lblMapNote->height());
    } catch (...) {
        ErrorMessage(
            QStringLiteral(" Error while resizing main form. Error Source:frmMain.Form_Resize()"),
            48);
    }
}

void frmMain::placeInPanel(QWidget* control, int left, int top, int width, int height) {
    const int w = width < 0 ? control->width() : twipsToPixels(width);
    const int h = height < 0 ? control->height() : twipsToPixels(height);
    control->setGeometry(twipsToPixels(left), twipsToPixels(top + kPanelTitle), w, h);
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

// --- Interface state -------------------------------------------------------------------------

void frmMain::UpdateInterface() {
    try {
        FillScaleComboBox();
        Fill_lblLayersCurrentlyDisplayed();
        EnablePanZoomControls(Map1->layerCount() > 0);
    } catch (...) {
        ErrorMessage(QStringLiteral(
                         " Error while updating interface. Error Source:frmMain.UpdateInterface()"),
                     48);
    }
}

void frmMain::EnablePanZoomControls(bool bEnable) {
    try {
        cmdZoomIn->setEnabled(bEnable);
        cmdZoomOut->setEnabled(bEnable);
        cboScale->setEnabled(bEnable);
        bool showOriginal = false;
        if (bEnable) {
            // Compared with a little slack: an extent set to the full extent must not count
            // as smaller through rounding.
            const engine::Rectangle full = Map1->fullExtent();
            const engine::Rectangle now = Map1->extent();
            showOriginal = full.width() > now.width() * (1 + 1e-9) ||
                           full.height() > now.height() * (1 + 1e-9);
        }
        cmdOriginalMap->setVisible(showOriginal);
        for (int i = 0; i <= 2; ++i) optPanZoom[i]->setEnabled(bEnable);
        cboSelectQuery->setEnabled(bEnable);
    } catch (...) {
        ErrorMessage(QStringLiteral(" Error while trying to enable pan/zoom controls. Error "
                                    "Source:frmMain.EnablePanZoomControls()"),
                     48);
    }
}

void frmMain::FillScaleComboBox() {
    try {
        cboScale->clear();
        cboScale->addItem(md_functions::CalculateScale(*Map1));
        cboScale->setCurrentIndex(0);
    } catch (...) {
        ErrorMessage(
            QStringLiteral(
                " Error while setting the current scale. Error Source:frmMain.FillScaleComboBox()"),
            48);
    }
}

void frmMain::ControlEnable(bool enabled) {
    try {
        Map1->setMousePointer(enabled ? engine::moDefault : engine::moHourglass);
        cmdUpdateMap->setText(enabled ? QStringLiteral("Update Map") : QStringLiteral("Cancel"));
        lblWorking->setVisible(!enabled);
        cboSelectQuery->setEnabled(enabled);
        cmdChangeLayers->setEnabled(enabled);
        repaint();
    } catch (...) {
        ErrorMessage(QStringLiteral(" Error while trying to control the enable/disbale status of "
                                    "controls. Error Source:frmMain.ControlEnable()"),
                     48);
    }
}

void frmMain::Fill_lblLayersCurrentlyDisplayed() {
    try {
        if (Map1->layerCount() == 0) {
            lblLayersCurrentlyDisplayed->setText(QStringLiteral("- No layers found -"));
            return;
        }
        QString text;
        for (int i = 0; i < Map1->layerCount(); ++i) {
            const auto& layer = Map1->layer(i);
            if (layer->visible) text += layer->name + QStringLiteral("; ");
        }
        lblLayersCurrentlyDisplayed->setText(text);
    } catch (...) {
        ErrorMessage(QStringLiteral(" Error while filling Layer list label. Error "
                                    "Source:frmMain.Fill_lblLayersCurrentlyDisplayed()"),
                     48);
    }
}

void frmMain::EditOrLegend(int index) {
    try {
        fraEdit->setVisible(index == 0);
        fraLegend->setVisible(index == 1);
    } catch (...) {
        ErrorMessage(QStringLiteral(" Error while selecting edit map/legend option. Error "
                                    "Source:frMain.EditOrLegend()"),
                     48);
    }
}

// --- Menus and buttons -----------------------------------------------------------------------

void frmMain::mnuOpen_Click() {
    const QString file = shell::dialogs().openFileName(this, QStringLiteral("Open Dataset"),
                                                       md_functions::datasetState().dataDirectory,
                                                       QStringLiteral("ESRI Shapefiles (*.shp)"));
    if (file.isEmpty()) return;
    md_functions::LoadProject(QFileInfo(file).fileName(), file, *Map1, *legend);
}

void frmMain::mnuHelp_Click() {
    try {
        if (!QFileInfo(helpFile).isFile()) throw std::runtime_error("help file missing");
        auto* viewer = qobject_cast<shell::HelpViewer*>(helpViewer_);
        if (!viewer) {
            viewer = new shell::HelpViewer(this);
            helpViewer_ = viewer;
            shell::registerWindow(viewer);
        }
        viewer->showPage(helpFile);
        viewer->show();
        viewer->raise();
        viewer->activateWindow();
    } catch (...) {
        ErrorMessage(QStringLiteral(
                         " Error while trying to open Help. Error Source:frmMain.mnuHelp_Click()"),
                     48);
    }
}

void frmMain::zoomBy(double factor) {
    resultsDrawn = false;
    engine::Rectangle r = Map1->extent();
    r.scaleRectangle(factor);
    Map1->setExtent(r);
}

void frmMain::cmdZoomIn_Click() {
    try {
        zoomBy(1.0 / zoomFactor);
    } catch (...) {
        ErrorMessage(QStringLiteral(" Error while Zoom In. Error Source:frmMain.cmdZoomIn_Click()"),
                     48);
    }
}

void frmMain::cmdZoomOut_Click() {
    try {
        zoomBy(zoomFactor);
    } catch (...) {
        ErrorMessage(
            QStringLiteral(" Error while Zoom Out. Error Source:frmMain.cmdZoomOut_Click()"), 48);
    }
}

void frmMain::cmdOriginalMap_Click() {
    try {
        resultsDrawn = false;
        Map1->setExtent(Map1->fullExtent());
    } catch (...) {
        ErrorMessage(QStringLiteral(" Error while trying to display orginal map. Error "
                                    "Source:frmMain.cmdOriginalMap_Click()"),
                     48);
    }
}

void frmMain::cmdChangeLayers_Click() {
    try {
        frmShowLayersDialog* dialog = layerDialog();
        // Modal for the user, but shown without a nested event loop.
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
    } catch (...) {
        ErrorMessage(QStringLiteral(" Error while trying to load change layers form. Error "
                                    "Source:frmMain.cmdChangeLayers_Click()"),
                     48);
    }
}

void frmMain::optPanZoom_Click(int index) {
    try {
        currentTool = index;
        resultsDrawn = false;
    } catch (...) {
        ErrorMessage(
            QStringLiteral(
                " Error while selecting Pan/Zoom option. Error Source:frmMain.optPanZoom_Click()"),
            48);
    }
}

void frmMain::optEditLegend_Click(int index) {
    try {
        if (bStartUpImageShown) return;
        EditOrLegend(index);
    } catch (...) {
        ErrorMessage(QStringLiteral(" Error while selecting edit map/legend option. Error "
                                    "Source:frmMain.optEditLegend_Click()"),
                     48);
    }
}

void frmMain::legend_AfterSetLayerVisible() {
    try {
        resultsDrawn = false;
        Map1->refresh();
    } catch (...) {
        ErrorMessage(QStringLiteral(" Error while changing the layer visibility from legend panel. "
                                    "Error Source:frmMain.legend_AfterSetLayerVisible()"),
                     48);
    }
}

// --- The map's mouse and draw notifications --------------------------------------------------

void frmMain::Map1_MouseDown(int, int, double x, double y) {
    try {
        giX = int(std::lround(x));
        giY = int(std::lround(y));
        if (!cmdZoomIn->isEnabled()) return;
        switch (currentTool) {
            case 0:
                Map1->pan();
                break;
            case 1:
                Map1->trackRectangle();
                break;
            case 2:
                if (hooks.showInfo) hooks.showInfo(*this);
                break;
            case 3:
                if (hooks.showZorvel) hooks.showZorvel(*this);
                break;
            default:
                break;
        }
    } catch (...) {
        ErrorMessage(QStringLiteral(
                         " Error in Map1_MouseDown() event. Error Source:frmMain.Map1_MouseDown()"),
                     48);
    }
}

void frmMain::Map1_MouseMove(int, int, double, double) {
    try {
        if (currentTool >= 0 && currentTool < 4) Map1->setMousePointer(kToolPointer[currentTool]);
    } catch (...) {
        ErrorMessage(QStringLiteral(
                         " Error in Map1_MouseMove() event. Error Source:frmMain.Map1_MouseMove()"),
                     48);
    }
}

bool frmMain::isClick(double x, double y) const {
    return std::abs(x - giX) < kClickTolerance && std::abs(y - giY) < kClickTolerance;
}

void frmMain::Map1_MouseUp(int button, int, double x, double y) {
    try {
        if (!isClick(x, y) || currentTool != 1 || !cmdZoomIn->isEnabled()) return;
        // Centre on the spot the user clicked in the view they clicked on, then zoom about it.
        const engine::Point p = Map1->toMapPoint(x, y);
        engine::Rectangle r = Map1->extent();
        r.scaleRectangle(button == Qt::LeftButton ? 1.0 / zoomFactor : double(zoomFactor));
        const engine::Point c = r.center();
        r.offset(p.x - c.x, p.y - c.y);
        resultsDrawn = false;
        Map1->setExtent(r);
    } catch (...) {
        ErrorMessage(
            QStringLiteral(" Error in Map1_MouseUp event. Error Source:frmMain.Map1_MouseUp()"),
            48);
    }
}

void frmMain::Map1_BeforeLayerDraw(int) {
    try {
        if (!resultsDrawn) {
            if (hooks.drawQueryResults) hooks.drawQueryResults(*Map1);
            resultsDrawn = true;
        }
    } catch (...) {
        ErrorMessage(QStringLiteral(" Error in BeforeMapLayerDraw function. Error "
                                    "Source:frmMain.Map1_BeforeLayerDraw()"),
                     48);
    }
}

void frmMain::Map1_BeforeTrackingLayerDraw() {
    try {
        UpdateInterface();
    } catch (...) {
        ErrorMessage(QStringLiteral(" Error in BeforeTrackingLayerDraw function. Error "
                                    "Source:frmMain.Map1_BeforeTrackingLayerDraw()"),
                     48);
    }
}

void frmMain::Map1_AfterTrackingLayerDraw() {
    try {
        resultsDrawn = false;
    } catch (...) {
        ErrorMessage(QStringLiteral(" Error while trying to draw tracking layer. Error "
                                    "Source:frmMain.Map1_AfterTrackingLayerDraw()"),
                     48);
    }
}

// --- Shutdown --------------------------------------------------------------------------------

void frmMain::closeEvent(QCloseEvent* e) {
    Form_Unload();
    e->accept();
    QMainWindow::closeEvent(e);
}

void frmMain::Form_Unload() {
    try {
        shell::unloadWindows();
        if (layerDialog_) layerDialog_->hide();
        if (helpViewer_) helpViewer_->close();
        QCoreApplication::quit();
    } catch (...) {
        ErrorMessage(
            QStringLiteral(
                " Error while unloading the main form. Error Source:frmMain.Form_Unload()"),
            48);
    }
}
