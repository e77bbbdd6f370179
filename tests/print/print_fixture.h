#pragma once
// A main window with the queries and the print window attached, and a small region of real shapefiles.

#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "dataset/dataset_loading.h"
#include "shell/dataset_opening.h"
#include "print/attach.h"
#include "print/frmPrint.h"
#include "query/attach.h"
#include "feedback/dialog_service.h"
#include "shell/frmMain.h"
#include "tests/info/layer_files.h"

namespace testdata {

// A 3 km x 2 km region: elevation, land use, two solar grids, wind in six cells, a second wind
// file, the country, two roads and a city.
inline void writeRegion(const QString& dir) {
    writeLayer(dir, "01_elevation.shp", engine::moShapeTypePolygon, {whole("Elev_m")},
               {{square(0, 0, 1000), {150}}, {square(1000, 0, 1000), {450}},
                {square(2000, 0, 1000), {1300}}, {square(0, 1000, 1000), {250}},
                {square(1000, 1000, 1000), {900}}, {square(2000, 1000, 1000), {2100}}});
    writeLayer(dir, "02_landuse.shp", engine::moShapeTypePolygon, {text("LAND_USE")},
               {{square(0, 0, 3000), {"GRASSLAND"}}});
    writeLayer(dir, "11_solar_direct.shp", engine::moShapeTypePolygon, {real("ANNDIR")},
               {{square(0, 0, 3000), {5.7}}});
    writeLayer(dir, "14_solar_glo.shp", engine::moShapeTypePolygon,
               {real("LAT"), real("LON"), real("ANNGLO")}, {{square(0, 0, 3000), {10.5, 20.5, 5.2}}});
    std::vector<Record> cells;
    const double power[] = {150, 250, 350, 450, 550, 850};
    for (int k = 0; k < 6; ++k)
        cells.push_back({square(1000 * (k % 3), 1000 * (k / 3), 1000), {k + 1, power[k]}});
    writeLayer(dir, "20_wind.shp", engine::moShapeTypePolygon,
               {whole("WINDCLASS"), real("WINDPWRD")}, cells);
    writeLayer(dir, "21_wind.shp", engine::moShapeTypePolygon, {real("WINDPWRD")},
               {{square(0, 0, 1000), {300}}});
    writeLayer(dir, "39_countryboundary.shp", engine::moShapeTypePolygon, {text("NAME")},
               {{square(-100, -100, 3200), {"Country"}}});
    writeLayer(dir, "43_roads.shp", engine::moShapeTypeLine, {text("NAME")},
               {{engine::Shape::lineString({{0, 500}, {3000, 1500}}), {"Ring Road"}},
                {engine::Shape::lineString({{1500, 0}, {1500, 2000}}), {"North Road"}}});
    writeLayer(dir, "59_cities.shp", engine::moShapeTypePoint, {text("NAME"), whole("POP")},
               {{engine::Shape::point(1500, 1000), {"Midtown", 120000}}});
}

}  // namespace testdata

class PrintFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    feedback::ScopedScriptedDialogs dialogs;
    std::unique_ptr<frmMain> main;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        newMainWindow();
    }

    void newMainWindow() {
        main.reset();
        main = std::make_unique<frmMain>();
        query::attach(*main);
        print::attach(*main);
        main->Form_Load();
        main->resize(1000, 700);
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    }

    void openDirectory(const QString& path) {
        const QString first = QDir(path).entryList({"*.shp"}, QDir::Files, QDir::Name).first();
        md_functions::LoadProject(first, QDir(path).filePath(first), *main->Map1, *main->legend);
        ASSERT_GT(main->Map1->layerCount(), 0);
    }
    void open() { openDirectory(dir.path()); }

    // File > Print, as the user chooses it.
    frmPrint* openPrintWindow() {
        main->mnuPrint->trigger();
        frmPrint* window = main->findChild<frmPrint*>();
        if (window) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        }
        return window;
    }
};
