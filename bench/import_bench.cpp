// A country-sized import: 3,000 x 3,000 pixel wind, solar and land-cover rasters in degrees,
// the sample country's boundary and 50,000 road segments, into 5 km cells.
// Run: bench/import_bench --benchmark_repetitions=3 (median of the runs; peak_MiB is the peak
// resident memory of one import).
#include <benchmark/benchmark.h>
#include <gdal_priv.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "engine/geo_dataset.h"
#include "importer/importer.h"
#include "importer/recipe.h"
#include "tools/sample_dataset.h"
#include "tools/smooth_noise.h"

namespace {

constexpr int kPixels = 3000;

double peakMiB() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024;
    return 0;
}

void resetPeak() {
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly)) clear.write("5");
}

void writeRaster(const QString& path, const engine::Rectangle& box, GDALDataType type,
                 const std::function<double(double, double)>& value) {
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
    const char* const options[] = {"TILED=YES", "COMPRESS=DEFLATE", nullptr};
    std::unique_ptr<GDALDataset> ds(driver->Create(QFile::encodeName(path).constData(), kPixels,
                                                   kPixels, 1, type, const_cast<char**>(options)));
    const double px = box.width() / kPixels, py = box.height() / kPixels;
    double gt[6] = {box.left(), px, 0, box.top(), 0, -py};
    ds->SetGeoTransform(gt);
    OGRSpatialReference srs;
    srs.importFromEPSG(4326);
    ds->SetSpatialRef(&srs);
    std::vector<double> row(kPixels);
    for (int r = 0; r < kPixels; ++r) {
        for (int c = 0; c < kPixels; ++c)
            row[c] = value(box.left() + (c + 0.5) * px, box.top() - (r + 0.5) * py);
        if (ds->GetRasterBand(1)->RasterIO(GF_Write, 0, r, kPixels, 1, row.data(), kPixels, 1,
                                           GDT_Float64, 0, 0) != CE_None)
            throw std::runtime_error("cannot write " + path.toStdString());
    }
}

struct Sources {
    QTemporaryDir dir;
    QString country = dir.filePath("country");
    importer::Recipe recipe;
    Sources() {
        tools::SampleSize size;
        size.windCells = 1000;
        size.roadSegments = 50000;
        tools::generateSampleDataset(country, size, true);
        const engine::Rectangle box =
            engine::GeoDataset::open(country + "/39_countryboundary.shp")->extent();
        const engine::Rectangle wide(box.left() - 0.05, box.bottom() - 0.05, box.right() + 0.05,
                                     box.top() + 0.05);
        static const int classes[] = {10, 20, 30, 40, 50, 60, 80, 90};
        writeRaster(dir.filePath("wind.tif"), wide, GDT_Float32, [](double x, double y) {
            return 100 + 800 * tools::fractalNoise(x * 3, y * 3, 1);
        });
        writeRaster(dir.filePath("ghi.tif"), wide, GDT_Float32,
                    [](double x, double y) { return 3.5 + 3 * tools::smoothNoise(x, y, 2); });
        writeRaster(dir.filePath("cover.tif"), wide, GDT_Byte, [](double x, double y) {
            return classes[int(tools::fractalNoise(x * 8, y * 8, 3) * 7.99)];
        });
        recipe.outDir = dir.filePath("dataset");
        recipe.set("boundary", country + "/39_countryboundary.shp");
        recipe.set("roads", country + "/43_roads.shp");
        recipe.set("wind-power-density", dir.filePath("wind.tif"));
        recipe.set("solar-ghi", dir.filePath("ghi.tif"));
        recipe.set("land-cover", dir.filePath("cover.tif"));
        recipe.set("cell-km", "5");
        recipe.set("overwrite", "true");
    }
};

void BM_ImportCountry(benchmark::State& state) {
    static Sources sources;
    double peak = 0;
    for (auto _ : state) {
        resetPeak();
        const auto result = importer::runImport(sources.recipe);
        peak = std::max(peak, peakMiB());
        benchmark::DoNotOptimize(result.report.size());
    }
    state.counters["peak_MiB"] = peak;
    state.counters["wind_cells"] =
        engine::GeoDataset::open(sources.recipe.outDir + "/20_wind.shp")->recordCount();
    state.counters["roads"] =
        engine::GeoDataset::open(sources.recipe.outDir + "/43_roads.shp")->recordCount();
}
BENCHMARK(BM_ImportCountry)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    GDALAllRegister();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
