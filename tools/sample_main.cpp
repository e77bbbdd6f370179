// pallix-sample: writes the sample dataset (or a larger one for benchmarks) into a directory.
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "tools/sample_dataset.h"

namespace {

const char* const usage =
    "Usage: pallix-sample OUTDIR [--large | --scale F] [--wind-cells N] [--road-segments N]\n"
    "                     [--transmission-segments N] [--land-use-polygons N] [--protected-areas N]\n"
    "                     [--cities N] [--geographic]\n"
    "       pallix-sample OUTDIR --dense [--scale F] [--road-density F] [--geographic]\n"
    "Writes the deterministic sample dataset into OUTDIR, in UTM metres (zone 37N) or, with\n"
    "--geographic, the same region in WGS 84 degrees. --large gives the benchmark size\n"
    "(100000 wind cells, 20000 road segments, 2000 transmission segments, 5000 land-use polygons,\n"
    "500 protected areas, 150 cities); --scale multiplies every count of the default size.\n"
    "--dense writes the dense benchmark dataset instead: 100000 square wind cells of 5 km, 20000\n"
    "roads of 6 segments of 1.5 km, 2000 transmission lines of 8 segments of 6 km, 4900 land-use\n"
    "quadrilaterals of about 22 km in 8 classes, 500 parks; --scale F makes the grid F times as\n"
    "large with F times every count, --road-density F gives F times as many roads.\n";

int fail(const char* message) {
    std::fprintf(stderr, "pallix-sample: %s\n%s", message, usage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QString dir;
    tools::SampleSize size;
    bool geographic = false, dense = false, counted = false;
    double scale = 1, roadDensity = 1;
    struct CountOption {
        const char* name;
        int* value;
    } counts[] = {{"--wind-cells", &size.windCells},
                  {"--road-segments", &size.roadSegments},
                  {"--transmission-segments", &size.transmissionSegments},
                  {"--land-use-polygons", &size.landUsePolygons},
                  {"--protected-areas", &size.protectedAreas},
                  {"--cities", &size.cities}};
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) {
            std::fputs(usage, stdout);
            return 0;
        } else if (!std::strcmp(arg, "--geographic")) {
            geographic = true;
        } else if (!std::strcmp(arg, "--large")) {
            size = tools::SampleSize::large();
            counted = true;
        } else if (!std::strcmp(arg, "--dense")) {
            dense = true;
        } else if (!std::strcmp(arg, "--scale") || !std::strcmp(arg, "--road-density")) {
            const double f = hasValue ? std::atof(argv[++i]) : 0;
            if (!(f > 0)) return fail("--scale and --road-density need a positive number");
            if (arg[2] == 's') {
                scale *= f;
                size = size.scaled(f);
            } else {
                roadDensity *= f;
            }
        } else if (arg[0] == '-') {
            int* target = nullptr;
            for (auto& c : counts)
                if (!std::strcmp(arg, c.name)) target = c.value;
            if (!target) return fail("unknown option");
            const int n = hasValue ? std::atoi(argv[++i]) : 0;
            if (n < 1) return fail("a count needs a positive whole number");
            *target = n;
            counted = true;
        } else if (dir.isEmpty()) {
            dir = QString::fromLocal8Bit(arg);
        } else {
            return fail("only one output directory");
        }
    }
    if (dir.isEmpty()) return fail("no output directory");
    if (size.cities < 2) return fail("--cities needs at least 2");
    if (dense && counted) return fail("--dense takes only --scale, --road-density and --geographic");
    if (!dense && roadDensity != 1) return fail("--road-density goes with --dense");
    try {
        if (dense)
            tools::generateDenseDataset(dir, tools::DenseSize{}.scaled(scale, roadDensity), geographic);
        else
            tools::generateSampleDataset(dir, size, geographic);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pallix-sample: %s\n", e.what());
        return 1;
    }
    return 0;
}
