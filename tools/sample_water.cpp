#include <algorithm>
#include <cmath>

#include "tools/sample_layers.h"
#include "tools/sample_random.h"

namespace tools {
namespace {

void writeHydro(const SampleWorld& world, const SampleWriter& out) {
    engine::TableDesc table{textField("WATERSHED", 40), realField("ANNPOW", 10, 1)};
    for (const char* m : monthKeys) table.push_back(realField(QString(m) + "POW", 10, 1));
    table.insert(table.end(), {realField("HEAD200M", 8, 1), realField("BASINAREA", 10, 1)});
    SampleLayer layer = out.layer("25_hydro", engine::moShapeTypePoint, table);
    SampleRandom rnd(9201);
    const int count = std::clamp(int(world.cities.size()), 30, 150);
    const int rivers = int(world.rivers.size());
    const int perRiver = (count + rivers - 1) / rivers;
    for (int k = 0; k < count; ++k) {
        const Path& path = world.rivers[k % rivers].path;
        // From brooks near the source to the lower river, so the sites span small and large.
        const double along = (k / rivers + 0.5) / perRiver;
        const size_t at = std::min(path.size() - 1, size_t(along * along * double(path.size())));
        const double km = 2.5 * at;  // rivers are traced in 2.5 km steps
        const double basin = 0.5 + 0.6 * std::pow(km, 1.6);
        const double head = rnd.range(3, 60);
        const double flow = 0.012 * basin * rnd.range(0.3, 1.2);  // m3/s
        const double power = 9.81 * 0.7 * flow * head;            // kW
        std::vector<QVariant> values{world.rivers[k % rivers].name.section(' ', 0, 0) + " Basin",
                                     std::round(power * 10) / 10};
        for (int m = 0; m < 12; ++m) values.push_back(std::round(power * seasonal(m, 0.7, 7.5) * 10) / 10);
        values.push_back(std::round(head * 10) / 10);
        values.push_back(std::round(basin * 10) / 10);
        layer.point(path[at], values);
    }
    layer.commit();
}

}  // namespace

void writeWater(const SampleWorld& world, const SampleWriter& out) {
    writeHydro(world, out);
    SampleLayer lakes = out.layer("30_lakes", engine::moShapeTypePolygon, {textField("NAME", 40)});
    for (const auto& l : world.lakes) lakes.polygon(l.ring, {l.name});
    lakes.commit();
    SampleLayer rivers = out.layer("40_rivers", engine::moShapeTypeLine, {textField("NAME", 40)});
    for (const auto& r : world.rivers) rivers.line(r.path, {r.name});
    rivers.commit();
}

}  // namespace tools
