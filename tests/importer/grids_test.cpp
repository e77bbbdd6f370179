// Rasters into cells with known values: partial pixels count by their covered share, cells on
// the boundary are clipped and averaged over their part, no-data and uncovered parts are left
// out, degrees are weighed by their area in metres, classes by majority.
#include <QFile>
#include <limits>

#include "dataset/land_use_colours.h"
#include "dataset/symbology.h"
#include "importer/class_table.h"
#include "importer/coverage.h"
#include "importer/grid_layers.h"
#include "tests/importer/import_fixture.h"

namespace importtest {
namespace {

TEST_F(ImportTest, PartlyCoveredPixelsCountByTheirShareAndBoundaryCellsByTheirPart) {
    // The study area is 17 x 10 km, so its last column of 5 km cells is cut to 2 km. Pixels of
    // 2 km from x = -1 km straddle the cell edges; pixel column k holds 10 k.
    writeVector(src("area.shp"), kUtm33, {{boxKm(0, 0, 17, 10), {{"NAME", "Testland"}}}});
    writeRaster(src("wind.tif"), kUtm33, mx(-1), my(11), 2000, 2000, 10, 6,
                [](int c, int) { return 10.0 * c; });
    run(recipe({{"boundary", src("area.shp")}, {"wind-power-density", src("wind.tif")}}));

    const auto got = cells("20_wind");
    ASSERT_EQ(got.size(), 8u);
    // Cell 0..5 km: 1 km of pixel 0, 2 km of pixel 1, 2 km of pixel 2.
    const double expected[4] = {(0 * 1 + 10 * 2 + 20 * 2) / 5.0, (30 * 2 + 40 * 2 + 50 * 1) / 5.0,
                                (50 * 1 + 60 * 2 + 70 * 2) / 5.0, 80};
    double total = 0;
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i].values.at("WINDPWRD").toDouble(), expected[i % 4], 1e-3) << i;
        EXPECT_NEAR(got[i].areaKm2, i % 4 == 3 ? 10.0 : 25.0, 1e-9) << i;
        total += got[i].areaKm2;
    }
    EXPECT_NEAR(total, 170.0, 1e-9);
    EXPECT_EQ(got[0].values.at("WINDCLASS").toInt(), 1);
    EXPECT_EQ(got[0].values.at("FeatureID").toInt() + got[1].values.at("FeatureID").toInt() >= 0,
              true);
    EXPECT_TRUE(QFile::exists(QDir(out()).filePath("20_wind.prj")));
    EXPECT_TRUE(QFile::exists(QDir(out()).filePath("20_wind.cpg")));
    const auto country = layer("39_countryboundary");
    ASSERT_EQ(country->recordCount(), 1);
    EXPECT_EQ(country->value(0, country->fieldIndex("NAME")).toString(), "Testland");
}

TEST_F(ImportTest, NoDataAndUncoveredPartsAreLeftOutOfValuesAndAreas) {
    // 1 km pixels over x 0..8 km of a 10 x 10 km area; pixel column k holds 100 + k; two
    // pixels at the top of column 1 have no data.
    writeVector(src("area.geojson"), kUtm33, {{boxKm(0, 0, 10, 10)}});
    writeRaster(
        src("wind.tif"), kUtm33, mx(0), my(10), 1000, 1000, 8, 10,
        [](int c, int r) { return c == 1 && r < 2 ? -9999.0 : 100.0 + c; }, -9999.0);
    const auto result =
        run(recipe({{"boundary", src("area.geojson")}, {"wind-power-density", src("wind.tif")}}));

    const auto got = cells("20_wind");
    ASSERT_EQ(got.size(), 4u);
    EXPECT_NEAR(got[0].values.at("WINDPWRD").toDouble(),
                (5 * (100 + 101 + 102 + 103 + 104) - 2 * 101) / 23.0, 0.005);
    EXPECT_NEAR(got[0].areaKm2, 23, 1e-9);
    EXPECT_NEAR(got[1].values.at("WINDPWRD").toDouble(), 106, 1e-9);
    EXPECT_NEAR(got[1].areaKm2, 15, 1e-9);  // the raster ends at 8 km
    EXPECT_NEAR(got[2].values.at("WINDPWRD").toDouble(), 102, 1e-9);
    EXPECT_NEAR(got[2].areaKm2, 25, 1e-9);
    EXPECT_NEAR(got[3].areaKm2, 15, 1e-9);
    EXPECT_TRUE(result.report.contains("no data over 22 km2")) << result.report.toStdString();
}

TEST_F(ImportTest, DegreesAreWeighedByTheirAreaInTheOutputMetres) {
    // A boundary and a raster in degrees: 100 W/m2 west of 15.05 E, 300 east of it. Each cell's
    // mean is 100 + 200 x its share east of that meridian, measured in UTM metres.
    const std::string area = boxDegrees(14.9, 45.0, 15.2, 45.2);
    writeVector(src("area.geojson"), kWgs84, {{area}});
    writeRaster(src("wind.tif"), kWgs84, 14.8, 45.3, 0.01, 0.01, 50, 40,
                [](int c, int) { return c < 25 ? 100.0 : 300.0; });
    run(recipe({{"boundary", src("area.geojson")}, {"wind-power-density", src("wind.tif")}}));

    const engine::Shape east = degreesToUtm(boxDegrees(15.05, 44.9, 15.3, 45.3));
    const auto got = cells("20_wind");
    ASSERT_GT(got.size(), 20u);
    double total = 0;
    int straddling = 0;
    for (const Cell& c : got) {
        const engine::Shape e = c.shape.intersect(east);
        const double share = e.isNull() ? 0 : e.area() / c.shape.area();
        straddling += share > 0.05 && share < 0.95;
        EXPECT_NEAR(c.values.at("WINDPWRD").toDouble(), 100 + 200 * share, 0.3) << c.shape.toWkt();
        total += c.areaKm2;
    }
    EXPECT_GT(straddling, 2);
    EXPECT_NEAR(total, degreesToUtm(area).area() / 1e6, 1e-3);
    // The output is the UTM zone of the centre, written to the .prj.
    EXPECT_TRUE(layer("20_wind")->coordinateSystem()->name.contains("UTM zone 33N"));
}

TEST_F(ImportTest, LandCoverTakesTheClassCoveringMostOfEachCell) {
    // 1 km pixels: cell one is 15 km2 of class 10 and 10 of class 30; cell two is 10 km2 of
    // class 40 and 15 of code 0, which the WorldCover table does not know.
    writeVector(src("area.shp"), kUtm33, {{boxKm(0, 0, 10, 5)}});
    writeRaster(src("cover.tif"), kUtm33, mx(0), my(5), 1000, 1000, 10, 5, [](int c, int) {
        return c < 3 ? 10 : c < 5 ? 30 : c < 7 ? 40 : 0;
    });
    auto result = run(recipe({{"boundary", src("area.shp")}, {"land-cover", src("cover.tif")}}));
    auto got = cells("02_landuse");
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].values.at("LAND_USE").toString(), "TREE COVER");
    EXPECT_NEAR(got[0].areaKm2, 25, 1e-9);
    EXPECT_EQ(got[1].values.at("LAND_USE").toString(), "CROPLAND");
    EXPECT_EQ(got[1].values.at("LC_CODE").toInt(), 40);
    EXPECT_NEAR(got[1].areaKm2, 10, 1e-9);  // the unknown code counts as no data
    EXPECT_TRUE(result.report.contains("the code 0 is not in the class table; its 15 km2"))
        << result.report.toStdString();

    // A class table of the user's own names every code, in capitals.
    QFile csv(src("classes.csv"));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("code,name\n10,Forest\n30,Grassland\n40,Farmer's land\n0,open water\n");
    csv.close();
    result = run(recipe({{"boundary", src("area.shp")},
                         {"land-cover", src("cover.tif")},
                         {"land-cover-classes", src("classes.csv")},
                         {"overwrite", "true"}}));
    got = cells("02_landuse");
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].values.at("LAND_USE").toString(), "FOREST");
    EXPECT_EQ(got[1].values.at("LAND_USE").toString(), "OPEN WATER");
    EXPECT_NEAR(got[1].areaKm2, 25, 1e-9);
}

TEST_F(ImportTest, SolarTotalsBecomeDailyValuesAndMissingMonthsAreNotInvented) {
    writeVector(src("area.shp"), kUtm33, {{boxKm(0, 0, 10, 5)}});
    auto constant = [&](const QString& name, double v) {
        writeRaster(src(name), kUtm33, mx(0), my(5), 1000, 1000, 10, 5,
                    [v](int, int) { return v; });
    };
    constant("ghi.tif", 2000);         // kWh/m2 per year
    constant("ghi_01.tif", 31 * 5.0);  // January: 5 kWh/m2/day
    constant("ghi_02.tif", 28 * 4.0);
    constant("ghi_03.tif", 31 * 6.0);
    const auto result = run(recipe({{"boundary", src("area.shp")},
                                    {"solar-ghi", src("ghi.tif")},
                                    {"solar-ghi-monthly", src("ghi_{MM}.tif")},
                                    {"solar-units", "yearly"},
                                    {"elevation", src("ghi_02.tif")},
                                    {"elevation-km", "2.5"}}));
    const auto got = cells("14_solar_glo");
    ASSERT_EQ(got.size(), 2u);
    const Cell& c = got[0];
    EXPECT_NEAR(c.values.at("Annglo").toDouble(), 2000 / 365.0, 1e-3);
    EXPECT_NEAR(c.values.at("Janglo").toDouble(), 5, 1e-9);
    EXPECT_NEAR(c.values.at("Febglo").toDouble(), 4, 1e-9);
    EXPECT_NEAR(c.values.at("Marglo").toDouble(), 6, 1e-9);
    EXPECT_EQ(c.values.count("Aprglo"), 0u);
    // The centre of the first cell, (502.5 km, 5002.5 km) in UTM zone 33N.
    EXPECT_NEAR(c.values.at("Lon").toDouble(), 15.0319, 0.0001);
    EXPECT_NEAR(c.values.at("Lat").toDouble(), 45.1760, 0.0001);
    EXPECT_TRUE(result.report.contains("no raster for Apr, May, Jun, Jul, Aug, Sep, Oct, Nov, Dec"))
        << result.report.toStdString();
    // Elevation has its own cell size.
    EXPECT_EQ(cells("01_elevation").size(), 8u);
}

TEST(Coverage, AreasPerCellMatchTheOverlayForConcaveShapesWithHoles) {
    // A comb-shaped polygon with a hole, its edges along and across cell edges.
    const engine::Shape shape = engine::Shape::fromWkt(
        "POLYGON((0.5 0.5, 6.5 0.5, 6.5 4.5, 5 4.5, 5 1.5, 4 1.5, 4 4.5, 2 4.5, 2 1, 1 3.7, 0.5 "
        "4.2, "
        "0.5 0.5), (2.5 2, 3.5 2, 3.5 4, 2.5 4, 2.5 2))");
    const importer::GridGeometry grid{0, 5, 1, 1, 7, 5};
    const std::vector<double> areas = importer::coverage(shape, grid);
    double total = 0;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 7; ++c) {
            const engine::Shape cell = importer::rectangle(c, 4 - r, c + 1, 5 - r);
            const engine::Shape part = shape.intersect(cell);
            EXPECT_NEAR(areas[r * 7 + c], part.isNull() ? 0 : part.area(), 1e-12) << r << " " << c;
            total += areas[r * 7 + c];
        }
    EXPECT_NEAR(total, shape.area(), 1e-12);
}

TEST(WindClass, ClassesStartAtTheirLowerLimits) {
    EXPECT_EQ(importer::windClass(199.99), 1);
    EXPECT_EQ(importer::windClass(200), 2);
    EXPECT_EQ(importer::windClass(599.9), 5);
    EXPECT_EQ(importer::windClass(800), 7);
}

// Pixels that hold no number are no data: counted in the warnings, and never a value written.
TEST_F(ImportTest, PixelsThatAreNoNumbersAreNoDataAndNeverWritten) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    writeVector(src("area.shp"), kUtm33, {{boxKm(0, 0, 10, 10)}});
    // Column 0 of 1 km pixels: +inf, -inf, 1e308 (beyond a float: inf too), NaN in turn.
    const double odd[4] = {inf, -inf, 1e308, nan};
    writeRaster(src("wind.tif"), kUtm33, mx(0), my(10), 1000, 1000, 10, 10, [&](int c, int r) {
        return c == 0 ? odd[r % 4] : c == 1 ? 1e30 : 400.0;
    });
    writeRaster(src("dem.tif"), kUtm33, mx(0), my(10), 5000, 5000, 2, 2,
                [&](int c, int) { return c == 0 ? inf : 1200.0; });
    const auto result = run(recipe({{"boundary", src("area.shp")},
                                    {"wind-power-density", src("wind.tif")},
                                    {"elevation", src("dem.tif")}}));
    const auto wind = cells("20_wind");
    ASSERT_EQ(wind.size(), 4u);
    for (const Cell& c : wind) {
        EXPECT_NEAR(c.values.at("WINDPWRD").toDouble(), 400.0, 1e-9);
        EXPECT_NEAR(c.areaKm2, c.shape.extent().left() < mx(5) ? 15.0 : 25.0, 1e-6);
    }
    const auto dem = cells("01_elevation");
    ASSERT_EQ(dem.size(), 2u);  // the right column of cells
    for (const Cell& c : dem) EXPECT_EQ(c.values.at("Elev_m").toDouble(), 1200.0);
    EXPECT_TRUE(
        result.report.contains("the wind power density raster has pixels that hold no "
                               "number (infinite, or beyond 1e15) over"))
        << result.report.toStdString();
    EXPECT_TRUE(result.report.contains("the elevation raster has pixels that hold no number"));
    EXPECT_FALSE(result.report.contains("nan") || result.report.contains("inf "))
        << result.report.toStdString();
    EXPECT_GE(result.warnings.size(), 2);
}

// Cell sizes and rasters whose work has no bound are refused before any of it is done, with the
// count, the limit and what to change.
TEST_F(ImportTest, WorkWithoutBoundIsRefusedWithTheCountAndWhatToChange) {
    writeVector(src("area.shp"), kUtm33, {{boxKm(0, 0, 100, 100)}});
    writeRaster(src("wind.tif"), kUtm33, mx(0), my(100), 10000, 10000, 10, 10,
                [](int, int) { return 400.0; });
    // 200,000 x 200,000 pixels of 0.5 m over the area, declared by a few lines of text.
    QFile vrt(src("huge.vrt"));
    ASSERT_TRUE(vrt.open(QIODevice::WriteOnly));
    vrt.write(QString(R"(<VRTDataset rasterXSize="200000" rasterYSize="200000">
  <SRS>EPSG:32633</SRS><GeoTransform>%1, 0.5, 0, %2, 0, -0.5</GeoTransform>
  <VRTRasterBand dataType="Float32" band="1"><SimpleSource>
    <SourceFilename relativeToVRT="1">wind.tif</SourceFilename><SourceBand>1</SourceBand>
  </SimpleSource></VRTRasterBand></VRTDataset>)")
                  .arg(mx(0), 0, 'f', 0)
                  .arg(my(100), 0, 'f', 0)
                  .toUtf8());
    vrt.close();
    const std::vector<std::pair<importer::Recipe, QString>> cases = {
        {recipe({{"boundary", src("area.shp")},
                 {"wind-power-density", src("wind.tif")},
                 {"cell-km", "0.001"}}),
         "--cell-km 0.001 makes 10000400004 cells over the study area's extent of 100 x 100 km; "
         "the limit is 2000000 cells: give --cell-km 0.072 or more"},
        {recipe({{"boundary", src("area.shp")},
                 {"land-cover", src("wind.tif")},
                 {"land-cover-km", "0.01"}}),
         "--land-cover-km 0.01 makes 100040004 cells"},
        {recipe({{"boundary", src("area.shp")}, {"wind-power-density", src("huge.vrt")}}),
         "has 200000 x 200000 pixels of about 0.5 m: the study area covers 40000000000 of them; "
         "the limit is 20000000000: give the raster overviews (gdaladdo) or coarser pixels"},
    };
    for (const auto& [r, message] : cases) {
        try {
            run(r);
            ADD_FAILURE() << "no refusal: " << message.toStdString();
        } catch (const importer::ImportError& e) {
            EXPECT_TRUE(QString(e.what()).contains(message)) << e.what();
        }
        EXPECT_FALSE(QFileInfo::exists(out()));
    }
}

}  // namespace
}  // namespace importtest

TEST(ClassTable, EveryBuiltInLandCoverClassIsDrawnInAColourOfItsOwnKind) {
    const importer::ClassTable table = importer::ClassTable::worldCover();
    for (const auto& [code, name] : table.names())
        EXPECT_NE(md_functions::LandUseColor(name), md_functions::kUnknownLandUseColour)
            << code << ' ' << name.toStdString();
    EXPECT_EQ(md_functions::LandUseColor("TREE COVER"), md_functions::LandUseColor("FOREST"));
    EXPECT_EQ(md_functions::LandUseColor("PERMANENT WATER BODIES"),
              md_functions::LandUseColor("WATER"));
}
