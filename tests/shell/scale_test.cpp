// The scale text for maps in degrees, metres and feet.
#include "shell/scale.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "engine/map.h"
#include "shell/dialog_service.h"
#include "shell/twips.h"
#include "tests/dataset/test_shapefiles.h"

using md_functions::CalculateScale;

namespace {

class ScaleText : public ::testing::Test {
  protected:
    // A map whose only layer has the given coordinate system (or none), w x h twips on screen.
    void makeMap(const std::optional<engine::CoordinateSystem>& crs, int widthTwips,
                 int heightTwips) {
        const QString dir = tmp.filePath(QString::number(++made));
        testdata::writeSquares(
            dir, "layer", 1, "VALUE", [](int) { return 1.0; }, crs);
        engine::DataConnection connection;
        connection.setDatabase(dir + "/");
        ASSERT_TRUE(connection.connect());
        map.clearLayers();
        map.addLayer(std::make_shared<engine::MapLayer>(connection.findGeoDataset("layer.shp")));
        map.resize(shell::twipsToPixels(widthTwips), shell::twipsToPixels(heightTwips));
        ASSERT_NEAR(map.widthInTwips(), widthTwips, 1e-9);
    }

    QTemporaryDir tmp;
    shell::ScopedScriptedDialogs dialogs;
    engine::Map map;
    int made = 0;
};

TEST_F(ScaleText, OneDegreeAtTheEquatorAcrossOneInch) {
    makeMap(testdata::degreesCrs(), 1440, 1440);
    map.setExtent(engine::Rectangle(0, -0.5, 1, 0.5));
    EXPECT_EQ(CalculateScale(map), "Scale 1 : 4,382,860");
    EXPECT_NEAR(md_functions::DegreesToMiles(map, 0, 0, 1, 0), 69.17, 0.01);
    EXPECT_EQ(md_functions::DegreesToMiles(map, 3, 4, 3, 4), 0);
}

TEST_F(ScaleText, HundredKilometresAcrossFiveInches) {
    makeMap(testdata::metresCrs(), 7200, 3600);
    map.setExtent(engine::Rectangle(500000, 0, 600000, 50000));
    EXPECT_EQ(CalculateScale(map), "Scale 1 : 787,400");
}

TEST_F(ScaleText, FeetGiveZeroAndMissingUnitsOrLayersSaySo) {
    makeMap(testdata::feetCrs(), 7200, 3600);
    map.setExtent(engine::Rectangle(500000, 0, 600000, 50000));
    EXPECT_EQ(CalculateScale(map), "Scale 1 : 0");

    makeMap(std::nullopt, 7200, 3600);
    EXPECT_EQ(CalculateScale(map), "- No Units - ");

    map.clearLayers();
    EXPECT_EQ(CalculateScale(map), "- No Map - ");
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

}  // namespace
