// The map control, legend and scale bar drawn for real into images, driven offscreen.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "engine/scale_bar.h"
#include "engine_test_support.h"
#include "mapview/legend.h"
#include "mapview/map.h"

using namespace engine;
using namespace enginetest;

namespace {

Shape rect(double x0, double y0, double x1, double y1) {
    return Shape::polygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
}

Symbol fill(ColorNumber c, bool outline = false) {
    Symbol s;
    s.color = c;
    s.outline = outline;
    return s;
}

const ColorNumber red = rgb(255, 0, 0), blue = rgb(0, 0, 255), green = rgb(0, 200, 0);

// Two polygon layers on a 40 x 20 map: A (0..10 x 0..10) filled red, B (20..30 x 0..10) outline
// only in blue, and an invisible line layer.
struct MapFixture : ::testing::Test {
    QTemporaryDir dir;
    Map map;
    std::shared_ptr<MapLayer> a, b, lines;

    void SetUp() override {
        const TableDesc table = {{"NAME", moString, 10, 0}, {"V", moDouble, 10, 1}};
        a = std::make_shared<MapLayer>(GeoDataset::open(
            writeShapefile(dir.path(), "a", moShapeTypePolygon, table, {{rect(0, 0, 10, 10), {"A", 1.0}}})));
        b = std::make_shared<MapLayer>(GeoDataset::open(
            writeShapefile(dir.path(), "b", moShapeTypePolygon, table, {{rect(20, 0, 30, 10), {"B", 2.0}}})));
        lines = std::make_shared<MapLayer>(GeoDataset::open(writeShapefile(
            dir.path(), "l", moShapeTypeLine, table, {{Shape::lineString({{0, 15}, {40, 15}}), {"L", 3.0}}})));
        a->symbol = fill(red);
        b->symbol.style = 1;
        b->symbol.outlineColor = blue;
        lines->visible = false;
        map.resize(200, 100);
        map.addLayer(lines);
        map.addLayer(b);
        map.addLayer(a);  // position 0, on top
        map.setExtent(Rectangle(0, 0, 40, 20));
    }

    QImage image() { return map.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // The pixel of a map point.
    QColor at(const QImage& img, double x, double y) {
        const QPointF p = map.fromMapPoint({x, y});
        return img.pixelColor(int(p.x()), int(p.y()));
    }
};

}  // namespace

TEST_F(MapFixture, RendersFillsOutlinesAndShapesOverLayers) {
    QStringList order;
    QObject::connect(&map, &Map::beforeLayerDraw, [&](int i) {
        order << QString("L%1").arg(i);
        if (i == 2) {  // the first notification: shapes given now are drawn over the areas
            map.drawShape(rect(2, 2, 4, 4), fill(rgb(0, 0, 0)));
            map.drawShape(rect(32, 2, 38, 8), fill(green));
        }
    });
    QObject::connect(&map, &Map::beforeTrackingLayerDraw, [&] { order << "BT"; });
    QObject::connect(&map, &Map::afterTrackingLayerDraw, [&] { order << "AT"; });
    map.refresh();
    EXPECT_EQ(order, QStringList({"L2", "L1", "L0", "BT", "AT"}));  // invisible layers too

    const QImage img = image();
    EXPECT_EQ(at(img, 5, 8), QColor(255, 0, 0));
    EXPECT_EQ(at(img, 3, 3), QColor(0, 0, 0));      // drawn shape over layer A
    EXPECT_EQ(at(img, 35, 5), QColor(0, 200, 0));   // drawn shape
    EXPECT_EQ(at(img, 25, 5), QColor(255, 255, 255));  // outline only: inside stays white
    EXPECT_EQ(at(img, 5, 15), QColor(255, 255, 255));  // invisible line layer
    // B's left edge (x = 20 is pixel column 100) is blue.
    const QPointF edge = map.fromMapPoint({20, 5});
    bool blueEdge = false;
    for (int dx = -1; dx <= 1; ++dx)
        blueEdge |= img.pixelColor(int(edge.x()) + dx, int(edge.y())) == QColor(0, 0, 255);
    EXPECT_TRUE(blueEdge);

    // Outside a redraw drawShape does nothing; the next redraw forgets the shapes of the last.
    map.drawShape(rect(10, 10, 40, 20), fill(green));
    QObject::disconnect(&map, &Map::beforeLayerDraw, nullptr, nullptr);
    map.refresh();
    EXPECT_EQ(at(image(), 35, 5), QColor(255, 255, 255));
    EXPECT_EQ(at(image(), 35, 15), QColor(255, 255, 255));
}

TEST_F(MapFixture, RenderersChooseSymbolsByValue) {
    auto breaks = std::make_shared<ClassBreaksRenderer>();
    breaks->field = "v";
    breaks->setBreakCount(1);
    breaks->setBreak(0, 2.0);  // A (1.0) below, B (2.0) on the break: the class above
    breaks->symbol(0) = fill(green);
    breaks->symbol(1) = fill(blue);
    a->renderer = breaks;
    b->renderer = breaks;
    map.refresh();
    QImage img = image();
    EXPECT_EQ(at(img, 5, 5), QColor(0, 200, 0));
    EXPECT_EQ(at(img, 25, 5), QColor(0, 0, 255));

    auto values = std::make_shared<ValueMapRenderer>();
    values->field = "NAME";
    values->setValueCount(1);
    values->setValue(0, "B");
    values->symbol(0) = fill(red);
    values->defaultSymbol = fill(rgb(175, 175, 177));
    a->renderer = values;
    b->renderer = values;
    map.refresh();
    img = image();
    EXPECT_EQ(at(img, 5, 5), QColor(175, 175, 177));
    EXPECT_EQ(at(img, 25, 5), QColor(255, 0, 0));

    // Labels: the layer's own symbol underneath, the text on top (black by default).
    auto labels = std::make_shared<LabelRenderer>();
    labels->field = "NAME";
    labels->symbol(0).font.setPointSize(20);
    a->renderer = labels;
    map.refresh();
    img = image();
    EXPECT_EQ(at(img, 1, 9), QColor(255, 0, 0));
    int dark = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < 60; ++x) dark += qGray(img.pixel(x, y)) < 60;
    EXPECT_GT(dark, 10);
}

TEST_F(MapFixture, MarkersLinesAndSubPixelFeaturesShow) {
    const TableDesc table = {{"N", moLong, 5, 0}};
    auto points = std::make_shared<MapLayer>(GeoDataset::open(
        writeShapefile(dir.path(), "p", moShapeTypePoint, table, {{Shape::point(15, 5), {1}}})));
    points->symbol = fill(blue);
    points->symbol.style = 1;  // square
    points->symbol.size = 10;
    lines->visible = true;
    lines->symbol.color = green;
    lines->symbol.size = 2;
    // A polygon far smaller than a pixel still shows as one pixel.
    auto speck = std::make_shared<MapLayer>(GeoDataset::open(writeShapefile(
        dir.path(), "s", moShapeTypePolygon, table, {{rect(35.01, 5.01, 35.02, 5.02), {1}}})));
    speck->symbol = fill(red);
    map.addLayer(points);
    map.addLayer(speck);
    map.refresh();
    const QImage img = image();
    EXPECT_EQ(at(img, 15, 5), QColor(0, 0, 255));
    EXPECT_EQ(at(img, 15.8, 5.8), QColor(0, 0, 255));  // 4 pixels from the centre: in the square
    EXPECT_EQ(at(img, 20 - 0.1, 15), QColor(0, 200, 0));
    const QPointF speckAt = map.fromMapPoint({35.015, 5.015});
    int red = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            red += img.pixelColor(int(speckAt.x()) + dx, int(speckAt.y()) + dy) == QColor(255, 0, 0);
    EXPECT_EQ(red, 1);
}

TEST_F(MapFixture, ShapesDrawnDuringARedrawLieOverAreasAndLinesButUnderMarkers) {
    const TableDesc table = {{"N", moLong, 5, 0}};
    auto points = std::make_shared<MapLayer>(GeoDataset::open(
        writeShapefile(dir.path(), "p", moShapeTypePoint, table, {{Shape::point(5, 15), {1}}})));
    points->symbol = fill(blue);
    points->symbol.style = 1;  // square
    points->symbol.size = 10;
    lines->visible = true;
    lines->symbol.color = red;
    lines->symbol.size = 2;
    map.addLayer(points);  // on top
    QObject::connect(&map, &Map::beforeLayerDraw, [&](int i) {
        if (i == map.layerCount() - 1) map.drawShape(rect(0, 5, 40, 18), fill(green));
    });
    map.refresh();
    const QImage img = image();
    EXPECT_EQ(at(img, 5, 7), QColor(0, 200, 0));    // over polygon layer A
    EXPECT_EQ(at(img, 25, 15), QColor(0, 200, 0));  // over the line
    EXPECT_EQ(at(img, 5, 15), QColor(0, 0, 255));   // under the marker
}

// A result drawn in exactly the colour of the layer under it (a wind result over the wind layer)
// must still be seen: compared with the same map without it, its edge and its inside look
// different, and a boundary line under it stays visible across it.
TEST_F(MapFixture, ResultsInTheirLayersOwnColourStandOutAndBoundariesShowThrough) {
    map.resize(400, 200);
    map.setExtent(Rectangle(0, 0, 40, 20));
    a->symbol = fill(red);
    b->symbol.size = 1;
    // The result covers the right half of A and reaches over B's left edge.
    const Shape result = rect(5, 2, 24, 8);
    map.refresh();
    const QImage without = image();
    QObject::connect(&map, &Map::beforeLayerDraw, [&](int i) {
        if (i == map.layerCount() - 1) map.drawShape(result, fill(red));
    });
    map.refresh();
    const QImage with = image();

    const QRect inside = QRectF(map.fromMapPoint({6, 7}), map.fromMapPoint({9.5, 3})).toRect();
    int changed = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            changed += with.pixel(x, y) != without.pixel(x, y);
    const int pixels = inside.width() * inside.height();
    EXPECT_GT(changed, pixels / 20) << "the result is lost in the layer of its own colour";
    EXPECT_LT(changed, pixels / 2) << "the class colour no longer shows";

    // Across the result's top edge inside A: a dark band between the red inside and the red
    // layer outside.
    const QPointF top = map.fromMapPoint({7, 8});
    int darkest = 255;
    for (int dy = -4; dy <= 4; ++dy)
        darkest = std::min(darkest, QColor(with.pixel(int(top.x()), int(top.y()) + dy)).value());
    EXPECT_LT(darkest, 60);

    // B's left edge (x = 20) crosses the result and is still blue there.
    const QPointF edge = map.fromMapPoint({20, 5});
    bool blueEdge = false;
    for (int dx = -1; dx <= 1; ++dx)
        blueEdge |= with.pixelColor(int(edge.x()) + dx, int(edge.y())) == QColor(0, 0, 255);
    EXPECT_TRUE(blueEdge);
}

TEST_F(MapFixture, NewLayersShowAllLayersUntilAnExtentIsSet) {
    Map fresh;
    fresh.resize(200, 100);
    fresh.addLayer(a);
    fresh.addLayer(b);
    const Rectangle full = fresh.fullExtent();
    EXPECT_DOUBLE_EQ(fresh.extent().left(), full.left());  // widened to 2:1 in height only
    EXPECT_DOUBLE_EQ(fresh.extent().right(), full.right());
    EXPECT_GT(full.right(), 30);
    fresh.setExtent(Rectangle(0, 0, 10, 5));
    fresh.addLayer(lines);
    EXPECT_EQ(fresh.extent(), Rectangle(0, 0, 10, 5));
    fresh.clearLayers();
    fresh.addLayer(b);
    EXPECT_DOUBLE_EQ(fresh.extent().center().x, 25);
}

TEST_F(MapFixture, ExtentKeepsTheControlsAspect) {
    map.setExtent(Rectangle(0, 0, 10, 10));  // widened to 2:1 about its centre
    EXPECT_EQ(map.extent(), Rectangle(-5, 0, 15, 10));
    EXPECT_DOUBLE_EQ(map.toMapPoint(0, 0).x, -5);
    EXPECT_DOUBLE_EQ(map.toMapPoint(0, 0).y, 10);
    EXPECT_DOUBLE_EQ(map.toMapPoint(200, 100).x, 15);
    EXPECT_DOUBLE_EQ(map.fromMapPoint({5, 5}).x(), 100);
    map.setExtent(Rectangle(0, 0, 40, 5));
    EXPECT_EQ(map.extent(), Rectangle(0, -7.5, 40, 12.5));
    map.centerAt({100, 100});
    EXPECT_DOUBLE_EQ(map.extent().center().x, 100);
    EXPECT_DOUBLE_EQ(map.extent().width(), 40);

    const Rectangle full = map.fullExtent();  // every layer, invisible ones too, with a margin
    EXPECT_LT(full.left(), 0);
    EXPECT_GT(full.right(), 40);
    EXPECT_GT(full.top(), 15);
    EXPECT_EQ(map.layerByName("b"), b);
    EXPECT_EQ(map.layerByName("nope"), nullptr);
    EXPECT_NEAR(map.widthInTwips(), 200 * 1440.0 / map.logicalDpiX(), 1e-9);

    // Printing: a target of another shape widens the extent, with the notifications.
    QSignalSpy before(&map, &Map::beforeLayerDraw);
    QImage page(400, 400, QImage::Format_RGB32);
    QPainter p(&page);
    map.setExtent(Rectangle(0, 0, 40, 20));
    before.clear();
    map.outputMap(p, QRectF(0, 0, 400, 400));
    p.end();
    EXPECT_EQ(before.count(), 3);
    // 40 x 20 in a square: 40 x 40 about the centre, so A fills x 0..100, y 200..300.
    EXPECT_EQ(page.pixelColor(50, 250), QColor(255, 0, 0));
    EXPECT_EQ(page.pixelColor(50, 150), QColor(255, 255, 255));
}

TEST_F(MapFixture, TrackingTellsClicksFromDragsAndPanMovesTheExtent) {
    map.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));
    std::vector<Rectangle> tracked;
    QStringList events;
    QObject::connect(&map, &Map::rectangleTracked, [&](const Rectangle& r) {
        tracked.push_back(r);
        events << "tracked";
    });
    QObject::connect(&map, &Map::mouseUp, [&] { events << "up"; });
    auto tool = QObject::connect(&map, &Map::mouseDown, [&] { map.trackRectangle(); });

    QTest::mousePress(&map, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseMove(&map, QPoint(60, 40));
    QTest::mouseRelease(&map, Qt::LeftButton, {}, QPoint(120, 60));
    ASSERT_EQ(tracked.size(), 1u);
    EXPECT_EQ(tracked[0], Rectangle(4, 8, 24, 18));  // 5 pixels a unit
    EXPECT_EQ(events, QStringList({"tracked", "up"}));

    QTest::mousePress(&map, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseRelease(&map, Qt::LeftButton, {}, QPoint(54, 46));  // under 5 pixels: a click
    ASSERT_EQ(tracked.size(), 2u);
    EXPECT_TRUE(tracked[1].isEmpty());
    EXPECT_EQ(map.extent(), Rectangle(0, 0, 40, 20));

    QObject::disconnect(tool);
    QObject::connect(&map, &Map::mouseDown, [&] { map.pan(); });
    QTest::mousePress(&map, Qt::LeftButton, {}, QPoint(100, 50));
    QTest::mouseMove(&map, QPoint(120, 40));
    QTest::mouseRelease(&map, Qt::LeftButton, {}, QPoint(120, 40));
    EXPECT_EQ(map.extent(), Rectangle(-4, -2, 36, 18));  // map follows the pointer
    EXPECT_EQ(tracked.size(), 2u);

    map.setMousePointer(moZoom);
    EXPECT_EQ(map.mousePointer(), moZoom);
    map.setMousePointer(moPan);
    EXPECT_EQ(map.cursor().shape(), Qt::OpenHandCursor);
    map.setMousePointer(moHourglass);
    EXPECT_EQ(map.cursor().shape(), Qt::WaitCursor);
}

TEST_F(MapFixture, LegendListsLayersAndSwitchesThem) {
    Legend legend;
    legend.setMapSource(&map);
    EXPECT_TRUE(legend.loadLegend(true));
    EXPECT_EQ(legend.entryCount(), 3);
    legend.adjustSize();
    legend.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&legend));
    QSignalSpy switched(&legend, &Legend::afterSetLayerVisible);

    // The first row is the heading of layer 0 (A): a click there switches it off.
    QTest::mouseClick(&legend, Qt::LeftButton, {}, QPoint(8, 8));
    ASSERT_EQ(switched.count(), 1);
    EXPECT_EQ(switched[0][0].toInt(), 0);
    EXPECT_FALSE(switched[0][1].toBool());
    EXPECT_FALSE(a->visible);
    legend.setLayerVisibleFromUser(2, true);
    EXPECT_TRUE(lines->visible);
    EXPECT_EQ(switched.count(), 2);

    const QImage img = legend.toImage();
    EXPECT_GE(img.height(), 6 * 15);  // three headings and three swatches
    QTemporaryDir out;
    EXPECT_TRUE(legend.saveToBitmap(out.filePath("legend.bmp")));
    EXPECT_FALSE(QImage(out.filePath("legend.bmp")).isNull());
    legend.clear();
    EXPECT_EQ(legend.entryCount(), 0);
}

TEST(ScaleBar, RoundDistancesForMetresAndDegrees) {
    ScaleBar bar;
    bar.mapExtent = Rectangle(0, 0, 100000, 50000);  // 100 km across 500 page units
    bar.pageExtent = QRectF(0, 0, 500, 250);
    const QRectF target(0, 0, 500, 40);
    EXPECT_DOUBLE_EQ(bar.barDistance(target), 50);  // at most 60 km fit
    bar.scaleBarUnits = 2;
    EXPECT_DOUBLE_EQ(bar.barDistance(target), 20);  // 37.3 miles
    bar.scaleBarUnits = 4;
    EXPECT_DOUBLE_EQ(bar.barDistance(target), 50000);

    // One degree at the equator is 111.3 km; at 60 degrees about half of it.
    bar.scaleBarUnits = 3;
    bar.mapUnits = 0;
    bar.mapExtent = Rectangle(0, -0.5, 1, 0.5);
    EXPECT_DOUBLE_EQ(bar.barDistance(target), 50);  // 66.8 km fit
    bar.mapExtent = Rectangle(0, 59.5, 1, 60.5);
    EXPECT_DOUBLE_EQ(bar.barDistance(target), 20);  // 33.5 km fit

    QImage img(500, 40, QImage::Format_RGB32);
    QPainter p(&img);
    bar.paint(p, target);
    p.end();
    bool grey = false;
    for (int x = 0; x < 500; ++x) grey |= img.pixelColor(x, 10) == QColor(128, 128, 128);
    EXPECT_TRUE(grey);
}
