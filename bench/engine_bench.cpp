// Map engine hot paths on a country-sized synthetic dataset: reading, searching, redrawing.
// Run offscreen: QT_QPA_PLATFORM=offscreen bench/engine_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cmath>

#include "engine/map.h"

using namespace engine;

namespace {

constexpr int gridSide = 316;  // about 100,000 wind cells
constexpr double cell = 1000;   // metres
constexpr int roadCount = 20000;

struct Dataset {
    QTemporaryDir dir;
    QString wind, roads;
    Dataset() {
        DataConnection conn;
        conn.setDatabase(dir.path());
        TableDesc table = {{"WINDPWRD", moDouble, 15, 1}, {"LAND_USE", moString, 30, 0}};
        for (int m = 1; m <= 12; ++m) {
            table.push_back({QString("WS%1").arg(m, 2, 10, QChar('0')), moDouble, 10, 2});
            table.push_back({QString("WPD%1").arg(m, 2, 10, QChar('0')), moDouble, 10, 1});
        }
        auto w = conn.addGeoDataset("20_wind", moShapeTypePolygon, table);
        std::vector<QVariant> values(table.size());
        for (int r = 0; r < gridSide; ++r)
            for (int c = 0; c < gridSide; ++c) {
                const double x = c * cell, y = r * cell;
                const double wpd = 100 + 800 * (0.5 + 0.5 * std::sin(c * 0.02) * std::cos(r * 0.03));
                values[0] = wpd;
                values[1] = (r + c) % 3 ? "FOREST" : "GRASSLAND";
                for (size_t f = 2; f < values.size(); ++f) values[f] = wpd * (0.5 + f * 0.02);
                w->addRecord(Shape::polygon({{x, y}, {x + cell, y}, {x + cell, y + cell}, {x, y + cell}}),
                             values);
            }
        w->commit();
        auto l = conn.addGeoDataset("43_roads", moShapeTypeLine, {{"TYPE", moString, 10, 0}});
        const double size = gridSide * cell;
        for (int i = 0; i < roadCount; ++i) {
            std::vector<Point> pts;
            const double x0 = std::fmod(i * 7919.0, size), y0 = std::fmod(i * 104729.0, size);
            for (int k = 0; k < 10; ++k) pts.push_back({x0 + k * 300, y0 + 200 * std::sin(k + i)});
            l->addRecord(Shape::lineString(pts), {"ROAD"});
        }
        l->commit();
        wind = QDir(dir.path()).filePath("20_wind.shp");
        roads = QDir(dir.path()).filePath("43_roads.shp");
    }
};

Dataset& dataset() {
    static Dataset d;
    return d;
}

std::shared_ptr<GeoDataset> wind() {
    static auto ds = GeoDataset::open(dataset().wind);
    return ds;
}

std::shared_ptr<MapLayer> windLayer() {
    auto layer = std::make_shared<MapLayer>(wind());
    auto r = std::make_shared<ClassBreaksRenderer>();
    r->field = "WINDPWRD";
    r->setBreakCount(6);
    const double breaks[] = {200, 300, 400, 500, 600, 800};
    for (int i = 0; i < 6; ++i) {
        r->setBreak(i, breaks[i]);
        r->symbol(i).color = rgb(40 * i, 255 - 30 * i, 100);
        r->symbol(i).outline = false;
    }
    layer->renderer = r;
    return layer;
}

void BM_OpenWind(benchmark::State& state) {
    dataset();
    for (auto _ : state) benchmark::DoNotOptimize(GeoDataset::open(dataset().wind));
}
BENCHMARK(BM_OpenWind)->Unit(benchmark::kMillisecond);

void BM_OpenRoads(benchmark::State& state) {
    dataset();
    for (auto _ : state) benchmark::DoNotOptimize(GeoDataset::open(dataset().roads));
}
BENCHMARK(BM_OpenRoads)->Unit(benchmark::kMillisecond);

void BM_SelectRange(benchmark::State& state) {
    auto ds = wind();
    ds->select("FeatureID > -1");  // the attribute table is built on the first search
    for (auto _ : state) benchmark::DoNotOptimize(ds->select("WINDPWRD >= 300 AND WINDPWRD <= 10000"));
}
BENCHMARK(BM_SelectRange)->Unit(benchmark::kMillisecond);

void BM_SelectLandUse(benchmark::State& state) {
    auto ds = wind();
    for (auto _ : state)
        benchmark::DoNotOptimize(ds->select("(LAND_USE = 'FOREST') OR (LAND_USE = 'GRASSLAND')"));
}
BENCHMARK(BM_SelectLandUse)->Unit(benchmark::kMillisecond);

void BM_SearchByDistance(benchmark::State& state) {
    auto ds = wind();
    const Shape p = Shape::point(150500, 150500);
    for (auto _ : state) benchmark::DoNotOptimize(ds->selectByDistance(p, double(state.range(0))));
}
BENCHMARK(BM_SearchByDistance)->Arg(0)->Arg(5000)->Unit(benchmark::kMicrosecond);

void redraw(benchmark::State& state, double zoom) {
    Map map;
    map.resize(1000, 700);
    map.addLayer(windLayer());
    auto roads = std::make_shared<MapLayer>(GeoDataset::open(dataset().roads));
    roads->symbol.color = rgb(255, 0, 0);
    roads->symbol.size = 2;
    map.addLayer(roads);
    Rectangle e = map.fullExtent();
    e.scaleRectangle(zoom);
    map.setExtent(e);  // the first redraw builds the caches
    for (auto _ : state) map.refresh();
}

void BM_RedrawFull(benchmark::State& state) { redraw(state, 1.0); }
BENCHMARK(BM_RedrawFull)->Unit(benchmark::kMillisecond);

void BM_RedrawZoomedTenth(benchmark::State& state) { redraw(state, 0.1); }
BENCHMARK(BM_RedrawZoomedTenth)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
