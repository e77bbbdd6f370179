#include "tools/sample_places.h"

#include <algorithm>
#include <cmath>

namespace tools {
namespace {

// What the default drawing puts on the map besides the layer being looked at: state borders
// with their name labels, the country outline, roads, cities and power plants.
struct Clutter {
    std::vector<Ring> borders;
    std::vector<engine::Point> labels;
    std::vector<engine::Point> markers;
    const std::vector<LineSegment>* roads;

    explicit Clutter(const SampleWorld& w) : roads(&w.roads) {
        for (const auto& cell : w.region.states()) {
            Ring ring = w.region.cellRing(cell);
            labels.push_back(ringCentroid(ring));
            labels.push_back(ringBounds(ring).center());
            borders.push_back(std::move(ring));
        }
        borders.push_back(w.region.outline());
        for (const auto& c : w.cities) markers.push_back(c.at);
        for (const auto& p : w.powerPlants) markers.push_back(p.at);
    }

    // Distance to the nearest thing drawn, skipping one road (the road looked at).
    double clearance(const engine::Point& p, const LineSegment* skip = nullptr) const {
        double d = INFINITY;
        for (const auto& b : borders) d = std::min(d, distanceToPath(p, b));
        for (const auto& m : markers) d = std::min(d, distance(p, m) - 5000);
        for (const auto& l : labels)  // a label spans about 140 km by 30 km
            d = std::min(d, std::max(std::abs(p.x - l.x) - 70000, std::abs(p.y - l.y) - 15000));
        for (const auto& r : *roads)
            if (&r != skip) d = std::min(d, distanceToPath(p, r.path));
        return d;
    }
};

}  // namespace

SamplePlaces findPlaces(const SampleWorld& world, const std::vector<GridCell>& windCells) {
    const Clutter clutter(world);
    SamplePlaces places;

    double best = -INFINITY;
    const size_t stride = std::max<size_t>(1, windCells.size() / 400);
    for (size_t i = 0; i < windCells.size(); i += stride) {
        const auto& c = windCells[i].centre;
        double d = clutter.clearance(c);
        for (const auto& l : world.lakes) d = std::min(d, distanceToPath(c, l.ring));
        if (d > best) {
            best = d;
            places.windCell = c;
        }
    }
    places.windPowerDensity = windPowerDensity(world.region, places.windCell);

    best = -INFINITY;
    for (const auto& l : world.lakes) {
        const double d = std::min(clutter.clearance(l.centre), distanceToPath(l.centre, l.ring));
        if (d > best) {
            best = d;
            places.lake = l.centre;
        }
    }

    best = -INFINITY;
    const size_t roadStride = std::max<size_t>(1, world.roads.size() / 400);
    for (size_t i = 0; i < world.roads.size(); i += roadStride) {
        const auto& r = world.roads[i];
        const auto& p = r.path[r.path.size() / 2];
        const double d = clutter.clearance(p, &r);
        if (d > best) {
            best = d;
            places.road = p;
        }
    }
    return places;
}

}  // namespace tools
