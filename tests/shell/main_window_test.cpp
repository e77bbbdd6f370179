// The main window: its load state, tools, zooming, enabling, redraw hooks, layout and shutdown.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

#include "feedback/error_report.h"
#include "shell/window_registry.h"
#include "tests/shell/main_window_fixture.h"

namespace {

constexpr double kTolerance = 1e-6;

TEST_F(MainWindowTest, LoadLeavesToolsDisabledAndThePanelControlsHidden) {
    EXPECT_EQ(frmMain::instance(), form.get());
    EXPECT_EQ(form->windowTitle(), "Pallix");
    EXPECT_TRUE(form->bMainFormLoaded);
    EXPECT_TRUE(form->bStartUpImageShown);
    EXPECT_EQ(form->currentTool, 1);
    EXPECT_TRUE(form->optPanZoom[1]->isChecked());

    // Without a dataset the Zorvel tool is off too: a click could do nothing yet.
    for (QWidget* w :
         {static_cast<QWidget*>(form->cmdZoomIn), static_cast<QWidget*>(form->cmdZoomOut),
          static_cast<QWidget*>(form->cboScale), static_cast<QWidget*>(form->cboSelectQuery),
          static_cast<QWidget*>(form->optPanZoom[0]), static_cast<QWidget*>(form->optPanZoom[2]),
          static_cast<QWidget*>(form->optPanZoom[3])})
        EXPECT_FALSE(w->isEnabled());
    EXPECT_FALSE(form->cmdOriginalMap->isVisible());
    EXPECT_EQ(form->cboScale->currentText(), "- No Map - ");
    EXPECT_EQ(form->lblLayersCurrentlyDisplayed->text(), "- No layers found -");

    EXPECT_TRUE(form->fraStartUpImage->isVisible());
    EXPECT_FALSE(form->fraEditLegend->isVisible());
    EXPECT_FALSE(form->lblWorking->isVisible());
    EXPECT_FALSE(form->cmdShowData->isVisible());
    EXPECT_EQ(form->cmdUpdateMap->text(), "Update Map");
    EXPECT_EQ(form->lblQuery1[5]->text(), "remove protected areas ");
    EXPECT_EQ(form->txtQuery1[1]->text(), "5");
    EXPECT_EQ(form->txtQuery1[2]->text(), "5");
    EXPECT_TRUE(form->chkProtectedAreas->isChecked());
    EXPECT_TRUE(form->cboQueryDropDown->isEditable());
    EXPECT_FALSE(form->cboQueryDropDown3->isEditable());
    EXPECT_EQ(form->lstQuery1->selectionMode(), QAbstractItemView::MultiSelection);
    for (QWidget* w :
         form->fraEditQueryParameters->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_FALSE(w->isVisibleTo(form->fraEditQueryParameters));
}

TEST_F(MainWindowTest, OpeningADatasetEnablesToolsAndShowsScaleAndSummary) {
    openDataset();
    EXPECT_TRUE(form->cmdZoomIn->isEnabled());
    EXPECT_TRUE(form->cboSelectQuery->isEnabled());
    EXPECT_TRUE(form->optPanZoom[0]->isEnabled());
    EXPECT_FALSE(form->cmdOriginalMap->isVisible());
    EXPECT_TRUE(form->cboScale->currentText().startsWith("Scale 1 : "));
    EXPECT_EQ(form->cboScale->count(), 1);
    EXPECT_EQ(form->lblLayersCurrentlyDisplayed->text(), "Cities; Roads; ");
}

TEST_F(MainWindowTest, ZoomButtonsHalveAndDoubleTheExtentAndOriginalMapReturns) {
    openDataset();
    const engine::Rectangle start = form->Map1->extent();

    form->cmdZoomIn->click();
    engine::Rectangle r = form->Map1->extent();
    EXPECT_NEAR(r.width(), start.width() / 2, kTolerance);
    EXPECT_NEAR(r.center().x, start.center().x, kTolerance);
    EXPECT_TRUE(form->cmdOriginalMap->isVisible());
    EXPECT_TRUE(form->cboScale->currentText().startsWith("Scale 1 : "));

    form->cmdOriginalMap->click();
    EXPECT_FALSE(form->cmdOriginalMap->isVisible());

    form->cmdZoomOut->click();
    EXPECT_NEAR(form->Map1->extent().width(), form->Map1->fullExtent().width() * 2,
                form->Map1->fullExtent().width() * 0.01 + kTolerance);
    // Beyond the full extent there is nothing to go back to.
    EXPECT_FALSE(form->cmdOriginalMap->isVisible());
}

TEST_F(MainWindowTest, ZoomToolClickZoomsAboutTheClickedSpot) {
    openDataset();
    engine::Map* map = form->Map1;
    const QPoint at(map->width() / 4, map->height() / 3);
    const engine::Point spot = map->toMapPoint(at.x(), at.y());
    const double width = map->extent().width();

    QTest::mouseClick(map, Qt::LeftButton, {}, at);
    EXPECT_EQ(form->giX, at.x());
    EXPECT_EQ(form->giY, at.y());
    EXPECT_NEAR(map->extent().width(), width / 2, width * 1e-9);
    EXPECT_NEAR(map->extent().center().x, spot.x, width * 1e-9);
    EXPECT_NEAR(map->extent().center().y, spot.y, width * 1e-9);

    QTest::mouseClick(map, Qt::RightButton, {}, at);
    EXPECT_NEAR(map->extent().width(), width, width * 1e-9);
}

TEST_F(MainWindowTest, ZoomToolDragZoomsToTheRectangleOnly) {
    openDataset();
    engine::Map* map = form->Map1;
    const QPoint a(40, 30), b(140, 90);
    const engine::Point pa = map->toMapPoint(a.x(), a.y()), pb = map->toMapPoint(b.x(), b.y());

    QTest::mousePress(map, Qt::LeftButton, {}, a);
    QTest::mouseMove(map, QPoint(90, 60));
    QTest::mouseMove(map, b);
    QTest::mouseRelease(map, Qt::LeftButton, {}, b);

    const engine::Rectangle r = map->extent();
    EXPECT_NEAR(r.center().x, (pa.x + pb.x) / 2, 1e-6 * r.width());
    EXPECT_NEAR(r.center().y, (pa.y + pb.y) / 2, 1e-6 * r.width());
    EXPECT_GE(r.width() + 1e-6, std::abs(pb.x - pa.x));
    EXPECT_GE(r.height() + 1e-6, std::abs(pb.y - pa.y));
    // Widened to the control's shape in one direction only.
    EXPECT_TRUE(std::abs(r.width() - std::abs(pb.x - pa.x)) < 1e-6 * r.width() ||
                std::abs(r.height() - std::abs(pb.y - pa.y)) < 1e-6 * r.width());
}

TEST_F(MainWindowTest, PanToolDragMovesTheView) {
    openDataset();
    form->optPanZoom[0]->click();
    EXPECT_EQ(form->currentTool, 0);
    engine::Map* map = form->Map1;
    const engine::Rectangle before = map->extent();
    const double perPixel = before.width() / map->width();
    QTest::mousePress(map, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(map, QPoint(130, 110));
    QTest::mouseRelease(map, Qt::LeftButton, {}, QPoint(130, 110));
    EXPECT_NEAR(map->extent().left(), before.left() - 30 * perPixel, perPixel * 0.01);
    EXPECT_NEAR(map->extent().width(), before.width(), perPixel * 0.01);
}

TEST_F(MainWindowTest, PressesDoNothingBeforeADatasetButStillRecordThePosition) {
    int infos = 0, zorvels = 0;
    form->hooks.showInfo = [&](frmMain&) { ++infos; };
    form->hooks.showZorvel = [&](frmMain&) { ++zorvels; };
    // The Zorvel tool cannot be chosen yet; even when it is the current tool, nothing opens.
    EXPECT_FALSE(form->optPanZoom[3]->isEnabled());
    form->optPanZoom_Click(3);
    QTest::mouseClick(form->Map1, Qt::LeftButton, {}, QPoint(33, 44));
    EXPECT_EQ(form->giX, 33);
    EXPECT_EQ(form->giY, 44);
    EXPECT_EQ(zorvels, 0);

    openDataset();
    form->optPanZoom[3]->click();
    // Outside every layer the Zorvel tool still opens its window.
    QTest::mouseClick(form->Map1, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(zorvels, 1);
    form->optPanZoom[2]->click();
    QTest::mouseClick(form->Map1, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(infos, 1);
}

TEST_F(MainWindowTest, PointerFollowsTheToolEvenWhileAQueryRuns) {
    openDataset();
    engine::Map* map = form->Map1;
    const int expected[4] = {engine::moPan, engine::moZoom, engine::moArrowQuestion,
                             engine::moArrow};
    for (int tool = 0; tool < 4; ++tool) {
        form->optPanZoom[tool]->click();
        QTest::mouseMove(map, QPoint(20 + tool, 20));
        EXPECT_EQ(map->mousePointer(), expected[tool]) << tool;
    }

    form->ControlEnable(false);
    EXPECT_EQ(map->mousePointer(), engine::moHourglass);
    EXPECT_EQ(form->cmdUpdateMap->text(), "Cancel");
    EXPECT_TRUE(form->lblWorking->isVisible());
    EXPECT_FALSE(form->cboSelectQuery->isEnabled());
    EXPECT_FALSE(form->cmdChangeLayers->isEnabled());
    QTest::mouseMove(map, QPoint(40, 40));
    EXPECT_EQ(map->mousePointer(), engine::moArrow);

    form->ControlEnable(true);
    EXPECT_EQ(map->mousePointer(), engine::moDefault);
    EXPECT_EQ(form->cmdUpdateMap->text(), "Update Map");
    EXPECT_FALSE(form->lblWorking->isVisible());
    EXPECT_TRUE(form->cboSelectQuery->isEnabled());
}

TEST_F(MainWindowTest, ResultsAreDrawnOncePerRedrawAndTheFlagIsClearedAfter) {
    int draws = 0;
    form->hooks.drawQueryResults = [&](engine::Map&) { ++draws; };
    openDataset();
    draws = 0;
    form->Map1->refresh();
    EXPECT_EQ(draws, 1);
    EXPECT_FALSE(resultsDrawn);
    form->cmdZoomIn->click();
    EXPECT_EQ(draws, 2);
}

TEST_F(MainWindowTest, TheMapIsTheLargestPartAndTakesTheRoomTheWindowGains) {
    openDataset();
    QCoreApplication::processEvents();
    const QRect map = form->Map1->geometry();
    const QWidget* column = form->cboSelectQuery->parentWidget();
    EXPECT_GT(map.width(), column->width());
    EXPECT_GT(form->lblMapNote->y(), map.bottom());

    form->resize(form->size() + QSize(100, 60));
    QCoreApplication::processEvents();
    EXPECT_EQ(form->Map1->size(), map.size() + QSize(100, 60));

    // Never smaller than its contents need.
    form->resize(60, 60);
    QCoreApplication::processEvents();
    EXPECT_GE(form->width(), form->minimumSizeHint().width());
    EXPECT_GE(form->Map1->width(), 320);
    EXPECT_GE(form->Map1->height(), 240);
}

TEST_F(MainWindowTest, StatusMessagesAreRedAndErrorReportsHaveOneOkAndTheWarningIcon) {
    md_functions::DisplayError("Please select a land use.");
    EXPECT_TRUE(form->lblWorking->isVisible());
    EXPECT_EQ(form->lblWorking->text(), "Please select a land use.");
    EXPECT_EQ(form->lblWorking->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_TRUE(dialogs->shown.isEmpty());

    md_functions::ErrorMessage(" Error while Zoom In. Error Source:frmMain.cmdZoomIn_Click()", 48);
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_EQ(dialogs->shown[0].text,
              " Error while Zoom In. Error Source:frmMain.cmdZoomIn_Click()");
    EXPECT_EQ(dialogs->shown[0].buttons, feedback::mbOKOnly);
    EXPECT_EQ(dialogs->shown[0].icon, feedback::iconWarning);
    EXPECT_EQ(dialogs->shown[0].title, "Pallix");
}

TEST_F(MainWindowTest, HelpShowsThePagesOrReportsAMissingFile) {
    form->helpFile = tmp.filePath("missing/index.html");
    form->mnuHelp->trigger();
    EXPECT_EQ(dialogs->texts(),
              QStringList{" Error while trying to open Help. Error Source:frmMain.mnuHelp_Click()\n"
                          "help file missing"});

    QFile page(tmp.filePath("index.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body><h1>Opening a dataset</h1></body></html>");
    page.close();
    form->helpFile = page.fileName();
    form->mnuHelp->trigger();
    auto* browser = form->findChild<QTextBrowser*>();
    ASSERT_TRUE(browser);
    EXPECT_TRUE(browser->window()->isVisible());
    EXPECT_TRUE(browser->toPlainText().contains("Opening a dataset"));
    EXPECT_EQ(dialogs->shown.size(), 1);
}

TEST_F(MainWindowTest, ClosingUnloadsRegisteredWindowsMostRecentFirst) {
    QStringList closed;
    struct Recorder : QObject {
        QStringList* log;
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Close) log->append(o->objectName());
            return false;
        }
    } recorder;
    recorder.log = &closed;
    QWidget first, second;
    first.setObjectName("first");
    second.setObjectName("second");
    for (QWidget* w : {&first, &second}) {
        w->installEventFilter(&recorder);
        w->show();
        shell::registerWindow(w);
    }
    form->mnuExit->trigger();
    EXPECT_EQ(closed, QStringList({"second", "first"}));
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(first.isVisible());
    EXPECT_EQ(shell::registeredWindowCount(), 0);
}

}  // namespace
