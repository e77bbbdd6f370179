// The seven queries on hand-made geometry with known areas, and the question before buffering
// a large line layer.
#include <QCheckBox>
#include <QLabel>

#include "tests/query/query_fixture.h"

namespace querytest {
namespace {

constexpr double kTolerance = 1e-6;  // km2

TEST_F(QueryTest, WindByPowerDensitySelectsTheRangeWithBothBoundsIncluded) {
    openDataset();
    choose("Wind by Power Density");
    setRange("550", "Max");
    updateMap();
    auto areas = classAreas();
    ASSERT_EQ(areas.size(), 3u);
    EXPECT_NEAR(areas[kPurple], 1.0, kTolerance);
    EXPECT_NEAR(areas[kRed], 1.0, kTolerance);
    EXPECT_NEAR(areas[kBlue], 1.0, kTolerance);
    EXPECT_EQ(study().result()->fieldName, "WINDPWRD");
    EXPECT_EQ(values(), (std::vector<double>{550, 650, 850}));
    EXPECT_FALSE(entries()[0].symbol.outline);
    EXPECT_EQ(form->lblWorking->text(), "Calculating... finished");
    EXPECT_FALSE(form->cmdShowData->isHidden());
    EXPECT_EQ(form->cmdUpdateMap->text(), "Update Map");

    // Results below 200 W/m2 take the light grey class.
    setRange("100", "160");
    updateMap();
    EXPECT_EQ(classAreas(), (std::map<int, double>{{kGrey, 1.0}}));

    // A range that finds nothing leaves the button hidden.
    setRange("900", "1000");
    updateMap();
    EXPECT_TRUE(entries().empty());
    EXPECT_TRUE(form->cmdShowData->isHidden());
}

TEST_F(QueryTest, ProtectedAreasAreRemovedFromTheWindCells) {
    openDataset();
    choose("Best wind - protected areas");
    updateMap();
    auto areas = classAreas();
    EXPECT_NEAR(areas[kPurple], 0.5, kTolerance);  // W0 half protected
    EXPECT_NEAR(areas[kRed], 1.0, kTolerance);     // W1 untouched
    EXPECT_EQ(form->lblWorking->text(), "Overlaying... finished");
}

TEST_F(QueryTest, LandUseClassNamesWithAnApostropheWork) {
    openDataset();
    choose("Best wind + land use");
    selectLandUse("FARMER'S LAND");
    updateMap();
    EXPECT_EQ(classAreas().size(), 1u);
    EXPECT_NEAR(classAreas()[kRed], 0.5, kTolerance);
    EXPECT_TRUE(dialogs->shown.isEmpty());

    // Both classes: W1 gives one piece per land-use polygon it overlaps.
    selectLandUse("FOREST");
    updateMap();
    EXPECT_NEAR(classAreas()[kPurple], 1.0, kTolerance);
    EXPECT_NEAR(classAreas()[kRed], 1.0, kTolerance);
    EXPECT_EQ(entries().size(), 3u);
}

TEST_F(QueryTest, RoadBufferCutsHalfOfEachCell) {
    openDataset();
    choose("Best wind + roads");
    form->txtQuery1[2]->setText("1");
    updateMap();
    auto areas = classAreas();
    EXPECT_NEAR(areas[kPurple], 0.5, kTolerance);
    EXPECT_NEAR(areas[kRed], 0.5, kTolerance);
    EXPECT_EQ(study().criteria().parameters.roadsKm, 1.0f);
    // The road layer stays shown; the others listed for the query are hidden.
    EXPECT_TRUE(form->Map1->layer(md_functions::LayerIndexByFile("43_roads.shp"))->visible);
}

TEST_F(QueryTest, TransmissionBufferHoldsOneWholeCell) {
    openDataset();
    choose("Best wind + transmission");
    form->txtQuery1[2]->setText("1");
    updateMap();
    EXPECT_EQ(classAreas().size(), 1u);
    EXPECT_NEAR(classAreas()[kPurple], 1.0, kTolerance);
    EXPECT_FALSE(form->Map1->layer(md_functions::LayerIndexByFile("43_roads.shp"))->visible);
}

TEST_F(QueryTest, AllCriteriaCombineCorridorLandUseAndProtectedAreas) {
    openDataset();
    choose("Best wind (all)");
    form->txtQuery1[1]->setText("1");
    form->txtQuery1[2]->setText("1");
    selectLandUse("FOREST");
    selectLandUse("FARMER'S LAND");
    // Corridor x 0..2 km, y 0.5..2.5 km; with forest and W0 that is x 0..1, y 0.5..1; the
    // protected area takes x 0..0.5 of it.
    updateMap();
    EXPECT_EQ(classAreas().size(), 1u);
    EXPECT_NEAR(classAreas()[kPurple], 0.25, kTolerance);
    EXPECT_EQ(form->lblWorking->text(), "Overlaying... finished");

    form->chkProtectedAreas->setChecked(false);
    updateMap();
    EXPECT_NEAR(classAreas()[kPurple], 0.5, kTolerance);
}

TEST_F(QueryTest, SolarThresholdUsesTheChosenLayerAndField) {
    openDataset();
    choose("Best Solar X kWh/m2/day");
    ASSERT_TRUE(query::chooseSolarResource(*form, kSolarGlobal10km));
    updateMap();
    EXPECT_EQ(study().result()->fieldName, "ANNGLO");
    EXPECT_EQ(study().criteria().parameters.solarResource, kSolarGlobal10km);
    EXPECT_EQ(values(), (std::vector<double>{3.6, 5.2}));
    EXPECT_EQ(classAreas(), (std::map<int, double>{{engine::rgb(237, 237, 166), 1.0},
                                                   {engine::rgb(252, 223, 0), 1.0}}));
}

TEST_F(QueryTest, LargeLineLayerAsksFirstAndNoEndsWithoutResults) {
    const QString dir = writeDataset();
    std::vector<engine::Shape> roads;
    for (int i = 0; i < 400; ++i) roads.push_back(line(-5, 1.5 + i * 0.001, 12, 1.5 + i * 0.001));
    writeLinesOf(dir, "43_roads", roads);
    open(dir);
    choose("Best wind + roads");
    form->txtQuery1[2]->setText("1");
    dialogs->answers << feedback::answerNo;
    updateMap();
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_EQ(dialogs->shown[0].text,
              "This query may take few minutes to complete. Do you want to proceed?");
    EXPECT_EQ(dialogs->shown[0].buttons, feedback::mbYesNo);
    EXPECT_TRUE(entries().empty());

    // Yes: 400 lines are merged in groups and batches to the same area.
    updateMap();
    EXPECT_NEAR(classAreas()[kPurple], 0.5, kTolerance);
    EXPECT_EQ(form->lblWorking->text(), "Overlaying... finished");
}

}  // namespace
}  // namespace querytest
