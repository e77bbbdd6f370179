// The engine helpers the queries rely on for speed must give the same areas as the plain
// overlays they replace, in metres and in degrees, and on several threads at once.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <thread>

#include "engine/line_buffers.h"
#include "engine/overlay.h"
#include "engine/projection.h"
#include "tests/dataset/test_shapefiles.h"

namespace {

using engine::Rectangle;
using engine::Shape;

// Zigzag lines crossing each other, around (x0, y0) in steps of `step`.
std::vector<Shape> tangle(double x0, double y0, double step) {
    std::vector<Shape> lines;
    for (int k = 0; k < 12; ++k) {
        std::vector<engine::Point> pts;
        for (int i = 0; i <= 20; ++i)
            pts.push_back({x0 + i * step, y0 + (k * 1.4 + 1.8 * std::sin(i * 0.7 + k)) * step});
        lines.push_back(Shape::lineString(pts));
        // and one across the others
        lines.push_back(Shape::lineString({{x0 + k * 1.7 * step, y0 - step},
                                           {x0 + (k * 1.7 + 3) * step, y0 + 18 * step}}));
    }
    return lines;
}

std::string multiLineWkt(const std::vector<Shape>& lines) {
    std::string wkt = "MULTILINESTRING(";
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string one = lines[i].toWkt();  // LINESTRING (...)
        wkt += (i ? "," : "") + one.substr(one.find('('));
    }
    return wkt + ")";
}

struct Lines {
    QTemporaryDir dir;
    std::shared_ptr<engine::GeoDataset> dataset;
    std::vector<int> records;
    Lines(const std::vector<Shape>& lines, const engine::CoordinateSystem& crs) {
        testdata::writeShapefile(
            dir.path(), "lines", engine::moShapeTypeLine, {{"NAME", engine::moString, 10, 0}},
            int(lines.size()), [&](int i) { return lines[i]; },
            [](int) { return std::vector<QVariant>{"x"}; }, crs);
        dataset = engine::GeoDataset::open(dir.filePath("lines.shp"));
        for (int r = 0; r < dataset->recordCount(); ++r) records.push_back(r);
    }
};

TEST(LineBuffers, EachRectangleGetsItsPartOfTheMergedBuffer) {
    const std::vector<Shape> lines = tangle(500000, 0, 500);
    const Lines file(lines, testdata::metresCrs());
    const engine::LineBuffers buffers(file.dataset, file.records, 300);
    const engine::LineBuffers::Cutter cutter(buffers);
    const Shape merged = Shape::fromWkt(multiLineWkt(lines)).buffer(300);
    int cut = 0;
    for (double x = 499000; x < 512000; x += 1370)
        for (double y = -1500; y < 11000; y += 1130) {
            const Rectangle r(x, y, x + 1000, y + 1000);
            const Shape expected = merged.intersect(r.toPolygon());
            const Shape got = cutter.within(r);
            ASSERT_EQ(expected.isNull(), got.isNull()) << x << " " << y;
            if (got.isNull()) continue;
            ++cut;
            EXPECT_EQ(got.shapeType(), engine::moShapeTypePolygon);
            EXPECT_NEAR(got.area(), expected.area(), 1e-6 * 1e6) << x << " " << y;
        }
    EXPECT_GT(cut, 50);
    // Far from every line there is nothing.
    EXPECT_TRUE(cutter.within(Rectangle(600000, 0, 601000, 1000)).isNull());
}

TEST(LineBuffers, LinesCutIntoPiecesOrManyAtOnceGiveTheSameBuffer) {
    // Lines cut at every vertex into pieces that meet end to end, a star of five pieces
    // meeting at one point, and a hundred short lines in one rectangle.
    std::vector<Shape> whole = tangle(500000, 0, 500), pieces;
    for (const Shape& line : whole) {
        const std::string wkt = line.toWkt();
        const QStringList points = QString::fromStdString(wkt.substr(wkt.find('(') + 1))
                                       .remove(')')
                                       .split(',', Qt::SkipEmptyParts);
        for (int i = 1; i < points.size(); ++i)
            pieces.push_back(Shape::fromWkt(
                ("LINESTRING(" + points[i - 1] + "," + points[i] + ")").toStdString()));
    }
    for (int k = 0; k < 5; ++k)
        pieces.push_back(Shape::lineString(
            {{503000, 4000}, {503000 + 900 * std::cos(k * 1.3), 4000 + 900 * std::sin(k * 1.3)}}));
    for (int k = 0; k < 100; ++k)
        pieces.push_back(Shape::lineString({{520000 + k * 37.0, 0}, {520000 + k * 37.0, 800}}));
    ASSERT_GT(pieces.size(), 300u);
    const Lines file(pieces, testdata::metresCrs());
    const engine::LineBuffers buffers(file.dataset, file.records, 300);
    const engine::LineBuffers::Cutter cutter(buffers);
    // Pieces joined again meet in round joins rather than overlapping round ends, whose
    // arcs' vertices differ a little.
    const Shape merged = Shape::fromWkt(multiLineWkt(pieces)).buffer(300);
    for (const Rectangle& r : {Rectangle(500000, 0, 505000, 5000), Rectangle(502500, 3500, 503500, 4500),
                               Rectangle(519500, -500, 524500, 1500), Rectangle(504000, 6000, 508000, 9000)}) {
        const Shape got = cutter.within(r);
        ASSERT_FALSE(got.isNull()) << r.left() << " " << r.bottom();
        EXPECT_NEAR(got.area() / merged.intersect(r.toPolygon()).area(), 1.0, 1e-4)
            << r.left() << " " << r.bottom();
    }
}

TEST(LineBuffers, GeographicLinesAreBufferedInMetresRightUpToTheRectangle) {
    // At 60 N a degree of longitude is about 55.8 km: lines just inside and just outside
    // 20 km east and north of a rectangle, which must reach only the former.
    const engine::CoordinateSystem degrees = testdata::degreesCrs();
    const Rectangle r(10.0, 60.0, 10.1, 60.05);
    const double east = 10.1 + 19.9 / 55.8, north = 60.05 + 19.9 / 111.4;
    const std::vector<Shape> lines = {
        Shape::lineString({{east, 59.9}, {east, 60.2}}),
        Shape::lineString({{east + 0.01, 59.9}, {east + 0.01, 60.2}}),
        Shape::lineString({{9.9, north}, {10.3, north}}),
        Shape::lineString({{9.9, north + 0.005}, {10.3, north + 0.005}}),
    };
    const Lines file(lines, degrees);
    const engine::LineBuffers buffers(file.dataset, file.records, 20000);
    const Shape got = engine::LineBuffers::Cutter(buffers).within(r);
    ASSERT_FALSE(got.isNull());

    const auto projection = engine::LocalProjection::forData(degrees, file.dataset->extent());
    ASSERT_NE(projection, nullptr);
    const Shape merged = projection->fromMetric(
        projection->toMetric(Shape::fromWkt(multiLineWkt(lines))).buffer(20000));
    const Shape expected = merged.intersect(r.toPolygon());
    ASSERT_FALSE(expected.isNull());
    EXPECT_NEAR(got.area() / expected.area(), 1.0, 1e-9);
    // Both near lines reach in: the part is well short of the whole rectangle's area.
    EXPECT_LT(got.area(), 0.5 * r.width() * r.height());
}

TEST(Overlay, CellsAreCutByRectangleOrByTheirOutline) {
    const Shape area = Shape::fromWkt(
        "POLYGON((0 0,100 0,100 100,0 100,0 0),(40 40,60 40,60 60,40 60,40 40))");
    const Shape square = testdata::square(30, 30, 20);
    const Shape diamond = Shape::fromWkt("POLYGON((50 30,70 50,50 70,30 50,50 30))");
    EXPECT_TRUE(engine::isRectangle(square));
    EXPECT_FALSE(engine::isRectangle(diamond));
    EXPECT_FALSE(engine::isRectangle(area));  // a hole
    EXPECT_FALSE(engine::isRectangle(
        Shape::fromWkt("MULTIPOLYGON(((0 0,1 0,1 1,0 1,0 0)),((2 0,3 0,3 1,2 1,2 0)))")));
    for (const Shape* cell : {&square, &diamond}) {
        const Shape cut = engine::intersectCell(area, *cell);
        EXPECT_NEAR(cut.area(), area.intersect(*cell).area(), 1e-9);
        EXPECT_EQ(cut.shapeType(), engine::moShapeTypePolygon);
    }
    EXPECT_NEAR(engine::intersectCell(area, square).area(), 400 - 100, 1e-9);
    // Cells that only touch the area, or lie in its hole, give nothing.
    EXPECT_TRUE(engine::intersectCell(area, testdata::square(100, 0, 10)).isNull());
    EXPECT_TRUE(engine::intersectCell(area, testdata::square(45, 45, 10)).isNull());
    EXPECT_EQ(engine::clipToRectangle(Shape::lineString({{-5, 5}, {5, 5}}), Rectangle(0, 0, 10, 10))
                  .shapeType(),
              engine::moShapeTypeLine);
}

TEST(Overlay, TouchingShapesGiveNoPolygonalPart) {
    const Shape a = testdata::square(0, 0, 10), b = testdata::square(10, 0, 10);
    EXPECT_TRUE(engine::polygonalPart(a.intersect(b)).isNull());
    const engine::PreparedShape prepared(a);
    EXPECT_TRUE(prepared.intersects(b));
    EXPECT_FALSE(prepared.contains(b));
    EXPECT_TRUE(prepared.contains(testdata::square(1, 1, 2)));
}

TEST(Overlay, ShapesAreReadOnSeveralThreadsAndHandedBetweenThem) {
    // Fresh shapes with holes and parts, settled, read by four threads at once, and the
    // results made there destroyed here.
    for (int round = 0; round < 20; ++round) {
        const Shape holes = Shape::fromWkt(
            "MULTIPOLYGON(((0 0,50 0,50 50,0 50,0 0),(10 10,20 10,20 20,10 20,10 10)),"
            "((60 0,90 0,90 30,60 30,60 0),(70 10,80 10,80 20,70 20,70 10)))");
        const Shape lines = Shape::fromWkt("MULTILINESTRING((0 25,90 25),(45 -5,45 60))");
        holes.settle();
        lines.settle();
        std::vector<Shape> made(4);
        std::vector<double> areas(4);
        {
            std::vector<std::jthread> threads;
            for (int t = 0; t < 4; ++t)
                threads.emplace_back([&, t] {
                    const Shape cell = testdata::square(5 + t * 20, 5, 30);
                    const Shape buffer = lines.buffer(3);
                    made[t] = engine::intersectCell(holes.difference(buffer), cell);
                    areas[t] = holes.intersect(cell).area() - holes.intersect(cell).intersect(buffer).area();
                });
        }
        for (int t = 0; t < 4; ++t) EXPECT_NEAR(made[t].area(), areas[t], 1e-6) << t;
    }
}

TEST(Projection, MetresOnlyForGeographicData) {
    const engine::Rectangle extent(30, 10, 32, 12);
    EXPECT_EQ(engine::LocalProjection::forData(testdata::metresCrs(), extent), nullptr);
    EXPECT_EQ(engine::LocalProjection::forData(std::nullopt, extent), nullptr);
    const auto p = engine::LocalProjection::forData(testdata::degreesCrs(), extent);
    ASSERT_NE(p, nullptr);

    // A degree of latitude near 11 N is about 110.6 km; a round trip keeps the coordinates.
    const Shape meridian = Shape::lineString({{31, 10.5}, {31, 11.5}});
    const engine::Rectangle m = p->toMetric(meridian).extent();
    EXPECT_NEAR(m.height(), 110.6e3, 0.3e3);
    const engine::Rectangle back = p->fromMetric(p->toMetric(meridian)).extent();
    EXPECT_NEAR(back.bottom(), 10.5, 1e-9);
    EXPECT_NEAR(back.left(), 31, 1e-9);

    // A cell of 0.1 by 0.1 degrees at 11 N on the WGS 84 ellipsoid: 120.868 km2.
    const engine::AreaMeasure area(testdata::degreesCrs(), extent);
    EXPECT_NEAR(area.squareMetres(testdata::square(31, 11, 0.1)) / 1e6, 120.868, 0.01);
    const engine::AreaMeasure planar(testdata::metresCrs(), extent);
    EXPECT_DOUBLE_EQ(planar.squareMetres(testdata::square(0, 0, 1000)), 1e6);
}

}  // namespace
