// Vector sources in any format and coordinate system: reprojected, clipped to the study area,
// filtered, their fields mapped to the catalogue's, features of another kind handled.
#include <cmath>
#include <random>
#include <string>

#include "tests/importer/import_fixture.h"

namespace importtest {
namespace {

double totalLength(const std::shared_ptr<engine::GeoDataset>& ds) {
    double length = 0;
    for (int i = 0; i < ds->recordCount(); ++i) {
        double l = 0;
        GEOSLength_r(engine::geosContext(), ds->shape(i).geos(), &l);
        length += l;
    }
    return length;
}

QVariant field(const std::shared_ptr<engine::GeoDataset>& ds, int record, const QString& name) {
    return ds->value(record, ds->fieldIndex(name));
}

TEST_F(ImportTest, VectorsAreReprojectedClippedFilteredAndTheirFieldsMapped) {
    writeVector(src("area.shp"), kUtm33,
                {{boxKm(0, 0, 10, 10), {{"NAME", "Testland"}}, {{"population", 12345}}}});
    // Roads in metres: one crosses the area (10 of its 20 km inside), one lies outside, one is
    // filtered away.
    writeVector(
        src("roads.gpkg"), kUtm33,
        {{QString("LINESTRING(%1 %2, %3 %2)").arg(mx(-5)).arg(my(5)).arg(mx(15)).toStdString(),
          {{"name", "Coast Road"}, {"fclass", "primary"}}},
         {QString("LINESTRING(%1 %2, %3 %2)").arg(mx(20)).arg(my(5)).arg(mx(30)).toStdString(),
          {{"name", "Far Road"}, {"fclass", "primary"}}},
         {QString("LINESTRING(%1 %2, %3 %2)").arg(mx(1)).arg(my(1)).arg(mx(9)).toStdString(),
          {{"name", "Track"}, {"fclass", "track"}}}});
    // Power lines in degrees with volts as OpenStreetMap tags them.
    writeVector(src("lines.geojson"), kWgs84,
                {{"LINESTRING(15.03 45.10, 15.03 45.30)",
                  {{"name", "North Line"}, {"voltage", "220000;110000"}}}});
    // An airport drawn as an area becomes a point inside it; a city outside is dropped.
    writeVector(src("airports.shp"), kUtm33, {{boxKm(2, 2, 3, 3), {{"NAME", "Testland Intl"}}}});
    writeVector(
        src("cities.shp"), kUtm33,
        {{QString("POINT(%1 %2)").arg(mx(5)).arg(my(5)).toStdString(),
          {{"name", "Capital"}, {"fclass", "city"}},
          {{"population", 250000}}},
         {QString("POINT(%1 %2)").arg(mx(50)).arg(my(5)).toStdString(), {{"name", "Abroad"}}}});
    writeVector(src("lakes.shp"), kUtm33,
                {{"LINESTRING(500000 5000000, 501000 5001000)", {{"NAME", "Not a lake"}}}});
    writeVector(src("states.shp"), kUtm33,
                {{boxKm(-5, 0, 5, 10), {{"STATE_NM", "West"}}},
                 {boxKm(5, 0, 15, 10), {{"STATE_NM", "East"}}}});

    const auto result = run(recipe({{"boundary", src("area.shp")},
                                    {"roads", src("roads.gpkg")},
                                    {"roads-where", "fclass IN ('primary','secondary')"},
                                    {"transmission", src("lines.geojson")},
                                    {"airports", src("airports.shp")},
                                    {"cities", src("cities.shp")},
                                    {"lakes", src("lakes.shp")},
                                    {"states", src("states.shp")},
                                    {"name-field", "STATE_NM"}}));

    const auto roads = layer("43_roads");
    ASSERT_EQ(roads->recordCount(), 1);
    EXPECT_EQ(field(roads, 0, "NAME").toString(), "Coast Road");
    EXPECT_NEAR(totalLength(roads), 10000, 1e-6);

    const auto lines = layer("44_transmissionline");
    ASSERT_EQ(lines->recordCount(), 1);
    EXPECT_EQ(field(lines, 0, "VOLTAGE").toInt(), 220);
    EXPECT_LE(lines->extent().top(), my(10) + 1e-6);  // clipped at the area's top
    EXPECT_TRUE(lines->coordinateSystem()->name.contains("UTM zone 33N"));

    const auto airports = layer("53_airports");
    ASSERT_EQ(airports->recordCount(), 1);
    EXPECT_EQ(airports->shapeType(), engine::moShapeTypePoint);
    EXPECT_NEAR(airports->shape(0).extent().left(), mx(2.5), 500);

    const auto cities = layer("59_cities");
    ASSERT_EQ(cities->recordCount(), 1);
    EXPECT_EQ(field(cities, 0, "NAME").toString(), "Capital");
    EXPECT_EQ(field(cities, 0, "TYPE").toString(), "city");
    EXPECT_EQ(field(cities, 0, "POP").toInt(), 250000);

    EXPECT_EQ(layer("30_lakes")->recordCount(), 0);
    EXPECT_TRUE(result.report.contains("the lakes: 1 features are not areas and were left out"))
        << result.report.toStdString();

    const auto states = layer("38_subcountrybnd1");
    ASSERT_EQ(states->recordCount(), 2);
    double area = 0;
    for (int i = 0; i < 2; ++i) area += states->shape(i).area();
    EXPECT_NEAR(area, 100e6, 1e-3);  // both cut to the study area
    EXPECT_EQ(field(states, 0, "NAME").toString(), "West");

    const auto country = layer("39_countryboundary");
    EXPECT_EQ(field(country, 0, "POP").toInt(), 12345);
}

TEST_F(ImportTest, ASourceWithoutCoordinateSystemOrWithAMissingNameFieldIsRefused) {
    writeVector(src("area.shp"), kUtm33, {{boxKm(0, 0, 10, 10)}});
    writeVector(src("roads.shp"), kUtm33, {{"LINESTRING(500000 5000000, 501000 5001000)"}});
    QFile::remove(src("roads.prj"));
    try {
        run(recipe({{"boundary", src("area.shp")}, {"roads", src("roads.shp")}}));
        ADD_FAILURE() << "no error";
    } catch (const importer::ImportError& e) {
        EXPECT_TRUE(QString(e.what()).contains("roads.shp has no coordinate system")) << e.what();
    }
    try {
        run(recipe({{"boundary", src("area.shp")},
                    {"states", src("area.shp")},
                    {"name-field", "STATE_NM"}}));
        ADD_FAILURE() << "no error";
    } catch (const importer::ImportError& e) {
        EXPECT_TRUE(QString(e.what()).contains("the field STATE_NM is not in area")) << e.what();
    }
    EXPECT_FALSE(QFileInfo::exists(out()));
}

// The output coordinates suit the study area: the UTM zone comes from where its parts really
// lie, across the antimeridian too, and a system that misstates its area is refused.
TEST_F(ImportTest, TheOutputSystemSuitsTheStudyAreaOrIsRefused) {
    // An island chain from 170 E across 180 to 170 W, between 60 and 65 N.
    writeVector(src("strait.geojson"), kWgs84,
                {{"MULTIPOLYGON(((170 60,170 65,180 65,180 60,170 60)),"
                  "((-180 60,-180 65,-170 65,-170 60,-180 60)))"}});
    const auto strait = run(recipe({{"boundary", src("strait.geojson")}}));
    EXPECT_TRUE(strait.report.contains("WGS 84 / UTM zone 60N (EPSG:32660)"))
        << strait.report.toStdString();
    EXPECT_TRUE(strait.warnings.isEmpty()) << strait.warnings.join('\n').toStdString();
    const auto country = layer("39_countryboundary");
    // 20 x 5 degrees at 60 to 65 N: about 5.71e5 km2 on the Earth.
    EXPECT_NEAR(country->shape(0).area() / 1e6, 5.71e5, 0.02 * 5.71e5);

    writeVector(src("kenya.geojson"), kWgs84, {{boxDegrees(34, -4.7, 41.9, 5)}});
    try {
        run(recipe(
            {{"boundary", src("kenya.geojson")}, {"crs", "EPSG:32760"}, {"overwrite", "true"}}));
        ADD_FAILURE() << "a UTM zone half the world away was taken";
    } catch (const importer::ImportError& e) {
        EXPECT_TRUE(QString(e.what()).contains(
            "the output coordinate system WGS 84 / UTM zone 60S (EPSG:32760) makes the study area"))
            << e.what();
        EXPECT_TRUE(QString(e.what()).contains(
            "apart); give --crs an equal-area system in metres for the area, such as EPSG:6933"))
            << e.what();
    }
}

TEST_F(ImportTest, ALargeBoundaryThatCrossesItselfIsRefusedAndALargeValidOneIsTaken) {
    // 30,000 vertices in degrees on a wavy circle (valid), and 3,000 and 30,000 in random order
    // (crossing itself millions of times once densified, which no repair finishes in reasonable
    // time; densifying the larger one alone took half a minute before it was refused).
    std::string wavy = "POLYGON((", garbled = "POLYGON((";
    std::mt19937 random(7);
    std::uniform_real_distribution<double> lon(35, 41), lat(-2.5, 3.5);
    const int n = 30000;
    for (int i = 0; i <= n; ++i) {
        const double a = 2 * M_PI * (i % n) / n, r = 3 * (1 + 0.05 * std::sin(37 * a));
        wavy += std::to_string(38 + r * std::cos(a)) + " " + std::to_string(0.5 + r * std::sin(a)) +
                (i < n ? "," : "))");
    }
    double x0 = lon(random), y0 = lat(random);
    garbled += std::to_string(x0) + " " + std::to_string(y0);
    for (int i = 1; i < n / 10; ++i)
        garbled += "," + std::to_string(lon(random)) + " " + std::to_string(lat(random));
    garbled += "," + std::to_string(x0) + " " + std::to_string(y0) + "))";

    writeVector(src("wavy.geojson"), kWgs84, {{wavy}});
    const auto taken = run(recipe({{"boundary", src("wavy.geojson")}, {"cell-km", "20"}}));
    EXPECT_TRUE(taken.report.contains("Polygons: 1;")) << taken.report.toStdString();

    std::string larger = garbled.substr(0, garbled.rfind(','));
    for (int i = n / 10; i < n; ++i)
        larger += "," + std::to_string(lon(random)) + " " + std::to_string(lat(random));
    larger += "," + std::to_string(x0) + " " + std::to_string(y0) + "))";

    for (const auto& [name, wkt] :
         {std::pair{"garbled.geojson", garbled}, {"larger.geojson", larger}}) {
        writeVector(src(name), kWgs84, {{wkt}});
        try {
            run(recipe({{"boundary", src(name)}, {"overwrite", "true"}}));
            ADD_FAILURE() << "a boundary crossing itself everywhere was taken";
        } catch (const importer::ImportError& e) {
            EXPECT_TRUE(QString(e.what()).contains(
                "has a polygon that crosses itself and is too large to repair ("))
                << e.what();
            EXPECT_TRUE(QString(e.what()).contains(
                " vertices in the output system; the limit is 20000): repair it first"))
                << e.what();
        }
    }
}

}  // namespace
}  // namespace importtest
