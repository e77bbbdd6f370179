// The sample dataset opened as the program opens it, and painted: known places show the colours
// the symbology gives them.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>

#include "dataset/catalogue.h"
#include "dataset/dataset_loading.h"
#include "shell/dataset_opening.h"
#include "mapview/legend.h"
#include "mapview/map.h"
#include "feedback/dialog_service.h"
#include "tests/engine/placed_labels.h"
#include "tests/tools/sample_fixture.h"

using testsample::defaultSample;

namespace {

class SampleRender : public ::testing::Test {
protected:
    void SetUp() override {
        md_functions::FillStandardFileNames();
        legend.setMapSource(&map);
        map.resize(1000, 800);
        const QString file = defaultSample().path() + "/20_wind.shp";
        md_functions::LoadProject("20_wind.shp", file, map, legend);
        map.setExtent(map.fullExtent());
    }

    engine::MapLayer& layer(const char* file) { return *map.layer(md_functions::LayerIndexByFile(file)); }

    QImage paint() {
        map.refresh();
        return map.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // Colours of the 3x3 pixels around a map point.
    QList<QColor> around(const QImage& img, const engine::Point& p) {
        const QPointF c = map.fromMapPoint(p);
        QList<QColor> out;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) out << img.pixelColor(int(c.x()) + dx, int(c.y()) + dy);
        return out;
    }

    feedback::ScopedScriptedDialogs dialogs;
    engine::Map map;
    engine::Legend legend;
};

QColor windColour(double power) {
    const double breaks[] = {200, 300, 400, 500, 600, 800};
    const QColor colours[] = {{255, 255, 255}, {222, 184, 135}, {254, 172, 0}, {255, 110, 180},
                              {154, 50, 205},  {255, 0, 0},     {0, 0, 255}};
    int c = 0;
    for (double b : breaks) c += power >= b;
    return colours[c];
}

}  // namespace

TEST_F(SampleRender, LoadsEveryLayerQuietlyWithRoadsAndCitiesShown) {
    EXPECT_TRUE(dialogs->shown.isEmpty());
    EXPECT_EQ(map.layerCount(), 24);
    EXPECT_TRUE(layer("43_roads.shp").visible);
    EXPECT_TRUE(layer("59_cities.shp").visible);
    EXPECT_TRUE(layer("38_subcountrybnd1.shp").visible);
    EXPECT_FALSE(layer("20_wind.shp").visible);
}

TEST_F(SampleRender, PaintsAWindCellALakeAndARoadInTheirColours) {
    const auto& places = defaultSample().places;
    QImage img = paint();
    for (const QColor& c : around(img, places.road)) EXPECT_NE(c, windColour(places.windPowerDensity));
    EXPECT_TRUE(around(img, places.road).contains(QColor(255, 0, 0)));
    EXPECT_EQ(around(img, places.lake)[4], QColor(255, 255, 255));  // lakes start hidden

    layer("20_wind.shp").visible = true;
    img = paint();
    for (const QColor& c : around(img, places.windCell)) EXPECT_EQ(c, windColour(places.windPowerDensity));

    layer("30_lakes.shp").visible = true;
    img = paint();
    for (const QColor& c : around(img, places.lake)) EXPECT_EQ(c, QColor(127, 199, 242));
    EXPECT_TRUE(around(img, places.road).contains(QColor(255, 0, 0)));  // roads draw above both
}

// The state names stay readable over a query result that covers the whole country, each on its
// halo, and none written over another.
TEST_F(SampleRender, StateNamesAreWrittenAboveResultsOnAHalo) {
    QObject::connect(&map, &engine::Map::beforeLayerDraw, [this](int) {
        engine::Symbol result;
        result.color = engine::rgb(255, 0, 0);
        result.outline = false;
        const engine::Rectangle e = map.extent();
        map.drawShape(engine::Shape::polygon({{e.left(), e.bottom()},
                                              {e.right(), e.bottom()},
                                              {e.right(), e.top()},
                                              {e.left(), e.top()},
                                              {e.left(), e.bottom()}}),
                      result);
    });
    const QImage img = paint();
    const std::vector<engine::PlacedLabel> placed = enginetest::placedLabels(map);
    EXPECT_EQ(int(placed.size()), layer("38_subcountrybnd1.shp").recordCount());
    for (const engine::PlacedLabel& label : placed) {
        int text = 0, halo = 0;
        const QRect box = label.box.toAlignedRect() & img.rect();
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) {
                const QColor c = img.pixelColor(x, y);
                text += std::max({c.red(), c.green(), c.blue()}) < 70;
                halo += c.green() > 180;
            }
        EXPECT_GT(text, 10) << label.text.toStdString();
        EXPECT_GT(halo, 10) << label.text.toStdString();
        for (const engine::PlacedLabel& other : placed) {
            if (&other == &label) continue;
            EXPECT_FALSE(label.box.intersects(other.box));
        }
    }
}
