// The scale text for maps in degrees, metres and feet.
#include "shell/scale.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>

#include "mapview/map.h"
#include "feedback/dialog_service.h"
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
        const auto pixels = [&](int twips) {
            return int(std::lround(twips * map.logicalDpiX() / 1440.0));
        };
        map.resize(pixels(widthTwips), pixels(heightTwips));
        ASSERT_NEAR(map.widthInTwips(), widthTwips, 1e-9);
    }

    QTemporaryDir tmp;
    feedback::ScopedScriptedDialogs dialogs;
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

// The two edges of a world view are nearer each other the short way round the globe; the scale
// measures the width the view spans.
TEST_F(ScaleText, ViewsWiderThanHalfTheGlobeMeasureTheWayTheySpan) {
    makeMap(testdata::degreesCrs(), 14400, 7200);
    map.setExtent(engine::Rectangle(-180, -90, 180, 90));
    // The equator, 2 pi a long, across ten inches.
    EXPECT_EQ(CalculateScale(map), "Scale 1 : 157,782,971");

    // Either side of half the globe the scale grows with the width, without a jump.
    const auto scaleOf = [this](double width) {
        map.setExtent(engine::Rectangle(-width / 2, -width / 4, width / 2, width / 4));
        return CalculateScale(map).remove("Scale 1 : ").remove(',').toDouble();
    };
    const double half = scaleOf(180), wider = scaleOf(180.2), widest = scaleOf(270);
    EXPECT_NEAR(half, 157782971 / 2.0, 2);
    EXPECT_NEAR(wider / half, 180.2 / 180, 1e-6);
    EXPECT_NEAR(widest / half, 1.5, 1e-6);
    EXPECT_TRUE(dialogs->shown.isEmpty());
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
