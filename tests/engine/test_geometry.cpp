// Shapes, rectangles, collections and renderer classes on real GEOS geometry.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/renderer.h"
#include "engine/shape.h"
#include "engine/string_collection.h"

using namespace engine;

namespace {
Shape square(double x0, double y0, double size) {
    return Shape::polygon({{x0, y0}, {x0 + size, y0}, {x0 + size, y0 + size}, {x0, y0 + size}});
}
}  // namespace

TEST(Geometry, ConstructorsAndKinds) {
    EXPECT_EQ(Shape::point(1, 2).shapeType(), moShapeTypePoint);
    EXPECT_EQ(Shape::lineString({{0, 0}, {3, 4}}).shapeType(), moShapeTypeLine);
    EXPECT_EQ(square(0, 0, 2).shapeType(), moShapeTypePolygon);
    EXPECT_EQ(Shape::fromWkt("MULTIPOLYGON(((0 0,1 0,1 1,0 0)),((5 5,6 5,6 6,5 5)))").shapeType(),
              moShapeTypePolygon);
    EXPECT_EQ(Shape::fromWkt("MULTILINESTRING((0 0,1 1),(2 2,3 3))").shapeType(), moShapeTypeLine);
    EXPECT_EQ(Shape::fromWkt("MULTIPOINT((0 0),(1 1))").shapeType(), moShapeTypePoint);
    EXPECT_EQ(Shape().shapeType(), 0);
    EXPECT_EQ(Shape::fromWkt("POLYGON EMPTY").shapeType(), 0);
    EXPECT_THROW(Shape::fromWkt("POLYGON((0 0, 1"), EngineError);
    // An open ring is closed.
    EXPECT_EQ(square(0, 0, 2).vertexCount(), 5);
    EXPECT_EQ(Shape::fromWkt(square(0, 0, 2).toWkt()).area(), 4);
}

TEST(Geometry, MeasuresAndCopies) {
    const Shape s = square(10, 20, 4);
    EXPECT_DOUBLE_EQ(s.area(), 16);
    EXPECT_DOUBLE_EQ(Shape::lineString({{0, 0}, {3, 4}}).area(), 0);
    EXPECT_DOUBLE_EQ(s.centroid().x, 12);
    EXPECT_DOUBLE_EQ(s.centroid().y, 22);
    EXPECT_DOUBLE_EQ(Shape::point(0, 0).distanceTo(Shape::point(3, 4)), 5);
    EXPECT_DOUBLE_EQ(s.distanceTo(Shape::point(10, 30)), 6);
    EXPECT_EQ(s.extent(), Rectangle(10, 20, 14, 24));
    Shape copy = s;
    Shape moved = std::move(copy);
    EXPECT_TRUE(copy.isNull());
    EXPECT_DOUBLE_EQ(moved.area(), 16);
    EXPECT_THROW(Shape().centroid(), EngineError);
}

TEST(Geometry, OverlaysGiveKnownAreasOrNothing) {
    const Shape a = square(0, 0, 10), b = square(5, 0, 10);
    EXPECT_NEAR(a.unionWith(b).area(), 150, 1e-9);
    EXPECT_NEAR(a.difference(b).area(), 50, 1e-9);
    EXPECT_NEAR(a.intersect(b).area(), 50, 1e-9);
    EXPECT_EQ(a.intersect(b).shapeType(), moShapeTypePolygon);

    // Disjoint, contained and null operands give nothing where nothing is left.
    EXPECT_TRUE(a.intersect(square(20, 20, 1)).isNull());
    EXPECT_TRUE(square(2, 2, 1).difference(a).isNull());
    EXPECT_TRUE(a.intersect(Shape()).isNull());
    EXPECT_TRUE(Shape().difference(a).isNull());
    EXPECT_NEAR(a.difference(Shape()).area(), 100, 1e-9);
    EXPECT_NEAR(Shape().unionWith(a).area(), 100, 1e-9);
    // Touching squares meet in a line only.
    EXPECT_EQ(a.intersect(square(10, 0, 5)).shapeType(), moShapeTypeLine);

    // The working extent clips the result.
    const Rectangle work(0, 0, 12, 5);
    EXPECT_NEAR(a.unionWith(b, &work).area(), 60, 1e-9);
    EXPECT_NEAR(a.intersect(b, &work).area(), 25, 1e-9);
    EXPECT_NEAR(a.difference(b, &work).area(), 25, 1e-9);
}

TEST(Geometry, BufferAreas) {
    // A point buffer is a 32-gon (8 segments a quarter circle) of radius 10.
    const double circle = 16 * 100 * std::sin(2 * M_PI / 32);
    EXPECT_NEAR(Shape::point(0, 0).buffer(10).area(), circle, 1e-6);
    // A line of length 100 buffered by 10: a 100 x 20 band with round ends.
    EXPECT_NEAR(Shape::lineString({{0, 0}, {100, 0}}).buffer(10).area(), 2000 + circle, 1e-6);
    EXPECT_TRUE(square(0, 0, 2).buffer(-5).isNull());
    EXPECT_TRUE(Shape().buffer(5).isNull());
}

TEST(Geometry, SelfIntersectingPolygonsStillOverlay) {
    const Shape bowtie = Shape::fromWkt("POLYGON((0 0,10 10,10 0,0 10,0 0))");
    const Shape r = bowtie.intersect(square(0, 0, 10));
    ASSERT_FALSE(r.isNull());
    EXPECT_NEAR(r.area(), 50, 1e-6);
}

TEST(Geometry, Rectangles) {
    Rectangle r(0, 0, 10, 4);
    r.scaleRectangle(0.5);
    EXPECT_EQ(r, Rectangle(2.5, 1, 7.5, 3));
    r.offset(1, -1);
    EXPECT_EQ(r, Rectangle(3.5, 0, 8.5, 2));
    EXPECT_TRUE(r.contains({3.5, 1}));
    EXPECT_FALSE(r.contains({3, 1}));
    EXPECT_TRUE(r.intersects(Rectangle(8.5, 2, 9, 3)));  // touching corners meet
    EXPECT_FALSE(r.intersects(Rectangle(9, 0, 10, 1)));
    Rectangle u;
    u.unite(Rectangle(1, 1, 2, 2));
    u.unite(Rectangle(-1, 0, 0, 5));
    EXPECT_EQ(u, Rectangle(-1, 0, 2, 5));
    EXPECT_DOUBLE_EQ(Rectangle(0, 0, 3, 2).toPolygon().area(), 6);
    EXPECT_TRUE(Rectangle(0, 0, 0, 5).isEmpty());
}

TEST(Collections, StringCollectionKeepsFirstOrderOnce) {
    StringCollection c;
    for (const char* s : {"FOREST", "WATER", "FOREST", " forest ", "WATER"}) c.add(s);
    EXPECT_EQ(c.items(), QStringList({"FOREST", "WATER", " forest "}));
    EXPECT_EQ(c.item(2), " forest ");
}

TEST(Renderers, ValueOnABreakBelongsToTheClassAbove) {
    ClassBreaksRenderer wind;
    wind.setBreakCount(6);
    const double breaks[] = {200, 300, 400, 500, 600, 800};
    for (int i = 0; i < 6; ++i) wind.setBreak(i, breaks[i]);
    EXPECT_EQ(wind.classOf(199.99), 0);
    EXPECT_EQ(wind.classOf(200), 1);
    EXPECT_EQ(wind.classOf(799), 5);
    EXPECT_EQ(wind.classOf(800), 6);
    EXPECT_EQ(wind.classOf(5000), 6);
    wind.symbol(6).color = rgb(0, 0, 255);  // BreakCount + 1 symbols
    EXPECT_THROW(wind.symbol(7), std::out_of_range);

    ClassBreaksRenderer solar;
    solar.setBreakCount(2);
    solar.setBreak(0, 1.9999999999);
    solar.setBreak(1, 2.5);
    EXPECT_EQ(solar.classOf(2.0), 1);
    EXPECT_EQ(solar.classOf(1.99), 0);

    ValueMapRenderer landUse;
    landUse.setValueCount(2);
    landUse.setValue(0, " forest ");
    landUse.setValue(1, "WATER");
    EXPECT_EQ(landUse.indexOf("WATER"), 1);
    EXPECT_EQ(landUse.indexOf("forest"), -1);
    EXPECT_EQ(landUse.value(0), " forest ");
}
