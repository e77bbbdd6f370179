// The look each known layer gets from its file name.
#include "dataset/symbology.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "dataset/catalogue.h"
#include "dataset/land_use_colours.h"
#include "feedback/dialog_service.h"
#include "tests/dataset/test_shapefiles.h"

using namespace md_functions;
using engine::rgb;

namespace {

std::shared_ptr<engine::ClassBreaksRenderer> classBreaks(const engine::MapLayer& layer) {
    return std::dynamic_pointer_cast<engine::ClassBreaksRenderer>(layer.renderer);
}

engine::MapLayer styled(const QString& file, const QString& solarName = {}) {
    engine::MapLayer layer;
    SetLayerProperties(layer, file, solarName);
    return layer;
}

TEST(Symbology, WindClassesColoursAndBreakValues) {
    feedback::ScopedScriptedDialogs dialogs;
    const engine::MapLayer layer = styled("20_wind.shp");
    auto r = classBreaks(layer);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->field, "WINDPWRD");
    ASSERT_EQ(r->breakCount(), 6);
    const double breaks[] = {200, 300, 400, 500, 600, 800};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(r->breakValue(i), breaks[i]);
    EXPECT_EQ(r->symbol(0).color, rgb(255, 255, 255));
    EXPECT_EQ(r->symbol(3).color, rgb(255, 110, 180));
    EXPECT_EQ(r->symbol(6).color, rgb(0, 0, 255));
    EXPECT_EQ(r->classOf(199.9), 0);
    EXPECT_EQ(r->classOf(200), 1);
    EXPECT_EQ(r->classOf(800), 6);
    for (int i = 0; i <= 6; ++i) EXPECT_FALSE(r->symbol(i).outline);
    EXPECT_FALSE(layer.symbol.outline);
    EXPECT_EQ(layer.name, "Wind Power Density (W/m2)");
    EXPECT_TRUE(layer.visible);
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

TEST(Symbology, SolarBreaksPutWholeNumbersInTheClassAboveAndHideTheLayer) {
    const engine::MapLayer layer = styled("14_solar_glo.shp");
    auto r = classBreaks(layer);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->field, "ANNGLO");
    ASSERT_EQ(r->breakCount(), 15);
    EXPECT_EQ(r->classOf(1.99), 0);
    EXPECT_EQ(r->classOf(2.0), 1);
    EXPECT_EQ(r->classOf(7.0), 11);
    EXPECT_EQ(r->classOf(9.0), 15);
    EXPECT_EQ(r->symbol(15).color, rgb(71, 0, 0));
    EXPECT_EQ(r->symbol(6).color, rgb(255, 255, 0));
    // Rounded to one decimal, the breaks read 2, 2.5, ... 9.
    EXPECT_DOUBLE_EQ(std::round(r->breakValue(14) * 10) / 10, 9.0);
    EXPECT_FALSE(layer.visible);
    EXPECT_EQ(layer.name, "10 km Solar Global Horizontal Annual Average(KWH/M2/DAY)");
}

TEST(Symbology, SolarDisplayNamesAndTheSharedPrefix15) {
    EXPECT_EQ(styled("13_solar_direct.shp").name,
              "10 KM Solar Concentrators Annual Average(KWH/M2/DAY)");
    EXPECT_EQ(styled("16_solar_tilt.shp").name, "10 km Solar PV Annual Average(KWH/M2/DAY)");
    EXPECT_EQ(styled("18_solar_tilt.shp").name, "40 km Solar PV Annual Average(KWH/M2/DAY)");
    EXPECT_EQ(classBreaks(styled("15_solar_direct.shp"))->field, "ANNDIR");
    EXPECT_EQ(classBreaks(styled("15_solar_glo.shp"))->field, "ANNGLO");
    EXPECT_EQ(styled("15_solar_glo.shp").name,
              "40 km Solar Global Horizontal Annual Average(KWH/M2/DAY)");

    const QString printed = "ANNUAL AVERAGE SOLAR RESOURCES (KWH/M2/DAY)";
    EXPECT_EQ(styled("11_solar_direct.shp", printed).name, printed);
    EXPECT_EQ(styled("43_roads.shp", printed).name, "Roads");
}

TEST(Symbology, ElevationAndHydroClasses) {
    const engine::MapLayer elevation = styled("01_elevation.shp");
    auto e = classBreaks(elevation);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->breakCount(), 13);
    EXPECT_EQ(e->classOf(2499), 11);
    EXPECT_EQ(e->classOf(2500), 12);
    EXPECT_EQ(e->symbol(13).color, rgb(255, 255, 255));
    EXPECT_EQ(e->symbol(0).color, rgb(38, 115, 0));
    EXPECT_TRUE(elevation.visible);

    const engine::MapLayer hydro = styled("25_hydro.shp");
    auto h = classBreaks(hydro);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->symbolType, 0);
    EXPECT_EQ(h->breakCount(), 5);
    EXPECT_EQ(h->classOf(0.5), 0);
    EXPECT_EQ(h->classOf(1000), 5);
    EXPECT_EQ(h->symbol(2).color, rgb(255, 255, 0));
    EXPECT_EQ(hydro.name, "Hydro Resource (kW)");
}

TEST(Symbology, SingleSymbolLayersAndStateLabels) {
    const engine::MapLayer protectedAreas = styled("31_protectedarea.shp");
    EXPECT_EQ(protectedAreas.symbol.color, rgb(0, 128, 0));
    EXPECT_EQ(protectedAreas.symbol.style, 4);
    EXPECT_TRUE(protectedAreas.symbol.outline);
    EXPECT_EQ(protectedAreas.symbol.outlineColor, rgb(0, 128, 0));

    const engine::MapLayer lakes = styled("30_lakes.shp");
    EXPECT_EQ(lakes.symbol.color, rgb(127, 199, 242));
    EXPECT_FALSE(lakes.symbol.outline);

    const engine::MapLayer country = styled("39_countryboundary.shp");
    EXPECT_EQ(country.symbol.style, 1);
    EXPECT_DOUBLE_EQ(country.symbol.size, 1.5);

    const engine::MapLayer roads = styled("43_roads.shp");
    EXPECT_EQ(roads.symbol.color, rgb(255, 0, 0));
    EXPECT_DOUBLE_EQ(roads.symbol.size, 2);

    const engine::MapLayer states = styled("38_subcountrybnd1.shp");
    EXPECT_EQ(states.name, "State Boundaries");
    EXPECT_EQ(states.symbol.style, 1);
    EXPECT_EQ(states.symbol.outlineColor, rgb(0, 0, 0));
    auto labels = std::dynamic_pointer_cast<engine::LabelRenderer>(states.renderer);
    ASSERT_TRUE(labels);
    EXPECT_EQ(labels->field, "NAME");
    EXPECT_TRUE(labels->allowDuplicates);
    EXPECT_TRUE(labels->symbol(0).font.bold());
    EXPECT_EQ(labels->symbol(0).font.pointSize(), 12);

    EXPECT_EQ(styled("59_cities.shp").symbol.style, 0);
    EXPECT_EQ(styled("53_airports.shp").symbol.color, rgb(255, 128, 0));
}

TEST(Symbology, UnknownNamesAndOtherCasesLeaveTheLayerAlone) {
    for (const QString& file :
         {QString("20_WIND.SHP"), QString("21_wind.shp"), QString("my.shp")}) {
        engine::MapLayer layer;
        layer.name = "as added";
        SetLayerProperties(layer, file, {});
        EXPECT_EQ(layer.name, "as added") << file.toStdString();
        EXPECT_EQ(layer.renderer, nullptr);
        EXPECT_TRUE(layer.visible);
    }
}

TEST(Symbology, LandUseValuesKeepTheirTextAndTakeColoursByTrimmedUpperCaseKey) {
    QTemporaryDir tmp;
    // Blanks around a text do not survive the table format; the trimming is checked on
    // LandUseColor below.
    const QStringList texts = {"forest", "GRASSLAND",    "snowfield", "forest",
                               "",       "Water Bodies", "Forest"};
    testdata::writeShapefile(
        tmp.path(), "02_landuse", engine::moShapeTypePolygon,
        {{"LAND_USE", engine::moString, 60, 0}}, int(texts.size()),
        [](int i) { return testdata::square(i * 1000.0, 0, 1000); },
        [&](int i) { return std::vector<QVariant>{texts[i]}; });
    engine::DataConnection connection;
    connection.setDatabase(tmp.path() + "/");
    ASSERT_TRUE(connection.connect());
    engine::MapLayer layer(connection.findGeoDataset("02_landuse.shp"));
    ASSERT_TRUE(layer.geoDataset());

    SetLayerProperties(layer, "02_landuse.shp", {});
    auto r = std::dynamic_pointer_cast<engine::ValueMapRenderer>(layer.renderer);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->field, "LAND_USE");
    ASSERT_EQ(r->valueCount(), 6);  // each text once, in its own case
    ASSERT_EQ(r->value(0), "forest");
    EXPECT_EQ(r->symbol(0).color, rgb(26, 129, 78));
    EXPECT_EQ(r->symbol(r->indexOf("Forest")).color, rgb(26, 129, 78));
    EXPECT_EQ(r->symbol(r->indexOf("snowfield")).color, rgb(175, 175, 177));
    EXPECT_EQ(r->symbol(r->indexOf("")).color, rgb(175, 175, 177));
    EXPECT_EQ(r->symbol(r->indexOf("GRASSLAND")).color, rgb(240, 156, 54));
    EXPECT_EQ(r->symbol(r->indexOf("Water Bodies")).color, rgb(102, 140, 190));
    for (int i = 0; i < r->valueCount(); ++i) EXPECT_FALSE(r->symbol(i).outline);
    EXPECT_FALSE(layer.visible);
    EXPECT_EQ(layer.name, "Land Use");

    // Styling again gives the same result.
    SetLayerProperties(layer, "02_landuse.shp", {});
    EXPECT_EQ(std::dynamic_pointer_cast<engine::ValueMapRenderer>(layer.renderer)->valueCount(), 6);
}

TEST(Symbology, LandUseLayerWithMoreDistinctTextsThanA16BitCounterHolds) {
    QTemporaryDir tmp;
    const int n = 33000;
    testdata::writeShapefile(
        tmp.path(), "02_landuse", engine::moShapeTypePoint, {{"LAND_USE", engine::moString, 12, 0}},
        n, [](int i) { return engine::Shape::point(i, 0); },
        [](int i) {
            return std::vector<QVariant>{i == n - 1 ? QString("FOREST")
                                                    : QString("class %1").arg(i)};
        });
    engine::DataConnection connection;
    connection.setDatabase(tmp.path() + "/");
    ASSERT_TRUE(connection.connect());
    engine::MapLayer layer(connection.findGeoDataset("02_landuse.shp"));
    feedback::ScopedScriptedDialogs dialogs;
    SetLayerProperties(layer, "02_landuse.shp", {});
    EXPECT_TRUE(dialogs->shown.isEmpty());
    auto r = std::dynamic_pointer_cast<engine::ValueMapRenderer>(layer.renderer);
    ASSERT_TRUE(r);
    ASSERT_EQ(r->valueCount(), n);
    EXPECT_EQ(r->symbol(n - 1).color, rgb(26, 129, 78));
}

TEST(Symbology, LandUseTableHoldsEveryClassOnce) {
    const auto& table = landUseColourTable();
    EXPECT_EQ(table.size(), 149);
    EXPECT_EQ(LandUseColor("  mixed forest"), rgb(134, 200, 127));
    EXPECT_EQ(LandUseColor(" forest "), rgb(26, 129, 78));
    EXPECT_EQ(LandUseColor("snowfield"), rgb(175, 175, 177));
    EXPECT_EQ(LandUseColor("BARREN OR SPARSELY VEGITATED"), rgb(202, 145, 71));
    EXPECT_EQ(LandUseColor("OTHER"), rgb(255, 255, 255));
    EXPECT_EQ(LandUseColor("permanent vegetation (pasture, coffee, fruits)"), rgb(204, 115, 59));
}

TEST(Catalogue, AcceptsTheListedNamesInAnyCase) {
    FillStandardFileNames();
    EXPECT_EQ(StandardFileNames().size(), MAX_LAYERS + 1);
    EXPECT_EQ(StandardFileNames().at(MAX_LAYERS), "25_hydro.shp");
    EXPECT_TRUE(StandardFile("01_Elevation.SHP"));
    EXPECT_TRUE(StandardFile("22_wind.shp"));
    EXPECT_FALSE(StandardFile("15_solar_glo.shp"));
    EXPECT_FALSE(StandardFile("20_wind.shp.bak"));
    EXPECT_FALSE(StandardFile(""));
}

}  // namespace
