// The engine helpers the queries rely on for speed must give the same areas as the plain
// overlays they replace; geographic data are measured in metres.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/overlay.h"
#include "engine/projection.h"
#include "tests/dataset/test_shapefiles.h"

namespace {

using engine::Shape;

// A tangle of buffered zigzag lines: a large polygon with holes and many vertices.
Shape tangle() {
    std::vector<Shape> lines;
    for (int k = 0; k < 30; ++k) {
        std::vector<engine::Point> pts;
        for (int i = 0; i <= 40; ++i)
            pts.push_back({i * 500.0, k * 700.0 + 900 * std::sin(i * 0.7 + k)});
        lines.push_back(Shape::lineString(pts));
    }
    std::vector<const Shape*> refs;
    for (const Shape& l : lines) refs.push_back(&l);
    return engine::bufferAll(refs, 300);
}

TEST(Overlay, BufferAllIsTheUnionOfTheBuffers) {
    const Shape a = Shape::lineString({{0, 0}, {1000, 0}});
    const Shape b = Shape::lineString({{500, -500}, {500, 500}});
    const Shape merged = engine::bufferAll({&a, &b}, 100);
    EXPECT_NEAR(merged.area(), a.buffer(100).unionWith(b.buffer(100)).area(), 1e-6);
    EXPECT_TRUE(engine::bufferAll({}, 100).isNull());
}

TEST(Overlay, SubdividedPolygonGivesTheSameIntersectionsAndDifferences) {
    const Shape zone = tangle();
    ASSERT_GT(zone.vertexCount(), 2000);
    const engine::SubdividedShape pieces(zone, 128);
    EXPECT_GT(pieces.pieceCount(), 10);
    for (double x = -1000; x < 21000; x += 1370) {
        for (double y = -1500; y < 22000; y += 1130) {
            const Shape cell = testdata::square(x, y, 1000);
            const Shape direct = cell.intersect(zone);
            const Shape cut = pieces.intersect(cell);
            ASSERT_EQ(direct.isNull(), cut.isNull()) << x << " " << y;
            if (!direct.isNull()) {
                EXPECT_NEAR(cut.area(), direct.area(), 1e-6) << x << " " << y;
                EXPECT_EQ(cut.shapeType(), engine::moShapeTypePolygon);
            }
            const Shape rest = pieces.subtractFrom(cell);
            const Shape plain = cell.difference(zone);
            ASSERT_EQ(rest.isNull(), plain.isNull()) << x << " " << y;
            if (!plain.isNull()) {
                EXPECT_NEAR(rest.area(), plain.area(), 1e-6) << x << " " << y;
            }
        }
    }
}

TEST(Overlay, TouchingShapesGiveNoPolygonalPart) {
    const Shape a = testdata::square(0, 0, 10), b = testdata::square(10, 0, 10);
    EXPECT_TRUE(engine::polygonalPart(a.intersect(b)).isNull());
    const engine::PreparedShape prepared(a);
    EXPECT_TRUE(prepared.intersects(b));
    EXPECT_FALSE(prepared.contains(b));
    EXPECT_TRUE(prepared.contains(testdata::square(1, 1, 2)));
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
