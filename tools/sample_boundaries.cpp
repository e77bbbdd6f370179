#include <cmath>

#include "tools/sample_layers.h"
#include "tools/sample_names.h"

namespace tools {
namespace {

// Town dwellers plus a rural population of about 35 people per km2.
int population(const SampleWorld& world, const Ring& ring) {
    double pop = ringArea(ring) / 1e6 * 35;
    for (const auto& c : world.cities)
        if (ringContains(ring, c.at)) pop += c.population;
    return int(std::round(pop / 10) * 10);
}

void writeLevel(const SampleWorld& world, const SampleWriter& out, const QString& file,
                const std::vector<PolarCell>& cells, std::uint64_t seed, const QString& suffix) {
    NameMaker names(seed);
    SampleLayer layer = out.layer(file, engine::moShapeTypePolygon, {textField("NAME", 40), integerField("POP", 10)});
    for (const auto& cell : cells) {
        const Ring ring = world.region.cellRing(cell);
        layer.polygon(ring, {names.next() + suffix, population(world, ring)});
    }
    layer.commit();
}

}  // namespace

void writeBoundaries(const SampleWorld& world, const SampleWriter& out) {
    const Region& region = world.region;
    writeLevel(world, out, "36_subcountrybnd3", region.subdistricts(), 9101, "");
    writeLevel(world, out, "37_subcountrybnd2", region.districts(), 9102, " District");
    writeLevel(world, out, "38_subcountrybnd1", region.states(), 9103, "");
    SampleLayer country =
        out.layer("39_countryboundary", engine::moShapeTypePolygon, {textField("NAME", 40), integerField("POP", 10)});
    country.polygon(region.outline(), {"Republic of " + NameMaker(9104).next(), population(world, region.outline())});
    country.commit();
}

}  // namespace tools
