// The dense benchmark dataset: the shapes and counts it promises, at a small scale.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cmath>
#include <map>

#include "engine/geo_dataset.h"
#include "tools/sample_dataset.h"

namespace {

using engine::GeoDataset;

std::shared_ptr<GeoDataset> open(const QTemporaryDir& dir, const char* layer) {
    return GeoDataset::open(QDir(dir.path()).filePath(QString(layer) + ".shp"));
}

// Vertices of a line or of a polygon's ring, from its WKT.
std::vector<engine::Point> vertices(const engine::Shape& s) {
    QString wkt = QString::fromStdString(s.toWkt());
    wkt = wkt.mid(wkt.indexOf('(')).remove('(').remove(')');
    std::vector<engine::Point> out;
    for (const QString& pair : wkt.split(',')) {
        const QStringList xy = pair.trimmed().split(' ');
        out.push_back({xy[0].toDouble(), xy[1].toDouble()});
    }
    return out;
}

// Lengths of the segments of a line.
std::vector<double> steps(const engine::Shape& line) {
    const auto v = vertices(line);
    std::vector<double> out;
    for (size_t i = 1; i < v.size(); ++i)
        out.push_back(std::hypot(v[i].x - v[i - 1].x, v[i].y - v[i - 1].y));
    return out;
}

TEST(DenseDataset, ScaledCountsAndTheShapesOfEveryLayer) {
    QTemporaryDir dir;
    const tools::DenseSize size = tools::DenseSize{}.scaled(0.02, 2);
    EXPECT_EQ(size.windCells, 2000);
    EXPECT_EQ(size.roads, 800);
    EXPECT_EQ(size.transmissionLines, 40);
    tools::generateDenseDataset(dir.path(), size);
    EXPECT_EQ(QDir(dir.path()).entryList({"*.shp"}, QDir::Files, QDir::Name),
              (QStringList{"02_landuse.shp", "20_wind.shp", "31_protectedarea.shp", "43_roads.shp",
                           "44_transmissionline.shp"}));

    // Wind: exactly the count, squares of 5 km on one grid, power densities across the classes.
    const auto wind = open(dir, "20_wind");
    ASSERT_EQ(wind->recordCount(), 2000);
    const int power = wind->fieldIndex("WINDPWRD");
    int selected = 0;
    for (int r = 0; r < wind->recordCount(); ++r) {
        const engine::Rectangle box = wind->shapeExtent(r);
        EXPECT_DOUBLE_EQ(box.width(), 5000);
        EXPECT_DOUBLE_EQ(box.height(), 5000);
        EXPECT_DOUBLE_EQ(wind->shape(r).area(), 25e6);
        EXPECT_DOUBLE_EQ(std::fmod(box.left() - wind->shapeExtent(0).left(), 5000), 0);
        const double v = wind->value(r, power).toDouble();
        EXPECT_TRUE(v >= 100 && v <= 920) << v;
        selected += v >= 500 && v <= 800;
    }
    EXPECT_GT(selected, 200);
    EXPECT_LT(selected, 1800);
    EXPECT_GE(wind->fieldIndex("JANWS"), 0);

    // Roads: 6 segments of 1.5 km; transmission lines: 8 segments of 6 km.
    const auto roads = open(dir, "43_roads");
    ASSERT_EQ(roads->recordCount(), 800);
    for (double d : steps(roads->shape(17))) EXPECT_NEAR(d, 1500, 1e-6);
    EXPECT_EQ(steps(roads->shape(17)).size(), 6u);
    const auto lines = open(dir, "44_transmissionline");
    ASSERT_EQ(lines->recordCount(), 40);
    for (double d : steps(lines->shape(3))) EXPECT_NEAR(d, 6000, 1e-6);
    EXPECT_EQ(steps(lines->shape(3)).size(), 8u);
    int crossings = 0;
    for (int a = 0; a < 100; ++a)
        for (int b = a + 1; b < 100; ++b) crossings += roads->shape(a).intersects(roads->shape(b));
    EXPECT_GT(crossings, 0);

    // Land use: quadrilaterals of about 22 km, overlapping, eight classes about evenly.
    const auto land = open(dir, "02_landuse");
    EXPECT_EQ(land->recordCount(), 100);
    std::map<QString, int> classes;
    int overlaps = 0;
    for (int r = 0; r < land->recordCount(); ++r) {
        ++classes[land->value(r, land->fieldIndex("LAND_USE")).toString()];
        EXPECT_EQ(land->shape(r).vertexCount(), 5);
        EXPECT_NEAR(std::sqrt(land->shape(r).area()), 24500, 5000);
        if (r > 0) overlaps += land->shape(r).intersect(land->shape(r - 1)).area() > 0;
    }
    EXPECT_EQ(classes.size(), 8u);
    EXPECT_TRUE(classes.count("FARMER'S FIELD"));
    for (const auto& [name, n] : classes) EXPECT_GT(n, 3) << name.toStdString();
    EXPECT_GT(overlaps, 50);

    // Parks of 2 to 15 km radius.
    const auto parks = open(dir, "31_protectedarea");
    EXPECT_EQ(parks->recordCount(), 10);
    for (int r = 0; r < parks->recordCount(); ++r) {
        const double radius = std::sqrt(parks->shape(r).area() / M_PI);
        EXPECT_GT(radius, 1500);
        EXPECT_LT(radius, 17000);
    }
}

TEST(DenseDataset, GeographicVariantHoldsTheSameFeaturesInDegrees) {
    QTemporaryDir metres, degrees;
    const tools::DenseSize size = tools::DenseSize{}.scaled(0.01);
    tools::generateDenseDataset(metres.path(), size);
    tools::generateDenseDataset(degrees.path(), size, true);
    for (const char* layer : {"20_wind", "43_roads", "02_landuse"}) {
        const auto m = open(metres, layer), d = open(degrees, layer);
        ASSERT_EQ(m->recordCount(), d->recordCount()) << layer;
        ASSERT_TRUE(d->coordinateSystem() && d->coordinateSystem()->isGeographic()) << layer;
        EXPECT_TRUE(m->coordinateSystem()->isProjected) << layer;
        EXPECT_LT(d->extent().width(), 30) << layer;
    }
}

}  // namespace
