// The main window's map area with its tool strip (the map tools and zooming) and scale box, and
// the map's mouse and draw notifications.
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <optional>

#include "engine/map_layer.h"
#include "feedback/error_report.h"
#include "shell/frmMain.h"
#include "shell/scale.h"

namespace {

using md_functions::ErrorMessage;

// A click on the map moves less than this many mouse units in both directions.
constexpr int kClickTolerance = 5;

constexpr int kToolPointer[4] = {engine::moPan, engine::moZoom, engine::moArrowQuestion,
                                 engine::moArrow};

// The point under the cursor: longitude and latitude on a geographic map, else x and y in the
// map's units as its first layer's coordinate system names them.
QString cursorText(const engine::Map& map, double x, double y) {
    const engine::Point p = map.toMapPoint(x, y);
    std::optional<engine::CoordinateSystem> cs;
    for (int i = 0; i < map.layerCount() && !cs; ++i) cs = map.layer(i)->coordinateSystem();
    if (cs && cs->isGeographic()) {
        const auto deg = [](double v, char pos, char neg) {
            return QString::number(std::abs(v), 'f', 4) + QChar(0xb0) + QChar(v < 0 ? neg : pos);
        };
        return deg(p.y, 'N', 'S') + QStringLiteral(", ") + deg(p.x, 'E', 'W');
    }
    const QString unit = cs ? QLatin1Char(' ') + cs->unitName.toLower() : QString();
    return QStringLiteral("x %1, y %2").arg(p.x, 0, 'f', 1).arg(p.y, 0, 'f', 1) + unit;
}

}  // namespace

void frmMain::createToolStrip() {
    Toolbar1 = addToolBar(QStringLiteral("Map tools"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    // The strip is part of the window, not something the user can switch off.
    Toolbar1->setContextMenuPolicy(Qt::PreventContextMenu);

    auto* tools = new QButtonGroup(this);
    const char* toolCaptions[4] = {"Pan", "Zoom", "Info", "Zorvel"};
    const char* toolTips[4] = {
        "Drag the map to move it",
        "Click to zoom in, right-click to zoom out, or drag a rectangle to zoom to it",
        "Click the map to list what every shown layer holds there",
        "Click a site on the map to model a power system there with Zorvel"};
    for (int i = 0; i < 4; ++i) {
        optPanZoom[i] = new QRadioButton(QString::fromLatin1(toolCaptions[i]), Toolbar1);
        needsDataset(optPanZoom[i], QString::fromLatin1(toolTips[i]));
        tools->addButton(optPanZoom[i], i);
        Toolbar1->addWidget(optPanZoom[i]);
        connect(optPanZoom[i], &QRadioButton::clicked, this, [this, i] { optPanZoom_Click(i); });
    }
    Toolbar1->addSeparator();

    cmdZoomIn = new QToolButton(Toolbar1);
    cmdZoomOut = new QToolButton(Toolbar1);
    cmdOriginalMap = new QToolButton(Toolbar1);
    cmdZoomIn->setText(QStringLiteral("+"));
    cmdZoomOut->setText(QStringLiteral("-"));
    cmdOriginalMap->setText(QStringLiteral("Back to Original Map"));
    needsDataset(cmdZoomIn, QStringLiteral("Zoom in"));
    needsDataset(cmdZoomOut, QStringLiteral("Zoom out"));
    cmdOriginalMap->setToolTip(QStringLiteral("Show the whole dataset"));
    Toolbar1->addWidget(cmdZoomIn);
    Toolbar1->addWidget(cmdZoomOut);
    // A widget in a tool strip is shown and hidden through its action.
    originalMapAction_ = Toolbar1->addWidget(cmdOriginalMap);
    originalMapAction_->setVisible(false);
    connect(cmdZoomIn, &QToolButton::clicked, this, &frmMain::cmdZoomIn_Click);
    connect(cmdZoomOut, &QToolButton::clicked, this, &frmMain::cmdZoomOut_Click);
    connect(cmdOriginalMap, &QToolButton::clicked, this, &frmMain::cmdOriginalMap_Click);

    // The scale box sits at the right end of the status line, under the map it describes,
    // leaving the strip short enough for a small window.
    cboScale = new QComboBox(statusBar());
    cboScale->addItem(QStringLiteral("Scale Drop-down"));
    needsDataset(cboScale, QStringLiteral("The current map scale"));
    // Wide enough for a world-wide scale, so it does not jump as the scale changes.
    cboScale->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboScale->setMinimumContentsLength(24);
    lblCursorPosition = new QLabel(statusBar());
    statusBar()->addPermanentWidget(lblCursorPosition);
    statusBar()->addPermanentWidget(cboScale);
}

QWidget* frmMain::createMapArea() {
    fraMapHolder = new QGroupBox;
    auto* layout = new QVBoxLayout(fraMapHolder);
    Map1 = new engine::Map(fraMapHolder);
    Map1->setMinimumSize(320, 240);
    Map1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(Map1, 1);
    lblMapNote = new QLabel(
        QStringLiteral("Pallix map: each layer in the fixed colours shown in its legend."),
        fraMapHolder);
    lblMapNote->setWordWrap(true);
    QPalette notePalette = lblMapNote->palette();
    notePalette.setColor(QPalette::WindowText, QColor(90, 90, 90));
    lblMapNote->setPalette(notePalette);
    layout->addWidget(lblMapNote);
    return fraMapHolder;
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
    // The wheel zooms about the point under the cursor, which stays where it is; a notch is a
    // quarter of a zoom button's step.
    connect(Map1, &engine::Map::wheelTurned, this, [this](double notches, double x, double y) {
        if (!cmdZoomIn->isEnabled()) return;
        const engine::Point p = Map1->toMapPoint(x, y);
        const double f = std::pow(double(zoomFactor), -notches / 4);
        const engine::Rectangle r = Map1->extent();
        resultsDrawn = false;
        Map1->setExtent({p.x - (p.x - r.left()) * f, p.y - (p.y - r.bottom()) * f,
                         p.x + (r.right() - p.x) * f, p.y + (r.top() - p.y) * f});
    });
}

void frmMain::EnablePanZoomControls(bool bEnable) {
    md_functions::reportingFailure(
        QStringLiteral(" Error while trying to enable pan/zoom controls. Error "
                       "Source:frmMain.EnablePanZoomControls()"),
        [&] {
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
            originalMapAction_->setVisible(showOriginal);
            Toolbar1->layout()->activate();  // shows or hides the button now, not at the next event
            for (int i = 0; i <= 2; ++i) optPanZoom[i]->setEnabled(bEnable);
            cboSelectQuery->setEnabled(bEnable);
        });
}

void frmMain::FillScaleComboBox() {
    md_functions::reportingFailure(
        QStringLiteral(
            " Error while setting the current scale. Error Source:frmMain.FillScaleComboBox()"),
        [&] {
            cboScale->clear();
            cboScale->addItem(md_functions::CalculateScale(*Map1));
            cboScale->setCurrentIndex(0);
        });
}

// --- Zooming and the tools -------------------------------------------------------------------

void frmMain::zoomBy(double factor) {
    resultsDrawn = false;
    engine::Rectangle r = Map1->extent();
    r.scaleRectangle(factor);
    Map1->setExtent(r);
}

void frmMain::cmdZoomIn_Click() {
    md_functions::reportingFailure(
        QStringLiteral(" Error while Zoom In. Error Source:frmMain.cmdZoomIn_Click()"),
        [&] { zoomBy(1.0 / zoomFactor); });
}

void frmMain::cmdZoomOut_Click() {
    md_functions::reportingFailure(
        QStringLiteral(" Error while Zoom Out. Error Source:frmMain.cmdZoomOut_Click()"),
        [&] { zoomBy(zoomFactor); });
}

void frmMain::cmdOriginalMap_Click() {
    md_functions::reportingFailure(
        QStringLiteral(" Error while trying to display orginal map. Error "
                       "Source:frmMain.cmdOriginalMap_Click()"),
        [&] {
            resultsDrawn = false;
            Map1->setExtent(Map1->fullExtent());
        });
}

void frmMain::optPanZoom_Click(int index) {
    md_functions::reportingFailure(
        QStringLiteral(
            " Error while selecting Pan/Zoom option. Error Source:frmMain.optPanZoom_Click()"),
        [&] {
            currentTool = index;
            resultsDrawn = false;
        });
}

// --- The map's mouse and draw notifications --------------------------------------------------

void frmMain::Map1_MouseDown(int, int, double x, double y) {
    md_functions::reportingFailure(
        QStringLiteral(" Error in Map1_MouseDown() event. Error Source:frmMain.Map1_MouseDown()"),
        [&] {
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
        });
}

void frmMain::Map1_MouseMove(int, int, double x, double y) {
    md_functions::reportingFailure(
        QStringLiteral(" Error in Map1_MouseMove() event. Error Source:frmMain.Map1_MouseMove()"),
        [&] {
            if (currentTool >= 0 && currentTool < 4)
                Map1->setMousePointer(kToolPointer[currentTool]);
            lblCursorPosition->setText(Map1->layerCount() > 0 ? cursorText(*Map1, x, y)
                                                              : QString());
        });
}

bool frmMain::isClick(double x, double y) const {
    return std::abs(x - giX) < kClickTolerance && std::abs(y - giY) < kClickTolerance;
}

void frmMain::Map1_MouseUp(int button, int, double x, double y) {
    md_functions::reportingFailure(
        QStringLiteral(" Error in Map1_MouseUp event. Error Source:frmMain.Map1_MouseUp()"), [&] {
            if (!isClick(x, y) || currentTool != 1 || !cmdZoomIn->isEnabled()) return;
            // Centre on the spot the user clicked in the view they clicked on, then zoom about it.
            const engine::Point p = Map1->toMapPoint(x, y);
            engine::Rectangle r = Map1->extent();
            r.scaleRectangle(button == Qt::LeftButton ? 1.0 / zoomFactor : double(zoomFactor));
            const engine::Point c = r.center();
            r.offset(p.x - c.x, p.y - c.y);
            resultsDrawn = false;
            Map1->setExtent(r);
        });
}

void frmMain::Map1_BeforeLayerDraw(int) {
    md_functions::reportingFailure(QStringLiteral(" Error in BeforeMapLayerDraw function. Error "
                                                  "Source:frmMain.Map1_BeforeLayerDraw()"),
                                   [&] {
                                       if (!resultsDrawn) {
                                           if (hooks.drawQueryResults)
                                               hooks.drawQueryResults(*Map1);
                                           resultsDrawn = true;
                                       }
                                   });
}

void frmMain::Map1_BeforeTrackingLayerDraw() {
    md_functions::reportingFailure(
        QStringLiteral(" Error in BeforeTrackingLayerDraw function. Error "
                       "Source:frmMain.Map1_BeforeTrackingLayerDraw()"),
        [&] { UpdateInterface(); });
}

void frmMain::Map1_AfterTrackingLayerDraw() {
    md_functions::reportingFailure(
        QStringLiteral(" Error while trying to draw tracking layer. Error "
                       "Source:frmMain.Map1_AfterTrackingLayerDraw()"),
        [&] { resultsDrawn = false; });
}
