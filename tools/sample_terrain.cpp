#include <algorithm>
#include <cmath>

#include "tools/sample_layers.h"
#include "tools/sample_random.h"
#include "tools/smooth_noise.h"

namespace tools {
namespace {

int elevationClass(double metres) {
    static const double breaks[] = {200, 400, 600, 800, 1000, 1200, 1400, 1600, 1800, 2000, 2200, 2500, 3000};
    int c = 0;
    for (double b : breaks) c += metres >= b;
    return c;
}

// Sutherland-Hodgman: the part of subject inside the convex ring clip (both closed).
Ring clipToConvex(const Ring& subject, const Ring& clip) {
    double orientation = 0;
    for (size_t i = 1; i < clip.size(); ++i) orientation += clip[i - 1].x * clip[i].y - clip[i].x * clip[i - 1].y;
    const double sign = orientation < 0 ? -1 : 1;
    Ring out(subject.begin(), subject.end() - 1);
    for (size_t e = 1; e < clip.size() && !out.empty(); ++e) {
        const auto a = clip[e - 1], b = clip[e];
        auto side = [&](const engine::Point& p) { return sign * ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)); };
        Ring in = std::move(out);
        out.clear();
        for (size_t i = 0; i < in.size(); ++i) {
            const auto& p = in[i];
            const auto& q = in[(i + 1) % in.size()];
            const double sp = side(p), sq = side(q);
            if (sp >= 0) out.push_back(p);
            if ((sp >= 0) != (sq >= 0)) {
                const double t = sp / (sp - sq);
                out.push_back({p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)});
            }
        }
    }
    if (!out.empty()) out.push_back(out.front());
    return out;
}

QString landUseAt(const SampleWorld& world, const engine::Point& p, const Ring& patch) {
    for (const auto& lake : world.lakes)
        if (ringContains(lake.ring, p) || ringContains(patch, lake.centre)) return "WATER BODIES";
    for (const auto& city : world.cities)
        if (distance(city.at, p) < 1500 + 9 * std::sqrt(double(city.population)) ||
            (city.population > 50000 && ringContains(patch, city.at)))
            return "URBAN AREAS";
    const Region& r = world.region;
    const double e = r.elevation(p), m = r.moisture(p);
    const double n = smoothNoise(p.x / 25000, p.y / 25000, 61);
    if (e > 1900) return m > 0.5 ? "FOREST" : "GRASSLAND";
    if (e > 1200) return m > 0.55 ? "MIXED FOREST" : n > 0.5 ? "SHRUBLAND" : "GRASSLAND";
    if (m > 0.72) return n > 0.75 ? "WETLAND" : "FOREST";
    if (m > 0.55) return n > 0.5 ? "OPEN FOREST" : "CROPLAND/WOODLAND MOSAIC";
    if (m > 0.38) return n > 0.45 ? "CROPLAND/GRASSLAND MOSAIC" : "DRYLAND CROPLAND AND PASTURE";
    return n > 0.35 ? "SAVANNA" : "SHRUBLAND";
}

void writeElevation(const SampleWorld& world, const SampleWriter& out, double side) {
    // Runs of neighbouring cells of one elevation class along a row become one band piece.
    SampleLayer layer = out.layer("01_elevation", engine::moShapeTypePolygon, {realField("Elev_m", 8, 1)});
    const auto cells = gridOver(world.region, side);
    for (size_t i = 0; i < cells.size();) {
        const double first = world.region.elevation(cells[i].centre);
        double sum = first;
        size_t j = i + 1;
        for (; j < cells.size(); ++j) {
            const bool next = cells[j].row == cells[i].row && cells[j].column == cells[j - 1].column + 1;
            const double e = world.region.elevation(cells[j].centre);
            if (!next || elevationClass(e) != elevationClass(first)) break;
            sum += e;
        }
        const double h = cells[i].half;
        const double l = cells[i].centre.x - h, r = cells[j - 1].centre.x + h;
        const double b = cells[i].centre.y - h, t = cells[i].centre.y + h;
        double mean = std::round(sum / double(j - i));
        if (elevationClass(mean) != elevationClass(first)) mean = std::round(first);
        layer.polygon({{l, b}, {l, t}, {r, t}, {r, b}, {l, b}}, {mean});
        i = j;
    }
    layer.commit();
}

void writeLandUse(const SampleWorld& world, const SampleWriter& out, int polygons) {
    // Patches on a jittered grid; the class comes from the smooth fields, so neighbouring patches
    // of one class read as one irregular area. Edges between two patches inside the country wind
    // a little, the same way seen from either side; patches on the coast keep straight edges so
    // they can be cut along it.
    const Region& region = world.region;
    const double side = std::sqrt(region.area() / std::max(polygons, 1));
    const auto bounds = region.bounds();
    const double x0 = std::floor(bounds.left() / side) * side, y0 = std::floor(bounds.bottom() / side) * side;
    auto vertex = [&](int i, int j) {
        SampleRandom rnd(std::uint64_t(i) * 7919 + std::uint64_t(j) * 104729 + 71);
        return engine::Point{x0 + (i + rnd.range(-0.2, 0.2)) * side, y0 + (j + rnd.range(-0.2, 0.2)) * side};
    };
    auto inland = [&](int i, int j) {
        return region.contains(vertex(i, j)) && region.contains(vertex(i + 1, j)) &&
               region.contains(vertex(i, j + 1)) && region.contains(vertex(i + 1, j + 1));
    };
    // The inner points of the edge from vertex (i, j) to (i + di, j + dj), di + dj = 1, appended
    // to ring forwards or backwards.
    auto edge = [&](Ring& ring, int i, int j, int di, int dj, bool backwards) {
        const bool winds = di ? inland(i, j) && inland(i, j - 1) : inland(i, j) && inland(i - 1, j);
        if (!winds) return;
        const engine::Point a = vertex(i, j), b = vertex(i + di, j + dj);
        const Path path = windingPath(a, b, side / 6, 0.08, std::uint64_t(i) * 31337 + std::uint64_t(j) * 7 + di);
        if (backwards) ring.insert(ring.end(), path.rbegin() + 1, path.rend() - 1);
        else ring.insert(ring.end(), path.begin() + 1, path.end() - 1);
    };
    SampleLayer layer =
        out.layer("02_landuse", engine::moShapeTypePolygon, {textField("LAND_USE", 50), integerField("FeatureID")});
    int id = 0;
    for (int j = 0; y0 + j * side < bounds.top(); ++j)
        for (int i = 0; x0 + i * side < bounds.right(); ++i) {
            Ring patch;
            if (inland(i, j)) {  // clockwise: up the left edge, along the top, down, back
                patch.push_back(vertex(i, j));
                edge(patch, i, j, 0, 1, false);
                patch.push_back(vertex(i, j + 1));
                edge(patch, i, j + 1, 1, 0, false);
                patch.push_back(vertex(i + 1, j + 1));
                edge(patch, i + 1, j, 0, 1, true);
                patch.push_back(vertex(i + 1, j));
                edge(patch, i, j, 1, 0, true);
                patch.push_back(patch.front());
            } else {
                const Ring quad{vertex(i, j), vertex(i, j + 1), vertex(i + 1, j + 1), vertex(i + 1, j), vertex(i, j)};
                if (std::any_of(quad.begin(), quad.end(), [&](const engine::Point& p) { return region.contains(p); }))
                    patch = clipToConvex(region.outline(), quad);
            }
            if (patch.size() < 4 || ringArea(patch) < 0.01 * side * side) continue;
            layer.polygon(patch, {landUseAt(world, ringCentroid(patch), patch), id++});
        }
    layer.commit();
}

}  // namespace

void writeTerrain(const SampleWorld& world, const SampleWriter& out, const SampleSize& size) {
    writeElevation(world, out, windCellSide(world.region, size.windCells));
    writeLandUse(world, out, size.landUsePolygons);
}

}  // namespace tools
