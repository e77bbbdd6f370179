// The "Change Layers" dialog, the summary line and the legend panel.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "shell/frmShowLayersDialog.h"
#include "tests/shell/main_window_fixture.h"

namespace {

TEST_F(MainWindowTest, LayerDialogShowsOneBoxPerLayerAndAppliesOnlyOnUpdateMap) {
    openDataset();
    form->cmdChangeLayers->click();
    frmShowLayersDialog* dialog = form->layerDialog();
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(dialog->windowTitle(), "Change Layers");
    ASSERT_EQ(dialog->chkShowLayers.size(), 28u);
    for (int i = 0; i < 28; ++i) EXPECT_EQ(dialog->chkShowLayers[i]->isVisible(), i < 3) << i;
    EXPECT_EQ(dialog->chkShowLayers[0]->text(), "Cities");
    EXPECT_EQ(dialog->chkShowLayers[1]->text(), "Roads");
    EXPECT_EQ(dialog->chkShowLayers[2]->text(), "Wind Power Density (W/m2)");
    EXPECT_TRUE(dialog->chkShowLayers[1]->isChecked());
    EXPECT_FALSE(dialog->chkShowLayers[2]->isChecked());

    dialog->chkShowLayers[1]->setChecked(false);
    dialog->CancelButton->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(form->Map1->layer(1)->visible);

    int draws = 0;
    form->hooks.drawQueryResults = [&](engine::Map&) { ++draws; };
    form->cmdChangeLayers->click();
    EXPECT_TRUE(dialog->chkShowLayers[1]->isChecked());  // refilled from the map
    dialog->chkShowLayers[1]->setChecked(false);
    dialog->chkShowLayers[2]->setChecked(true);
    dialog->OKButton->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(form->Map1->layer(1)->visible);
    EXPECT_TRUE(form->Map1->layer(2)->visible);
    EXPECT_EQ(draws, 1);
    EXPECT_EQ(form->lblLayersCurrentlyDisplayed->text(), "Cities; Wind Power Density (W/m2); ");
}

TEST_F(MainWindowTest, EscapeClosesTheLayerDialogLikeCancel) {
    openDataset();
    form->cmdChangeLayers->click();
    frmShowLayersDialog* dialog = form->layerDialog();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    dialog->chkShowLayers[1]->setChecked(false);
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(form->Map1->layer(1)->visible);
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

TEST_F(MainWindowTest, SummaryLineListsVisibleLayersFromTheTop) {
    openDataset();
    form->Map1->layer(0)->name = "Roads";
    form->Map1->layer(1)->name = "Cities";
    form->Map1->layer(1)->visible = true;
    form->Fill_lblLayersCurrentlyDisplayed();
    EXPECT_EQ(form->lblLayersCurrentlyDisplayed->text(), "Roads; Cities; ");
    for (int i = 0; i < form->Map1->layerCount(); ++i) form->Map1->layer(i)->visible = false;
    form->Fill_lblLayersCurrentlyDisplayed();
    EXPECT_EQ(form->lblLayersCurrentlyDisplayed->text(), "");
}

TEST_F(MainWindowTest, PanelSwitchIsIgnoredUntilAQueryReplacesTheStartUpPicture) {
    openDataset();
    // Before the first query the legend takes the start-up picture's place; the switch waits.
    EXPECT_FALSE(form->fraStartUpImage->isVisible());
    EXPECT_TRUE(form->fraLegend->isVisible());
    EXPECT_EQ(form->legend->entryCount(), 3);
    EXPECT_FALSE(form->optEditLegend[0]->isEnabled());
    form->optEditLegend_Click(0);
    EXPECT_FALSE(form->fraEdit->isVisibleTo(form->fraEditLegend));
    EXPECT_TRUE(form->fraLegend->isVisibleTo(form->fraEditLegend));

    // What the query list does on the first real query.
    form->bStartUpImageShown = false;
    form->fraStartUpImage->hide();
    form->fraEditLegend->show();
    form->UpdateInterface();
    ASSERT_TRUE(form->optEditLegend[1]->isEnabled());
    form->optEditLegend[0]->click();
    form->optEditLegend[1]->click();
    EXPECT_FALSE(form->fraEdit->isVisible());
    EXPECT_TRUE(form->fraLegend->isVisible());
    form->optEditLegend[0]->click();
    EXPECT_TRUE(form->fraEdit->isVisible());
    EXPECT_FALSE(form->fraLegend->isVisible());
}

TEST_F(MainWindowTest, SwitchingALayerInTheLegendRedrawsWithResults) {
    openDataset();
    int draws = 0;
    form->hooks.drawQueryResults = [&](engine::Map&) { ++draws; };
    resultsDrawn = true;  // as if the flag had been left set
    EXPECT_EQ(form->legend->entryCount(), 3);
    form->legend->setLayerVisibleFromUser(2, true);
    EXPECT_TRUE(form->Map1->layer(2)->visible);
    EXPECT_EQ(draws, 1);
    EXPECT_FALSE(resultsDrawn);
    EXPECT_EQ(form->lblLayersCurrentlyDisplayed->text(),
              "Cities; Roads; Wind Power Density (W/m2); ");
}

}  // namespace
