// Map engine searches on a country-sized synthetic grid: by expression and by distance.
// (Loading and redrawing the generated datasets are measured in sample_dataset_bench.)
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>
#include <cmath>

#include "engine/geo_dataset.h"

using namespace engine;

namespace {

constexpr int gridSide = 316;  // about 100,000 wind cells
constexpr double cell = 1000;   // metres

// A wind grid with the power density and 24 monthly fields, written once.
struct Grid {
    QTemporaryDir dir;
    QString path;
    Grid() {
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
        path = QDir(dir.path()).filePath("20_wind.shp");
    }
};

const QString& gridPath() {
    static Grid grid;
    return grid.path;
}

std::shared_ptr<GeoDataset> wind() {
    static auto ds = GeoDataset::open(gridPath());
    return ds;
}

// The first search of a dataset also copies the columns it uses into the search table.
void BM_FirstSearch(benchmark::State& state) {
    gridPath();
    for (auto _ : state) {
        state.PauseTiming();
        auto ds = GeoDataset::open(gridPath());
        state.ResumeTiming();
        benchmark::DoNotOptimize(ds->select("WINDPWRD >= 300 AND WINDPWRD <= 10000"));
        state.PauseTiming();
        ds.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstSearch)->Unit(benchmark::kMillisecond);

void BM_SearchRange(benchmark::State& state) {
    auto ds = wind();
    ds->select("WINDPWRD > 0");
    for (auto _ : state) benchmark::DoNotOptimize(ds->select("WINDPWRD >= 300 AND WINDPWRD <= 10000"));
}
BENCHMARK(BM_SearchRange)->Unit(benchmark::kMillisecond);

void BM_SearchLandUse(benchmark::State& state) {
    auto ds = wind();
    ds->select("LAND_USE = ''");
    for (auto _ : state)
        benchmark::DoNotOptimize(ds->select("(LAND_USE = 'FOREST') OR (LAND_USE = 'GRASSLAND')"));
}
BENCHMARK(BM_SearchLandUse)->Unit(benchmark::kMillisecond);

void BM_SearchFeatureId(benchmark::State& state) {
    auto ds = wind();
    for (auto _ : state) benchmark::DoNotOptimize(ds->select("FeatureID > -1"));
}
BENCHMARK(BM_SearchFeatureId)->Unit(benchmark::kMillisecond);

// Distance 0 (a point report) and 5 km (cells near a site); the index is built before timing.
void BM_SearchByDistance(benchmark::State& state) {
    auto ds = wind();
    const Shape p = Shape::point(150500, 150500);
    ds->selectByDistance(p, 0);
    for (auto _ : state) benchmark::DoNotOptimize(ds->selectByDistance(p, double(state.range(0))));
}
BENCHMARK(BM_SearchByDistance)->Arg(0)->Arg(5000)->Unit(benchmark::kMicrosecond);

void BM_BuildSpatialIndex(benchmark::State& state) {
    gridPath();
    for (auto _ : state) {
        state.PauseTiming();
        auto ds = GeoDataset::open(gridPath());
        state.ResumeTiming();
        benchmark::DoNotOptimize(ds->selectByExtent(Rectangle(0, 0, 1, 1)));
        state.PauseTiming();
        ds.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BuildSpatialIndex)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
