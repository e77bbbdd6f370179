#pragma once
// A freshly loaded main window, shown offscreen, with scripted dialogs and a dataset directory
// the test can fill.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "dataset/dataset_loading.h"
#include "shell/dataset_opening.h"
#include "feedback/dialog_service.h"
#include "shell/frmMain.h"
#include "tests/dataset/test_shapefiles.h"

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        form = std::make_unique<frmMain>();
        form->Form_Load();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    // A 20 x 5 km grid of wind cells, 49 roads and two cities; opens it.
    void openDataset() {
        const QString dir = tmp.filePath("data");
        testdata::writeSquares(dir, "20_wind", 100, "WINDPWRD",
                               [](int i) { return 150.0 + 8 * i; });
        testdata::writeLines(dir, "43_roads", 5);
        testdata::writeSquares(dir, "59_cities", 2);
        md_functions::LoadProject("20_wind.shp", dir + "/20_wind.shp", *form->Map1, *form->legend);
        ASSERT_EQ(form->Map1->layerCount(), 3);
    }

    QTemporaryDir tmp;
    feedback::ScopedScriptedDialogs dialogs;
    std::unique_ptr<frmMain> form;
};
