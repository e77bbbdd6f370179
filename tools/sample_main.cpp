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
    "Writes the deterministic sample dataset into OUTDIR, in UTM metres (zone 37N) or, with\n"
    "--geographic, the same region in WGS 84 degrees. --large gives the benchmark size\n"
    "(100000 wind cells, 20000 road segments, 2000 transmission segments, 5000 land-use polygons,\n"
    "500 protected areas, 150 cities); --scale multiplies every count of the default size.\n";

int fail(const char* message) {
    std::fprintf(stderr, "pallix-sample: %s\n%s", message, usage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QString dir;
    tools::SampleSize size;
    bool geographic = false;
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
        } else if (!std::strcmp(arg, "--scale")) {
            const double f = hasValue ? std::atof(argv[++i]) : 0;
            if (!(f > 0)) return fail("--scale needs a positive number");
            size = size.scaled(f);
        } else if (arg[0] == '-') {
            int* target = nullptr;
            for (auto& c : counts)
                if (!std::strcmp(arg, c.name)) target = c.value;
            if (!target) return fail("unknown option");
            const int n = hasValue ? std::atoi(argv[++i]) : 0;
            if (n < 1) return fail("a count needs a positive whole number");
            *target = n;
        } else if (dir.isEmpty()) {
            dir = QString::fromLocal8Bit(arg);
        } else {
            return fail("only one output directory");
        }
    }
    if (dir.isEmpty()) return fail("no output directory");
    if (size.cities < 2) return fail("--cities needs at least 2");
    try {
        tools::generateSampleDataset(dir, size, geographic);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pallix-sample: %s\n", e.what());
        return 1;
    }
    return 0;
}
