#pragma once
// The main window: the map with its tool strip (tools, zoom buttons) and scale box, the right-hand
// column with the query list, parameter panel and legend panel, and the menus. Each part is built
// in a file of its own: main_map_area, main_column, main_query_panel, main_legend_panel and
// main_menus. The subsystems that build on it (queries, point report, model link, printing)
// attach themselves through frmMainHooks and by connecting to its controls; the main window
// itself knows none of them.

#include <QMainWindow>
#include <QToolButton>  // whole: other subsystems and tests press the zoom buttons
#include <array>
#include <functional>
#include <utility>
#include <vector>

#include "mapview/legend.h"
#include "mapview/map.h"

class QAction;
class QCheckBox;
class QColor;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QSplitter;
class QToolBar;
class QWidget;

class frmMain;
class frmShowLayersDialog;

// What the subsystems above the main window plug into it.
struct frmMainHooks {
    std::function<void(frmMain&)> fillQueryList;           // load step 4 (FillcboSelectQuery)
    std::function<void(frmMain&)> selectFirstApplication;  // load step 9 (model window list)
    std::function<void(frmMain&)> resetResults;            // load step 12 (result field name)
    std::function<void(engine::Map&)> drawQueryResults;    // at the first layer-draw of a redraw
    std::function<void(frmMain&)> showInfo;                // Info tool press
    std::function<void(frmMain&)> showZorvel;              // Zorvel tool press
    std::function<void(frmMain&)> saveResult;              // File > Save Result
    std::function<void(frmMain&)> print;                   // File > Print
    std::function<bool()> hasResult;                       // whether Save Result has areas to save
};

class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The main window now loaded, or null.
    static frmMain* instance();

    frmMainHooks hooks;

    // The load sequence; run once, after the subsystems have attached.
    void Form_Load();

    // Window state.
    int currentTool = 1;  // 0 Pan, 1 Zoom, 2 Info, 3 Zorvel
    int zoomFactor = 2;
    int giX = 0, giY = 0;  // last mouse press on the map, control pixels
    bool bMainFormLoaded = false;
    bool bStartUpImageShown = true;

    // Procedures other windows call.
    void UpdateInterface();
    void EnablePanZoomControls(bool bEnable);
    void FillScaleComboBox();
    void ControlEnable(bool enabled);
    void Fill_lblLayersCurrentlyDisplayed();
    void EditOrLegend(int index);
    // Enables the Zorvel tool, Update Map, Print and Save Result when they can run, and tells
    // in their tooltips why not when they cannot.
    void UpdateCommandAvailability();
    void showLegendBeforeFirstQuery();

    // Map and legend.
    QSplitter* splitter = nullptr;  // the map area on the left, the column on the right
    QGroupBox* fraMapHolder = nullptr;
    engine::Map* Map1 = nullptr;
    QLabel* lblMapNote = nullptr;
    QGroupBox* fraLegend = nullptr;
    engine::Legend* legend = nullptr;

    // Tools and zoom.
    QToolBar* Toolbar1 = nullptr;
    std::array<QRadioButton*, 4> optPanZoom{};  // "Pan", "Zoom", "Info", "Zorvel"
    QToolButton* cmdZoomIn = nullptr;           // "+"
    QToolButton* cmdZoomOut = nullptr;          // "-"
    QToolButton* cmdOriginalMap = nullptr;      // "Back to Original Map"
    QComboBox* cboScale = nullptr;
    QLabel* lblCursorPosition = nullptr;  // the map coordinates under the cursor

    // Query list and panel.
    QLabel* lblSelectQuery = nullptr;  // "Select Query:"
    QComboBox* cboSelectQuery = nullptr;
    QWidget* fraStartUpImage = nullptr;
    QWidget* fraEditLegend = nullptr;
    std::array<QRadioButton*, 2> optEditLegend{};  // "Edit Map", "Show Map legend"
    QGroupBox* fraEdit = nullptr;                  // holds the parameter panel
    QGroupBox* fraEditQueryParameters = nullptr;   // the parameter panel, captioned by query
    QGridLayout* panelGrid = nullptr;              // arranges the panel's controls per query
    std::array<QLabel*, 6> lblQuery1{};
    std::array<QLineEdit*, 3> txtQuery1{};  // elements 1 and 2 are used
    QComboBox* cboQueryDropDown = nullptr;
    QComboBox* cboQueryDropDown2 = nullptr;
    QComboBox* cboQueryDropDown3 = nullptr;
    QListWidget* lstQuery1 = nullptr;
    QCheckBox* chkProtectedAreas = nullptr;
    QPushButton* cmdChangeLayers = nullptr;  // "Change Layers..."
    QPushButton* cmdShowData = nullptr;      // "Results Table"
    QPushButton* cmdUpdateMap = nullptr;     // "Update Map" / "Cancel"
    QLabel* lblWorking = nullptr;            // status: progress in blue, input problems in red
    QLabel* lblLayersCaption = nullptr;      // "Layers currently displayed"
    QLabel* lblLayersCurrentlyDisplayed = nullptr;

    // Menus. Other subsystems may add their entries to mnuFile.
    QMenu* mnuFile = nullptr;
    QAction* mnuOpen = nullptr;   // "Open Dataset...", Ctrl+O
    QAction* mnuSave = nullptr;   // "Save Result...", Ctrl+S
    QAction* mnuPrint = nullptr;  // "Print...", Ctrl+P
    QAction* mnuExit = nullptr;   // "Exit"
    QMenu* mnuHelpMenu = nullptr;
    QAction* mnuHelp = nullptr;   // "Pallix Help", F1
    QAction* mnuAbout = nullptr;  // "About Pallix..."

    // The status label's text colour (red for input problems, blue for progress).
    void setWorkingColor(const QColor& color);
    // Clears the red message about a query input once the user edits an input.
    void clearInputProblem();

    // The help page shown by Help; set by the load to the one next to the program.
    QString helpFile;

    // The layer dialog, loaded on first use (the splash loads it at start-up). The main window
    // owns it; setLayerDialog hands over one made elsewhere.
    frmShowLayersDialog* layerDialog();
    void setLayerDialog(frmShowLayersDialog* dialog);

    // Handlers.
    void mnuOpen_Click();
    void mnuHelp_Click();
    void mnuAbout_Click();
    void cmdZoomIn_Click();
    void cmdZoomOut_Click();
    void cmdOriginalMap_Click();
    void cmdChangeLayers_Click();
    void optPanZoom_Click(int index);
    void optEditLegend_Click(int index);
    void legend_AfterSetLayerVisible();
    void Map1_MouseDown(int button, int shift, double x, double y);
    void Map1_MouseMove(int button, int shift, double x, double y);
    void Map1_MouseUp(int button, int shift, double x, double y);
    void Map1_BeforeLayerDraw(int index);
    void Map1_BeforeTrackingLayerDraw();
    void Map1_AfterTrackingLayerDraw();

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    // main_map_area.cpp
    void createToolStrip();
    QWidget* createMapArea();
    void connectMap();
    void zoomBy(double factor);
    bool isClick(double x, double y) const;
    // main_column.cpp
    QWidget* createColumn();
    // main_query_panel.cpp
    QWidget* createQueryPanel(QWidget* parent);
    // main_legend_panel.cpp
    QWidget* createEditLegend(QWidget* column);
    // main_menus.cpp
    void createMenus();
    // frmMain.cpp
    void orderTabs();
    void Form_Unload();

    // Marks a control as one that needs a dataset; tip is its tooltip once one is open.
    void needsDataset(QWidget* control, const QString& tip);

    QAction* originalMapAction_ = nullptr;  // shows or hides "Back to Original Map" in the strip
    std::vector<std::pair<QWidget*, QString>> needDataset_;
    frmShowLayersDialog* layerDialog_ = nullptr;
    QWidget* helpViewer_ = nullptr;
};

// Whether the query results were drawn during the current map redraw (program-wide).
extern bool resultsDrawn;
