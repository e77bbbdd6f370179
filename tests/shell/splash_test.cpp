// Start-up: the version, the layer-dialog check that ends the program, and dismissal.
#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QTest>

#include "shell/artwork.h"
#include "feedback/dialog_service.h"
#include "shell/frmShowLayersDialog.h"
#include "shell/frmSplash.h"

namespace {

class StartUp : public ::testing::Test {
  protected:
    std::unique_ptr<frmSplash> makeSplash(int checkBoxes) {
        auto splash = std::make_unique<frmSplash>(
            [this] {
                ++mainWindowsLoaded;
                auto form = std::make_unique<frmMain>();
                form->Form_Load();
                return form;
            },
            [this] { ++programEnds; },
            [checkBoxes] { return new frmShowLayersDialog(checkBoxes); });
        splash->show();
        splash->Form_Load();
        return splash;
    }

    feedback::ScopedScriptedDialogs dialogs;
    int mainWindowsLoaded = 0;
    int programEnds = 0;
};

TEST_F(StartUp, TooFewLayerCheckBoxesEndTheProgramBeforeTheMainWindowShows) {
    auto splash = makeSplash(27);
    EXPECT_EQ(programEnds, 1);
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_EQ(dialogs->shown[0].text,
              "Warning: MAX_LAYERS changed but frmShowLayersDialog.chkShowLayers not updated.  "
              "Ending program.");
    EXPECT_EQ(dialogs->shown[0].icon, feedback::iconNone);
    QTest::mouseClick(splash->fraSplash, Qt::LeftButton);
    ASSERT_TRUE(splash->mainWindow());
    EXPECT_FALSE(splash->mainWindow()->isVisible());
}

TEST_F(StartUp, FullLayerDialogLoadsHiddenAndAClickShowsTheMainWindow) {
    auto splash = makeSplash(28);
    EXPECT_EQ(programEnds, 0);
    EXPECT_TRUE(dialogs->shown.isEmpty());
    EXPECT_EQ(splash->lblVersion->text(), "v 1.3.0");
    EXPECT_EQ(mainWindowsLoaded, 1);
    frmMain* form = splash->mainWindow();
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->bMainFormLoaded);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->layerDialog()->chkShowLayers.size(), 28u);
    EXPECT_FALSE(form->layerDialog()->isVisible());

    QTest::mouseClick(splash->imgSplash, Qt::LeftButton);
    EXPECT_FALSE(splash->isVisible());
    EXPECT_TRUE(form->isVisible());
}

TEST_F(StartUp, AnyKeyOrAClickOnTheFrameDismissesTheSplash) {
    auto byKey = makeSplash(29);
    QTest::keyClick(byKey.get(), Qt::Key_Space);
    EXPECT_FALSE(byKey->isVisible());
    EXPECT_TRUE(byKey->mainWindow()->isVisible());

    auto byFrame = makeSplash(28);
    QTest::mouseClick(byFrame->lblVersion, Qt::LeftButton);
    EXPECT_FALSE(byFrame->isVisible());
    EXPECT_TRUE(byFrame->mainWindow()->isVisible());

    // The splash says how to go on, and the words themselves take a click.
    auto byHint = makeSplash(28);
    EXPECT_EQ(byHint->lblContinue->text(), "Click or press any key to continue");
    EXPECT_TRUE(byHint->lblContinue->isVisible());
    QTest::mouseClick(byHint->lblContinue, Qt::LeftButton);
    EXPECT_FALSE(byHint->isVisible());
}

TEST_F(StartUp, AFailingLoadIsReportedAndTheSplashCanStillBeDismissed) {
    frmSplash splash([]() -> std::unique_ptr<frmMain> { throw std::runtime_error("broken"); },
                     [this] { ++programEnds; });
    splash.show();
    splash.Form_Load();
    EXPECT_EQ(
        dialogs->texts(),
        QStringList{
            " Error while loading splash screen. Error Source:frmSplash.Form_Load()\nbroken"});
    EXPECT_EQ(dialogs->shown[0].icon, feedback::iconWarning);
    EXPECT_EQ(programEnds, 0);
    QTest::keyClick(&splash, Qt::Key_Escape);
    EXPECT_FALSE(splash.isVisible());
}

}  // namespace
