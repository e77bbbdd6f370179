// Shapefiles written and read back through GDAL: values, field sizes, coordinate systems,
// damaged files, replacing files, searches by expression and by distance.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cfloat>
#include <cmath>
#include <limits>

#include "engine/map_layer.h"
#include "engine_test_support.h"
#include "tests/dataset/test_shapefiles.h"

using namespace engine;
using namespace enginetest;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeText(const QString& path, const QByteArray& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

}  // namespace

TEST(Datasets, WriteAndReadBackRoundTrip) {
    QTemporaryDir dir;
    const TableDesc table = {{"AREA_KM2", moDouble, 15, 1}, {"COUNT", moLong, 9, 0},
                             {"NAME", moString, 20, 0}, {"WHEN", moDate, 8, 0}};
    const QString path = writeShapefile(
        dir.path(), "result", moShapeTypePolygon, table,
        {{Shape::fromWkt("POLYGON((0 0,10 0,10 10,0 10,0 0))"), {12.26, 7, "Sør", QDate(2020, 5, 17)}},
         {Shape::fromWkt("MULTIPOLYGON(((20 0,30 0,30 5,20 0)),((40 0,50 0,50 5,40 0)))"),
          {QVariant(), -3, "", QDate()}}},
        CoordinateSystem::fromWkt(utm33Wkt));
    for (const char* ext : {"shp", "shx", "dbf", "prj", "cpg"})
        EXPECT_TRUE(QFile::exists(dir.filePath(QString("result.") + ext))) << ext;
    EXPECT_EQ(readAll(dir.filePath("result.cpg")).trimmed(), "UTF-8");
    EXPECT_TRUE(QDir(dir.path()).entryList({"~*"}, QDir::Files).isEmpty());

    auto ds = GeoDataset::open(path);
    EXPECT_EQ(ds->name(), "result.shp");
    EXPECT_EQ(ds->shapeType(), moShapeTypePolygon);
    ASSERT_EQ(ds->recordCount(), 2);
    EXPECT_EQ(ds->fieldNames(), QStringList({"AREA_KM2", "COUNT", "NAME", "WHEN"}));
    const FieldDesc& area = ds->fields()[0];
    EXPECT_EQ(area.type, moDouble);
    EXPECT_EQ(area.size, 15);
    EXPECT_EQ(area.precision, 1);
    EXPECT_EQ(ds->fields()[1].type, moLong);
    EXPECT_EQ(ds->fields()[3].type, moDate);
    EXPECT_DOUBLE_EQ(ds->value(0, 0).toDouble(), 12.3);  // one decimal kept
    EXPECT_EQ(ds->value(0, 1).toInt(), 7);
    EXPECT_EQ(ds->value(0, 2).toString(), QString("Sør"));
    EXPECT_EQ(ds->value(0, 3).toDate(), QDate(2020, 5, 17));
    EXPECT_FALSE(ds->value(1, 0).isValid());  // a missing number stays missing
    EXPECT_EQ(ds->value(1, 1).toInt(), -3);
    EXPECT_DOUBLE_EQ(ds->shape(0).area(), 100);
    EXPECT_DOUBLE_EQ(ds->shape(1).area(), 50);
    EXPECT_EQ(ds->extent(), Rectangle(0, 0, 50, 10));
    ASSERT_TRUE(ds->coordinateSystem().has_value());
    EXPECT_TRUE(ds->coordinateSystem()->isProjected);
    EXPECT_EQ(ds->coordinateSystem()->unitName, "Meter");
}

TEST(Datasets, PointsAndLinesRoundTrip) {
    QTemporaryDir dir;
    const TableDesc table = {{"NAME", moString, 10, 0}};
    auto points = GeoDataset::open(writeShapefile(dir.path(), "cities", moShapeTypePoint, table,
                                                  {{Shape::point(1, 2), {"A"}}, {Shape::point(3, 4), {"B"}}}));
    EXPECT_EQ(points->shapeType(), moShapeTypePoint);
    EXPECT_DOUBLE_EQ(points->shape(1).centroid().y, 4);
    EXPECT_FALSE(points->coordinateSystem().has_value());
    auto lines = GeoDataset::open(writeShapefile(dir.path(), "roads", moShapeTypeLine, table,
                                                 {{Shape::lineString({{0, 0}, {3, 4}}), {"R1"}}}));
    EXPECT_EQ(lines->shapeType(), moShapeTypeLine);
    EXPECT_DOUBLE_EQ(lines->shape(0).distanceTo(Shape::point(0, 0)), 0);
    // A collection keeps the parts of the file's kind.
    auto mixed = GeoDataset::open(writeShapefile(
        dir.path(), "mixed", moShapeTypePolygon, table,
        {{Shape::fromWkt("GEOMETRYCOLLECTION(POLYGON((0 0,1 0,1 1,0 0)),LINESTRING(5 5,6 6),"
                         "MULTIPOLYGON(((3 0,4 0,4 1,3 0))))"),
          {"M"}}}));
    EXPECT_DOUBLE_EQ(mixed->shape(0).area(), 1.0);
    // A shape of the wrong kind is refused.
    DataConnection conn;
    conn.setDatabase(dir.path());
    auto w = conn.addGeoDataset("bad", moShapeTypePoint, table);
    EXPECT_THROW(w->addRecord(Shape::lineString({{0, 0}, {1, 1}}), {"x"}), EngineError);
    EXPECT_THROW(w->addRecord(Shape::point(0, 0), {}), EngineError);
}

TEST(Datasets, FailedWriteKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = writeGrid(dir.path(), "wind", 2, 1, 10);
    const QByteArray before = readAll(path);
    DataConnection conn;
    conn.setDatabase(dir.path());
    {
        auto w = conn.addGeoDataset("wind", moShapeTypePolygon, {{"V", moDouble, 15, 1}});
        w->addRecord(Shape::polygon({{0, 0}, {1, 0}, {1, 1}}), {1.0});
        // Dropped without commit: nothing replaced, nothing left behind.
    }
    EXPECT_EQ(readAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4);  // shp shx dbf cpg

    // A commit replaces every part, and a stale .prj goes.
    writeText(dir.filePath("wind.prj"), utm33Wkt);
    auto w = conn.addGeoDataset("wind", moShapeTypePolygon, {{"V", moDouble, 15, 1}});
    w->addRecord(Shape::polygon({{0, 0}, {1, 0}, {1, 1}}), {1.0});
    w->commit();
    auto ds = GeoDataset::open(path);
    EXPECT_EQ(ds->recordCount(), 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("wind.prj")));

    DataConnection missing;
    missing.setDatabase(dir.filePath("nowhere"));
    EXPECT_THROW(missing.addGeoDataset("x", moShapeTypePolygon, {}), EngineError);
    EXPECT_FALSE(missing.connect());
    EXPECT_NE(missing.connectError(), 0);
    EXPECT_TRUE(conn.connect());
    EXPECT_EQ(conn.connectError(), 0);
}

TEST(Datasets, CoordinateSystemsFromPrjFiles) {
    const CoordinateSystem utm = CoordinateSystem::fromWkt(utm33Wkt);
    EXPECT_TRUE(utm.isProjected);
    EXPECT_EQ(utm.unitName, "Meter");
    EXPECT_DOUBLE_EQ(utm.axis, 6378137.0);
    EXPECT_NEAR(utm.flattening, 1 / 298.257223563, 1e-12);

    const CoordinateSystem geo = CoordinateSystem::fromWkt(
        "GEOGCS[\"GCS_North_American_1927\",DATUM[\"D_North_American_1927\","
        "SPHEROID[\"Clarke_1866\",6378206.4,294.9786982]],PRIMEM[\"Greenwich\",0.0],"
        "UNIT[\"Degree\",0.0174532925199433]]");
    EXPECT_FALSE(geo.isProjected);
    EXPECT_TRUE(geo.isGeographic());
    EXPECT_EQ(geo.unitName, "Degree");
    EXPECT_DOUBLE_EQ(geo.axis, 6378206.4);
    EXPECT_NEAR(geo.flattening, 1 / 294.9786982, 1e-12);

    const CoordinateSystem feet = CoordinateSystem::fromWkt(
        "PROJCS[\"NAD_1983_StatePlane_Texas_Central_FIPS_4203_Feet\",GEOGCS[\"GCS_North_American_1983\","
        "DATUM[\"D_North_American_1983\",SPHEROID[\"GRS_1980\",6378137.0,298.257222101]],"
        "PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]],"
        "PROJECTION[\"Lambert_Conformal_Conic\"],PARAMETER[\"False_Easting\",2296583.333333333],"
        "PARAMETER[\"False_Northing\",9842500.0],PARAMETER[\"Central_Meridian\",-100.3333333333333],"
        "PARAMETER[\"Standard_Parallel_1\",30.11666666666667],PARAMETER[\"Standard_Parallel_2\",31.88333333333333],"
        "PARAMETER[\"Latitude_Of_Origin\",29.66666666666667],UNIT[\"Foot_US\",0.3048006096012192]]");
    EXPECT_TRUE(feet.isProjected);
    EXPECT_EQ(feet.unitName, "Foot");

    EXPECT_THROW(CoordinateSystem::fromWkt("not a coordinate system"), EngineError);

    // A dataset with a .prj beside it reads it; an unreadable .prj leaves it without one.
    QTemporaryDir dir;
    const QString path = writeGrid(dir.path(), "grid", 1, 1, 1);
    writeText(dir.filePath("grid.prj"), geo.wkt.toUtf8());
    EXPECT_EQ(GeoDataset::open(path)->coordinateSystem()->unitName, "Degree");
    writeText(dir.filePath("grid.prj"), "garbage");
    EXPECT_FALSE(GeoDataset::open(path)->coordinateSystem().has_value());
}

TEST(Datasets, DamagedFilesAreSkipped) {
    QTemporaryDir dir;
    const QString good = writeGrid(dir.path(), "good", 3, 3, 10);
    const QByteArray shp = readAll(good);
    auto copy = [&](const QString& name, const QByteArray& shpBytes, bool withShx = true,
                    bool withDbf = true) {
        writeText(dir.filePath(name + ".shp"), shpBytes);
        if (withShx) QFile::copy(dir.filePath("good.shx"), dir.filePath(name + ".shx"));
        if (withDbf) QFile::copy(dir.filePath("good.dbf"), dir.filePath(name + ".dbf"));
    };
    copy("truncated", shp.left(shp.size() / 2));
    copy("noshx", shp, false, true);
    copy("nodbf", shp, true, false);
    copy("garbage", QByteArray(2000, '\x5a'));
    copy("empty", QByteArray());
    copy("truncdbf", shp, true, false);
    const QByteArray dbf = readAll(dir.filePath("good.dbf"));
    writeText(dir.filePath("truncdbf.dbf"), dbf.left(dbf.size() - 60));
    copy("garbageshx", shp, false, true);
    writeText(dir.filePath("garbageshx.shx"), QByteArray(300, '\x07'));
    DataConnection conn;
    conn.setDatabase(dir.path());
    ASSERT_TRUE(conn.connect());
    for (const char* name : {"truncated.shp", "noshx.shp", "nodbf.shp", "garbage.shp", "empty.shp",
                             "truncdbf.shp", "garbageshx.shp", "absent.shp"}) {
        EXPECT_EQ(conn.findGeoDataset(name), nullptr) << name;
        EXPECT_THROW(GeoDataset::open(dir.filePath(name)), EngineError) << name;
    }
    ASSERT_NE(conn.findGeoDataset("good.shp"), nullptr);
    EXPECT_EQ(conn.findGeoDataset("good.shp")->recordCount(), 9);
}

TEST(Datasets, FeaturesBeyondTheBoundsOfTheirSystemAreLeftOut) {
    QTemporaryDir dir;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    // Lines from (1, 1) to a far vertex each; NAME tells which. The far coordinates are written
    // as markers and put into the file afterwards.
    auto lines = [&](const QString& name, const std::vector<Point>& far,
                     const std::optional<CoordinateSystem>& crs) {
        std::vector<Cell> cells{{Shape::lineString({{1, 1}, {2, 2}}), {"first"}}};
        for (size_t i = 0; i < far.size(); ++i)
            cells.push_back({Shape::lineString({{1, 1}, {7000.25 + i, 8000.75 + i}}),
                             {QString("far %1").arg(i)}});
        cells.push_back({Shape::lineString({{3, 3}, {4, 4}}), {"last"}});
        const QString path = writeShapefile(dir.path(), name, moShapeTypeLine,
                                            {{"NAME", moString, 10, 0}}, cells, crs);
        for (size_t i = 0; i < far.size(); ++i) {
            EXPECT_GT(testdata::replaceDouble(path, 7000.25 + i, far[i].x), 0);
            EXPECT_GT(testdata::replaceDouble(path, 8000.75 + i, far[i].y), 0);
        }
        return GeoDataset::open(path);
    };

    // Without a coordinate system only what no unit of any map reaches is refused.
    auto plain = lines("plain",
                       {{1e308, 0},
                        {DBL_MAX, 5},
                        {-DBL_MAX, 5},
                        {0, nan},
                        {inf, 0},
                        {0, -inf},
                        {2e10, 0},
                        {9e9, -9e9}},
                       std::nullopt);
    EXPECT_EQ(plain->featuresLeftOut(), 7);
    ASSERT_EQ(plain->recordCount(), 3);
    EXPECT_EQ(plain->value(0, 0).toString(), "first");
    EXPECT_EQ(plain->value(1, 0).toString(), "far 7");  // attributes stay with their shapes
    EXPECT_EQ(plain->value(2, 0).toString(), "last");
    EXPECT_EQ(plain->extent(), Rectangle(1, -9e9, 9e9, 4));
    EXPECT_EQ(plain->select("FeatureID > -1").size(), 3u);

    // Degrees: longitudes up to 360 either way, latitudes up to the poles.
    const CoordinateSystem degrees = CoordinateSystem::fromWkt(
        "GEOGCS[\"WGS 84\",DATUM[\"WGS_1984\",SPHEROID[\"WGS 84\",6378137,298.257223563]],"
        "PRIMEM[\"Greenwich\",0],UNIT[\"degree\",0.0174532925199433]]");
    auto geo = lines("geo", {{359, 90}, {-360, -90}, {361, 0}, {0, 90.01}, {1e308, 0}}, degrees);
    EXPECT_EQ(geo->featuresLeftOut(), 3);
    EXPECT_EQ(geo->recordCount(), 4);

    // Metres: a good way beyond the Earth's circumference; in feet the same distance.
    auto utm =
        lines("utm", {{9e7, -9e7}, {2e8, 0}, {DBL_MAX, 0}}, CoordinateSystem::fromWkt(utm33Wkt));
    EXPECT_EQ(utm->featuresLeftOut(), 2);
    EXPECT_NEAR(CoordinateSystem::fromWkt(utm33Wkt).xLimit, 1e8, 1);
    EXPECT_FALSE(plain->shape(1).buffer(10).isNull());  // what is kept buffers safely
}

// Large files are read in parts on several threads; what comes out must not depend on how
// many, nor on where the parts meet.
TEST(Datasets, LargeFilesReadInPartsGiveTheSameRecordsInFileOrder) {
    QTemporaryDir dir;
    constexpr int kCount = 30001;
    std::vector<Cell> cells;
    cells.reserve(kCount);
    for (int i = 0; i < kCount; ++i)
        cells.push_back({Shape::lineString({{double(i), 0}, {double(i) + 0.5, 1.0 + i % 7}}),
                         {i, QString("road %1").arg(i)}});
    // Two features with a vertex at 1e308, one early and one where two parts meet.
    cells[100].shape = Shape::lineString({{100, 0}, {7000.25, 1}});
    cells[15000].shape = Shape::lineString({{15000, 0}, {7001.25, 1}});
    const QString path = writeShapefile(dir.path(), "roads", moShapeTypeLine,
                                        {{"ID", moLong, 9, 0}, {"NAME", moString, 12, 0}}, cells);
    ASSERT_GT(testdata::replaceDouble(path, 7000.25, 1e308), 0);
    ASSERT_GT(testdata::replaceDouble(path, 7001.25, 1e308), 0);
    const QByteArray shp = readAll(path);
    writeText(dir.filePath("cut.shp"), shp.left(shp.size() * 2 / 3));
    QFile::copy(dir.filePath("roads.shx"), dir.filePath("cut.shx"));
    QFile::copy(dir.filePath("roads.dbf"), dir.filePath("cut.dbf"));

    auto openWith = [&](const char* threads, const QString& file) {
        qputenv("PALLIX_THREADS", threads);
        struct Unset {
            ~Unset() { qunsetenv("PALLIX_THREADS"); }
        } unsetAfterwards;  // also when the open throws
        return GeoDataset::open(dir.filePath(file));
    };
    const auto one = openWith("1", "roads.shp");
    ASSERT_EQ(one->recordCount(), kCount - 2);
    EXPECT_EQ(one->featuresLeftOut(), 2);
    for (const char* threads : {"2", "3", "8"}) {
        const auto parts = openWith(threads, "roads.shp");
        ASSERT_EQ(parts->recordCount(), one->recordCount()) << threads;
        EXPECT_EQ(parts->featuresLeftOut(), 2) << threads;
        EXPECT_EQ(parts->extent(), one->extent()) << threads;
        int differing = 0;
        for (int r = 0; r < one->recordCount(); ++r)
            differing += parts->value(r, 0) != one->value(r, 0) ||
                         parts->value(r, 1) != one->value(r, 1) ||
                         !(parts->shapeExtent(r) == one->shapeExtent(r));
        EXPECT_EQ(differing, 0) << threads;
        EXPECT_EQ(parts->value(15000, 1).toString(), "road 15002") << threads;
        // A file cut short is refused as a one-pass read refuses it.
        EXPECT_THROW(openWith(threads, "cut.shp"), EngineError) << threads;
    }
    EXPECT_THROW(openWith("1", "cut.shp"), EngineError);
}

TEST(Datasets, OnlyRegularFilesAreReadAndSideFilesAreSmall) {
    QTemporaryDir dir;
    auto damaged = [&](const QString& name, const std::function<void(const QString&)>& damage) {
        writeGrid(dir.path(), name, 2, 2, 10);
        writeText(dir.filePath(name + ".prj"), utm33Wkt);
        damage(dir.filePath(name));
        QElapsedTimer clock;
        clock.start();
        std::string reason;
        try {
            GeoDataset::open(dir.filePath(name + ".shp"));
        } catch (const EngineError& e) {
            reason = e.what();
        }
        EXPECT_LT(clock.elapsed(), 1000) << name.toStdString();
        return reason;
    };
    const auto fifo = [](const QString& path) {
        QFile::remove(path);
        ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    };
    const auto link = [](const QString& target, const QString& path) {
        QFile::remove(path);
        ASSERT_TRUE(QFile::link(target, path));
    };
    EXPECT_EQ(damaged("fifoprj", [&](const QString& b) { fifo(b + ".prj"); }),
              "fifoprj.prj is not a regular file");
    EXPECT_EQ(damaged("zerocpg", [&](const QString& b) { link("/dev/zero", b + ".cpg"); }),
              "zerocpg.cpg is not a regular file");
    EXPECT_EQ(damaged("upper",
                      [&](const QString& b) {
                          QFile::remove(b + ".cpg");
                          link("/dev/urandom", b + ".CPG");
                      }),
              "upper.CPG is not a regular file");
    EXPECT_EQ(damaged("fifodbf", [&](const QString& b) { fifo(b + ".dbf"); }),
              "fifodbf.dbf is not a regular file");
    EXPECT_EQ(damaged("zeroshp", [&](const QString& b) { link("/dev/zero", b + ".shp"); }),
              "zeroshp.shp is not a regular file");
    EXPECT_EQ(damaged("dangling", [&](const QString& b) { link(b + ".gone", b + ".shx"); }),
              "dangling.shx is not a regular file");
    EXPECT_EQ(damaged("folder",
                      [&](const QString& b) {
                          QFile::remove(b + ".shp");
                          QDir().mkdir(b + ".shp");
                      }),
              "folder.shp is not a regular file");
    EXPECT_EQ(damaged("bigprj",
                      [&](const QString& b) {
                          writeText(b + ".prj", QByteArray(utm33Wkt) + QByteArray(70000, ' '));
                      }),
              "bigprj.prj is larger than 64 KB");
    EXPECT_EQ(damaged("noshx", [&](const QString& b) { QFile::remove(b + ".shx"); }),
              "noshx.shx is missing");
    EXPECT_EQ(damaged("fine", [](const QString&) {}), "");
}

TEST(Search, ExpressionsInRecordOrder) {
    QTemporaryDir dir;
    MapLayer layer(GeoDataset::open(writeGrid(dir.path(), "20_wind", 5, 4, 10)));
    EXPECT_EQ(layer.name, "20_wind");
    // WINDPWRD is 100 + 10 * record.
    Recordset rs = layer.searchExpression("WINDPWRD >= 200 AND WINDPWRD <= 250");
    ASSERT_EQ(rs.count(), 6);
    EXPECT_EQ(rs.record(), 10);
    EXPECT_EQ(layer.searchExpression("windpwrd > 280").count(), 1);  // names without case
    EXPECT_EQ(layer.searchExpression("(LAND_USE = 'FOREST') OR (LAND_USE = 'GRASSLAND')").count(), 20);
    EXPECT_EQ(layer.searchExpression("LAND_USE = 'FOREST' AND ID <= 4").count(), 2);
    EXPECT_EQ(layer.searchExpression("LAND_USE = 'it''s'").count(), 0);
    EXPECT_EQ(layer.searchExpression("").count(), 20);

    // FeatureID is the record number on a table without such a field, even in other case;
    // inside a quoted text it stays text.
    EXPECT_EQ(layer.searchExpression("FeatureID > -1").count(), 20);
    EXPECT_EQ(layer.searchExpression("featureid >= 18").record(), 18);
    EXPECT_EQ(layer.searchExpression("LAND_USE = 'FeatureID'").count(), 0);
    for (const char* bad : {"WINDPWRD >=", "NOSUCHFIELD = 1", "WINDPWRD >= 200 AND", "((("})
        EXPECT_THROW(layer.searchExpression(bad), EngineError) << bad;
}

TEST(Search, QuotesInsideTextsAreDoubled) {
    QTemporaryDir dir;
    MapLayer layer(GeoDataset::open(writeShapefile(
        dir.path(), "landuse", moShapeTypePoint, {{"LAND_USE", moString, 30, 0}},
        {{Shape::point(0, 0), {"FARMER'S LAND"}}, {Shape::point(1, 1), {"FOREST"}}})));
    Recordset rs = layer.searchExpression("(LAND_USE = 'FOREST') OR (LAND_USE = 'FARMER''S LAND')");
    EXPECT_EQ(rs.count(), 2);
    EXPECT_EQ(layer.searchExpression("LAND_USE = 'FARMER''S LAND' AND FeatureID = 0").count(), 1);
}

TEST(Search, AFeatureIdFieldOfTheTableWins) {
    QTemporaryDir dir;
    const TableDesc table = {{"FEATUREID", moLong, 9, 0}};
    MapLayer layer(GeoDataset::open(writeShapefile(
        dir.path(), "ids", moShapeTypePoint, table,
        {{Shape::point(0, 0), {100}}, {Shape::point(1, 1), {200}}})));
    Recordset rs = layer.searchExpression("FeatureID >= 150");
    ASSERT_EQ(rs.count(), 1);
    EXPECT_EQ(rs.record(), 1);
    EXPECT_EQ(rs.value("FeatureID").toInt(), 200);
}

TEST(Search, RecordsetFieldsAndStatistics) {
    QTemporaryDir dir;
    MapLayer layer(GeoDataset::open(writeGrid(dir.path(), "grid", 3, 1, 10)));
    Recordset rs = layer.records();
    ASSERT_EQ(rs.fieldCount(), 3);
    EXPECT_EQ(rs.fieldName(1), "WINDPWRD");
    int n = 0;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        EXPECT_EQ(rs.value("featureid").toInt(), n);
        EXPECT_EQ(rs.value("land_use").toString(), n % 2 ? "FOREST" : "GRASSLAND");
        EXPECT_EQ(rs.shapeType(), moShapeTypePolygon);
        ++n;
    }
    EXPECT_EQ(n, 3);
    rs.moveFirst();
    EXPECT_THROW(rs.value("NOPE"), EngineError);
    EXPECT_TRUE(rs.hasField("FeatureID"));
    const Statistics s = rs.calculateStatistics("WINDPWRD");
    EXPECT_EQ(s.count, 3);
    EXPECT_DOUBLE_EQ(s.minimum, 100);
    EXPECT_DOUBLE_EQ(s.maximum, 120);
    EXPECT_DOUBLE_EQ(s.sum, 330);
    EXPECT_DOUBLE_EQ(s.mean, 110);
    EXPECT_EQ(rs.calculateStatistics("FeatureID").count, 3);
    EXPECT_EQ(layer.searchExpression("ID > 99").calculateStatistics("ID").count, 0);
    EXPECT_THROW(rs.calculateStatistics("NOPE"), EngineError);
}

TEST(Search, ByDistanceAndExtent) {
    QTemporaryDir dir;
    MapLayer layer(GeoDataset::open(writeGrid(dir.path(), "grid", 10, 10, 10)));
    // A point on the shared corner of four cells touches all four.
    EXPECT_EQ(layer.searchByDistance(Shape::point(20, 20), 0).count(), 4);
    // Inside a cell: that cell only; with a tolerance reaching the neighbours: five.
    Recordset one = layer.searchByDistance(Shape::point(25, 25), 0);
    ASSERT_EQ(one.count(), 1);
    EXPECT_EQ(one.record(), 22);
    EXPECT_EQ(layer.searchByDistance(Shape::point(25, 25), 5).count(), 5);    // edges at 5
    EXPECT_EQ(layer.searchByDistance(Shape::point(25, 25), 7.1).count(), 9);  // corners at 7.07
    EXPECT_EQ(layer.searchByDistance(Shape::point(25, 25), 4.9).count(), 1);
    EXPECT_EQ(layer.searchByDistance(Shape::point(500, 500), 10).count(), 0);
    // With an expression, only matching records among the near ones.
    EXPECT_EQ(layer.searchByDistance(Shape::point(20, 20), 0, "LAND_USE = 'FOREST'").count(), 2);
    // A line across the grid.
    EXPECT_EQ(layer.searchByDistance(Shape::lineString({{-5, 5}, {105, 5}}), 0).count(), 10);
    EXPECT_EQ(layer.geoDataset()->selectByExtent(Rectangle(0, 0, 9, 9)), std::vector<int>({0}));
    EXPECT_EQ(layer.geoDataset()->selectByExtent(Rectangle(-100, -100, 1000, 1000)).size(), 100u);
}
