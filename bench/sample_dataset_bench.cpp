// Opening and drawing the generated datasets the way the program does: the default sample, the
// large benchmark country (100,000 wind cells, 20,000 road segments) and a world of 177 labelled
// states.
// Run offscreen: QT_QPA_PLATFORM=offscreen bench/sample_dataset_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "dataset/catalogue.h"
#include "dataset/dataset_loading.h"
#include "shell/dataset_opening.h"
#include "mapview/legend.h"
#include "mapview/map.h"
#include "feedback/dialog_service.h"
#include "tests/dataset/test_shapefiles.h"
#include "tools/sample_dataset.h"

namespace {

struct Datasets {
    QTemporaryDir dir;
    QString sample = dir.filePath("sample"), large = dir.filePath("large"),
            world = dir.filePath("world");
    Datasets() {
        tools::generateSampleDataset(sample);
        tools::generateSampleDataset(large, tools::SampleSize::large());
        testdata::writeWorldStates(world);
    }
};

Datasets& datasets() {
    static Datasets d;
    return d;
}

// A map and legend with a dataset opened through "Open Dataset...", 1000 x 800 pixels.
struct OpenedMap {
    engine::Map map;
    engine::Legend legend;
    explicit OpenedMap(const QString& dir, const QString& file = "20_wind.shp") {
        legend.setMapSource(&map);
        map.resize(1000, 800);
        md_functions::LoadProject(file, QDir(dir).filePath(file), map, legend);
    }
};

double residentMiB() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').front().toDouble() / 1024;
    return 0;
}

void load(benchmark::State& state, const QString& dir) {
    for (auto _ : state) {
        auto opened = std::make_unique<OpenedMap>(dir);
        benchmark::DoNotOptimize(opened->map.layerCount());
        state.PauseTiming();
        opened.reset();
        state.ResumeTiming();
    }
}

double baselineMiB = 0;  // after writing the datasets, before opening any

void BM_LargeResidentMemory(benchmark::State& state) {
    std::unique_ptr<OpenedMap> opened;
    for (auto _ : state) opened = std::make_unique<OpenedMap>(datasets().large);
    state.counters["rss_MiB"] = residentMiB();
    state.counters["loaded_MiB"] = residentMiB() - baselineMiB;
}
BENCHMARK(BM_LargeResidentMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_LoadSample(benchmark::State& state) { load(state, datasets().sample); }
BENCHMARK(BM_LoadSample)->Unit(benchmark::kMillisecond);

void BM_LoadLarge(benchmark::State& state) { load(state, datasets().large); }
BENCHMARK(BM_LoadLarge)->Unit(benchmark::kMillisecond);

// Redraws of the large country. Arguments: zoom in tenths of the full width (10: full extent,
// 1: a tenth), and whether every layer is shown (1) or only those shown after opening (0).
void BM_RedrawLarge(benchmark::State& state) {
    static OpenedMap opened(datasets().large);
    engine::Map& map = opened.map;
    for (int i = 0; i < map.layerCount(); ++i)
        if (state.range(1)) map.layer(i)->visible = true;
        else md_functions::SetDefaultVisibility(*map.layer(i));
    engine::Rectangle extent = map.fullExtent();
    extent.scaleRectangle(state.range(0) / 10.0);
    map.setExtent(extent);  // draws once
    for (auto _ : state) map.refresh();
}
BENCHMARK(BM_RedrawLarge)
    ->ArgNames({"tenths", "all"})
    ->Args({10, 0})
    ->Args({1, 0})
    ->Args({10, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

// Redraws of the labelled world at its full extent: the state outlines and 177 names, of which
// those that fit are written.
void BM_RedrawWorldLabels(benchmark::State& state) {
    static OpenedMap opened(datasets().world, "38_subcountrybnd1.shp");
    opened.map.setExtent(engine::Rectangle(-180, -90, 180, 90));
    for (auto _ : state) opened.map.refresh();
}
BENCHMARK(BM_RedrawWorldLabels)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    feedback::ScopedScriptedDialogs dialogs;  // a message box must not stop a run
    md_functions::FillStandardFileNames();
    benchmark::Initialize(&argc, argv);
    datasets();
    baselineMiB = residentMiB();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
