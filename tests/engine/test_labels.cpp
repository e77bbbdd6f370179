// Labels written last over everything, a label that would overlap a placed one left out (larger
// features first), each on a light halo; markers set off by a ring from areas of their colour.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <algorithm>

#include "engine/label_placement.h"
#include "engine/renderer.h"
#include "engine_test_support.h"
#include "mapview/map.h"
#include "placed_labels.h"
#include "tests/dataset/test_shapefiles.h"

using namespace engine;

namespace {

QStringList texts(const std::vector<PlacedLabel>& placed) {
    QStringList t;
    for (const PlacedLabel& p : placed) t << p.text;
    return t;
}

bool anyOverlap(const std::vector<PlacedLabel>& placed) {
    for (size_t i = 0; i < placed.size(); ++i)
        for (size_t j = i + 1; j < placed.size(); ++j)
            if (placed[i].box.intersects(placed[j].box)) return true;
    return false;
}

QImage render(Map& map) {
    map.refresh();
    return map.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool dark(QRgb c) { return std::max({qRed(c), qGreen(c), qBlue(c)}) < 70; }

// Inside a label's box: its text (dark) and its halo (light, where the fill beneath is not).
void expectTextOnHalo(const QImage& img, const QRectF& box, const QString& text) {
    int textPixels = 0, haloPixels = 0;
    const QRect r = box.toAlignedRect() & img.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb c = img.pixel(x, y);
            textPixels += dark(c);
            haloPixels += qGreen(c) > 180 && qBlue(c) > 180;
        }
    EXPECT_GT(textPixels, 10) << text.toStdString();
    EXPECT_GT(haloPixels, 10) << text.toStdString();
}

}  // namespace

TEST(LabelPlacement, LargerFeaturesFirstAndAnOverlappingLabelLeftOut) {
    QFont font;
    font.setPixelSize(16);
    LabelPlacement labels(QRectF(0, 0, 500, 400));
    labels.add("Small", {100, 100}, 1, font, Qt::black);
    labels.add("Large", {110, 104}, 10, font, Qt::black);
    labels.add("Far", {400, 100}, 0.5, font, Qt::black);
    labels.add("Tie one", {100, 300}, 5, font, Qt::black);
    labels.add("Tie two", {120, 300}, 5, font, Qt::black);
    labels.add("Cut off", {495, 200}, 20, font, Qt::black);
    const std::vector<PlacedLabel> placed = labels.place();
    // The larger feature wins the place; of two equal ones, the one added first; a label that
    // would cross the edge is left out.
    EXPECT_EQ(texts(placed), QStringList({"Large", "Tie one", "Far"}));
    EXPECT_FALSE(anyOverlap(placed));
    // A box holds its text and its halo, centred on the label's point.
    const QFontMetricsF fm(font);
    EXPECT_NEAR(placed[0].box.width(), fm.horizontalAdvance("Large") + 2 * haloWidth(16), 1e-9);
    EXPECT_GE(placed[0].box.height(), fm.height());
    EXPECT_NEAR(placed[0].box.center().x(), 110, 1e-9);
    EXPECT_NEAR(placed[0].box.center().y(), 104, 1e-9);
}

// 177 labelled states across the world, drawn into a map of ordinary size.
class WorldLabels : public ::testing::Test {
  protected:
    void SetUp() override {
        testdata::writeWorldStates(dir.path());
        states =
            std::make_shared<MapLayer>(GeoDataset::open(dir.filePath("38_subcountrybnd1.shp")));
        auto labels = std::make_shared<LabelRenderer>();
        labels->field = "NAME";
        labels->allowDuplicates = true;
        labels->symbol(0).font = QFont("MS Sans Serif", 12, QFont::Bold);
        states->renderer = labels;
        states->symbol.style = 1;  // outline only
        states->symbol.outline = false;
        map.resize(1000, 500);
        map.addLayer(states);
        map.setExtent(Rectangle(-180, -90, 180, 90));
    }

    QTemporaryDir dir;
    std::shared_ptr<MapLayer> states;
    Map map;
};

TEST_F(WorldLabels, NoLabelIsWrittenOverAnotherAndTheLargestStateKeepsItsName) {
    ASSERT_EQ(states->recordCount(), 177);
    const std::vector<PlacedLabel> placed = enginetest::placedLabels(map);
    EXPECT_FALSE(anyOverlap(placed));
    for (const PlacedLabel& p : placed) EXPECT_TRUE(QRectF(0, 0, 1000, 500).contains(p.box));
    // Far from all fit at this size, yet the map is not left bare.
    EXPECT_LT(placed.size(), 177u);
    EXPECT_GT(placed.size(), 25u);
    // The largest state comes first.
    ASSERT_FALSE(placed.empty());
    EXPECT_EQ(placed[0].text, states->geoDataset()->value(0, 0).toString());

    // Nothing but the placed labels is written: all ink lies in their boxes.
    const QImage img = render(map);
    int stray = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            if (img.pixel(x, y) == qRgb(255, 255, 255)) continue;
            bool inBox = false;
            for (const PlacedLabel& p : placed)
                inBox |= p.box.adjusted(-2, -2, 2, 2).contains(x, y);
            stray += !inBox;
        }
    EXPECT_EQ(stray, 0);
}

TEST_F(WorldLabels, LabelsAreWrittenAboveFillsAndDrawnShapesOnAHalo) {
    states->symbol.style = 0;  // filled dark blue
    states->symbol.color = rgb(0, 0, 120);
    // A shape drawn at the first notification goes over every layer, as query results do.
    QObject::connect(&map, &Map::beforeLayerDraw, [this](int) {
        map.drawShape(Shape::polygon({{-30, -40}, {60, -40}, {60, 40}, {-30, 40}, {-30, -40}}), [] {
            Symbol s;
            s.color = rgb(255, 0, 0);
            s.outline = false;
            return s;
        }());
    });
    const QImage img = render(map);
    const std::vector<PlacedLabel> placed = enginetest::placedLabels(map);
    int overShape = 0;
    for (const PlacedLabel& p : placed) {
        expectTextOnHalo(img, p.box, p.text);
        overShape +=
            QRectF(map.fromMapPoint({-30, 40}), map.fromMapPoint({60, -40})).contains(p.box);
    }
    EXPECT_GT(overShape, 2);
}

TEST(MapMarkers, ALightRingSetsAMarkerOffAnAreaOfItsOwnColour) {
    QTemporaryDir dir;
    const TableDesc table = {{"N", moLong, 5, 0}};
    auto area = std::make_shared<MapLayer>(GeoDataset::open(enginetest::writeShapefile(
        dir.path(), "a", moShapeTypePolygon, table,
        {{Shape::polygon({{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}), {1}}})));
    auto city = std::make_shared<MapLayer>(GeoDataset::open(enginetest::writeShapefile(
        dir.path(), "c", moShapeTypePoint, table, {{Shape::point(50, 50), {1}}})));
    area->symbol.color = city->symbol.color = rgb(255, 0, 0);
    area->symbol.outline = false;
    Map map;
    map.resize(100, 100);
    map.addLayer(area);
    map.addLayer(city);
    map.setExtent(Rectangle(0, 0, 100, 100));
    const QImage img = render(map);
    const QPointF c = map.fromMapPoint({50, 50});
    EXPECT_EQ(img.pixelColor(c.toPoint()), QColor(255, 0, 0));
    // The marker of the smallest size (6 points: a radius of 4 pixels) has a black outline, then
    // a light ring, then the area's red again.
    const double r = 6 * map.logicalDpiX() / 72.0 / 2;
    for (const QPointF& d : {QPointF(1, 0), QPointF(-1, 0), QPointF(0, 1), QPointF(0, -1)}) {
        const QColor ring = img.pixelColor((c + d * (r + 1.2)).toPoint());
        EXPECT_GT(ring.green(), 180) << d.x() << "," << d.y();
        EXPECT_EQ(img.pixelColor((c + d * (r + 5)).toPoint()), QColor(255, 0, 0));
    }
}
