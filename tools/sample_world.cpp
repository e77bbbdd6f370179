#include "tools/sample_world.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/sample_names.h"
#include "tools/sample_random.h"

namespace tools {
namespace {

constexpr double pi = std::numbers::pi;

engine::Point randomPoint(const Region& region, SampleRandom& rnd, double maxRho) {
    const auto b = region.bounds();
    for (;;) {
        const engine::Point p{rnd.range(b.left(), b.right()), rnd.range(b.bottom(), b.top())};
        if (region.rhoOf(p) < maxRho) return p;
    }
}

bool inLake(const std::vector<Lake>& lakes, const engine::Point& p, double margin = 0) {
    for (const auto& l : lakes)
        if (ringContains(l.ring, p) || (margin > 0 && distanceToPath(p, l.ring) < margin)) return true;
    return false;
}

double pathLength(const Path& p) {
    double s = 0;
    for (size_t i = 1; i < p.size(); ++i) s += distance(p[i - 1], p[i]);
    return s;
}

std::vector<City> placeCities(const Region& region, int count) {
    SampleRandom rnd(1001);
    NameMaker names(1002);
    std::vector<City> cities;
    double spacing = 0.55 * std::sqrt(region.area() / std::max(count, 1));
    for (int i = 0; i < count; ++i) {
        for (int tries = 0;; ++tries) {
            if (tries > 0 && tries % 200 == 0) spacing *= 0.9;
            const auto p = randomPoint(region, rnd, i == 0 ? 0.3 : 0.92);
            const bool free = std::all_of(cities.begin(), cities.end(),
                                          [&](const City& c) { return distance(c.at, p) > spacing; });
            if (!free) continue;
            const int pop = int(std::round(1200000 / std::pow(i + 1, 1.05) * rnd.range(0.85, 1.15) / 10)) * 10;
            cities.push_back({p, names.next(), pop > 100000 ? "City" : "Town", pop});
            break;
        }
    }
    std::vector<bool> hasCapital(region.states().size(), false);
    for (size_t i = 0; i < cities.size(); ++i) {
        const int s = region.stateOf(cities[i].at);
        if (i == 0) cities[i].type = "National Capital";
        else if (!hasCapital[s]) cities[i].type = "State Capital";
        hasCapital[s] = true;
    }
    return cities;
}

std::vector<Lake> placeLakes(const Region& region, const std::vector<City>& cities,
                             const std::vector<LineSegment>& mainRoads) {
    SampleRandom rnd(2001);
    NameMaker names(2002);
    std::vector<Lake> lakes;
    double room = 1;  // shrinks when towns and roads leave no room
    for (int tries = 1; lakes.size() < 8; ++tries) {
        if (tries % 500 == 0) room *= 0.7;
        const auto c = randomPoint(region, rnd, 0.8);
        const double r = rnd.range(6000, 18000);
        const bool clear =
            std::all_of(cities.begin(), cities.end(),
                        [&](const City& x) { return distance(x.at, c) > room * (1.5 * r + 12000); }) &&
            std::all_of(mainRoads.begin(), mainRoads.end(),
                        [&](const LineSegment& l) { return distanceToPath(c, l.path) > room * (1.4 * r + 2000); }) &&
            std::all_of(lakes.begin(), lakes.end(), [&](const Lake& l) { return distance(l.centre, c) > 3 * r + 20000; });
        if (!clear) continue;
        lakes.push_back({blob(c, r, rnd.next()), c, "Lake " + names.next()});
    }
    return lakes;
}

std::vector<NamedArea> placeProtectedAreas(const Region& region, const std::vector<City>& cities, int count) {
    SampleRandom rnd(3001);
    NameMaker names(3002);
    static const char* const types[] = {"National Park", "Forest Reserve", "Game Reserve", "Wildlife Sanctuary"};
    double typical = std::sqrt(0.12 * region.area() / std::max(count, 1) / pi);
    std::vector<NamedArea> areas;
    std::vector<std::pair<engine::Point, double>> placed;
    for (int tries = 1; int(areas.size()) < count; ++tries) {
        if (tries % 500 == 0) typical *= 0.8;  // too big to fit between the towns
        const double r = typical * rnd.range(0.6, 1.4);
        engine::Point c;
        if (!placed.empty() && rnd.uniform() < 0.25) {  // some overlap a neighbour
            const auto& [pc, pr] = placed[rnd.index(int(placed.size()))];
            const double a = rnd.range(0, 2 * pi), d = 0.6 * (pr + r);
            c = {pc.x + d * std::cos(a), pc.y + d * std::sin(a)};
        } else {
            c = randomPoint(region, rnd, 0.9);
        }
        if (std::any_of(cities.begin(), cities.end(), [&](const City& x) { return distance(x.at, c) < r; })) continue;
        Ring ring = blob(c, r, rnd.next());
        if (std::any_of(ring.begin(), ring.end(), [&](const engine::Point& p) { return region.rhoOf(p) > 0.98; }))
            continue;
        const QString type = types[rnd.index(4)];
        areas.push_back({std::move(ring), names.next() + " " + type, type});
        placed.push_back({c, r});
    }
    return areas;
}

std::vector<River> traceRivers(const Region& region, int count) {
    SampleRandom rnd(4001);
    NameMaker names(4002);
    std::vector<River> rivers;
    for (int i = 0; i < count; ++i) {
        engine::Point p = randomPoint(region, rnd, 0.55);
        for (int k = 0; k < 5; ++k) {  // rivers rise in high ground
            const auto q = randomPoint(region, rnd, 0.55);
            if (region.elevation(q) > region.elevation(p)) p = q;
        }
        Path path{p};
        double theta, rho;
        region.toPolar(p, theta, rho);
        double heading = theta + rnd.range(-0.5, 0.5);
        for (int step = 0; step < 800; ++step) {
            region.toPolar(p, theta, rho);
            if (rho >= 1) {
                path.back() = region.toMap(theta, 1);
                break;
            }
            double turn = theta - heading;
            turn = std::remainder(turn, 2 * pi);
            heading += 0.08 * turn + rnd.range(-0.35, 0.35);
            p = {p.x + 2500 * std::cos(heading), p.y + 2500 * std::sin(heading)};
            path.push_back(p);
        }
        rivers.push_back({std::move(path), names.next() + " River"});
    }
    return rivers;
}

std::vector<PowerPlant> placePowerPlants(const std::vector<City>& cities, const std::vector<River>& rivers, int count) {
    SampleRandom rnd(5001);
    std::vector<PowerPlant> plants;
    for (int i = 0; i < count; ++i) {
        if (i % 2 == 1 && !rivers.empty()) {
            const auto& r = rivers[(i / 2) % rivers.size()];
            plants.push_back({r.path[r.path.size() * 2 / 3], r.name.section(' ', 0, 0) + " Hydro Plant",
                              std::round(rnd.range(20, 400))});
        } else {
            const auto& c = cities[(i / 2) % cities.size()];
            const double a = rnd.range(0, 2 * pi);
            plants.push_back({{c.at.x + 9000 * std::cos(a), c.at.y + 9000 * std::sin(a)}, c.name + " Thermal Station",
                              std::round(rnd.range(50, 600))});
        }
    }
    return plants;
}

// Minimum spanning tree over the nodes (Prim), as pairs of node indices.
std::vector<std::pair<int, int>> spanningTree(const std::vector<engine::Point>& nodes) {
    const int n = int(nodes.size());
    std::vector<std::pair<int, int>> edges;
    if (n < 2) return edges;
    std::vector<double> best(n, INFINITY);
    std::vector<int> from(n, -1);
    std::vector<bool> in(n, false);
    best[0] = 0;
    for (int k = 0; k < n; ++k) {
        int u = -1;
        for (int i = 0; i < n; ++i)
            if (!in[i] && (u < 0 || best[i] < best[u])) u = i;
        in[u] = true;
        if (from[u] >= 0) edges.push_back({from[u], u});
        for (int v = 0; v < n; ++v) {
            const double d = distance(nodes[u], nodes[v]);
            if (!in[v] && d < best[v]) {
                best[v] = d;
                from[v] = u;
            }
        }
    }
    return edges;
}

// Roads between the towns: a spanning tree and some shortest extra links, one path per link.
std::vector<LineSegment> mainRoads(const std::vector<City>& cities, int target) {
    SampleRandom rnd(6001);
    std::vector<engine::Point> nodes;
    for (const auto& c : cities) nodes.push_back(c.at);
    auto edges = spanningTree(nodes);
    // A few more links between near neighbours, shortest first, so the network has loops.
    std::vector<std::pair<int, int>> extra;
    for (int i = 0; i < int(nodes.size()); ++i) {
        std::vector<int> order(nodes.size());
        for (int j = 0; j < int(order.size()); ++j) order[j] = j;
        std::sort(order.begin(), order.end(),
                  [&](int a, int b) { return distance(nodes[i], nodes[a]) < distance(nodes[i], nodes[b]); });
        for (int k = 1; k <= 3 && k < int(order.size()); ++k) extra.push_back({std::min(i, order[k]), std::max(i, order[k])});
    }
    std::sort(extra.begin(), extra.end(), [&](auto a, auto b) {
        const double da = distance(nodes[a.first], nodes[a.second]), db = distance(nodes[b.first], nodes[b.second]);
        return da != db ? da < db : a < b;
    });
    const int primary = std::min(target, int(std::lround(1.4 * (int(nodes.size()) - 1))));
    for (const auto& e : extra) {
        if (int(edges.size()) >= primary) break;
        const bool known = std::any_of(edges.begin(), edges.end(), [&](auto f) {
            return (f.first == e.first && f.second == e.second) || (f.first == e.second && f.second == e.first);
        });
        if (!known) edges.push_back(e);
    }
    if (int(edges.size()) > target) edges.resize(target);

    std::vector<LineSegment> roads;
    for (size_t i = 0; i < edges.size(); ++i)
        roads.push_back({windingPath(nodes[edges[i].first], nodes[edges[i].second], 4000, 0.06, rnd.next()),
                         QString("N%1").arg(i + 1)});
    return roads;
}

// Local roads, each joining a village to the nearest place already on the network, then all
// roads cut into target segments.
std::vector<LineSegment> addLocalRoads(const Region& region, const std::vector<City>& cities,
                                       const std::vector<Lake>& lakes, std::vector<LineSegment> roads, int target) {
    SampleRandom rnd(6002);
    std::vector<engine::Point> nodes;
    for (const auto& c : cities) nodes.push_back(c.at);
    const int villages = (target - int(roads.size())) / 3;
    for (int v = 0; v < villages; ++v) {
        engine::Point p;
        do p = randomPoint(region, rnd, 0.97);
        while (inLake(lakes, p));
        size_t nearest = 0;
        double nearest2 = INFINITY;
        for (size_t j = 0; j < nodes.size(); ++j) {
            const double d2 = (p.x - nodes[j].x) * (p.x - nodes[j].x) + (p.y - nodes[j].y) * (p.y - nodes[j].y);
            if (d2 < nearest2) {
                nearest2 = d2;
                nearest = j;
            }
        }
        roads.push_back({windingPath(p, nodes[nearest], 1000, 0.1, rnd.next()), QString("R%1").arg(101 + v)});
        nodes.push_back(p);
    }
    return splitInto(roads, target);
}

std::vector<LineSegment> buildTransmission(const std::vector<City>& cities, const std::vector<PowerPlant>& plants,
                                           int target) {
    SampleRandom rnd(7001);
    std::vector<engine::Point> nodes;
    std::vector<QString> names;
    const size_t served = std::max<size_t>(2, cities.size() * 6 / 10);
    for (size_t i = 0; i < std::min(served, cities.size()); ++i) {
        nodes.push_back(cities[i].at);
        names.push_back(cities[i].name);
    }
    for (const auto& p : plants) {
        nodes.push_back(p.at);
        names.push_back(p.name.section(' ', 0, 0));
    }
    std::vector<LineSegment> lines;
    for (const auto& [a, b] : spanningTree(nodes)) {
        const double len = distance(nodes[a], nodes[b]);
        const int voltage = (a == 0 || b == 0) ? 400 : len > 60000 ? 230 : 132;
        lines.push_back({windingPath(nodes[a], nodes[b], 5000, 0.02, rnd.next()),
                         names[a] + " - " + names[b] + QString(" %1 kV").arg(voltage), voltage});
    }
    return splitInto(lines, std::max(target, int(lines.size())));
}

std::vector<LineSegment> buildRailway(const std::vector<City>& cities) {
    // One line through the five largest cities, each time to the nearest one not yet joined.
    SampleRandom rnd(8001);
    std::vector<size_t> order{0};
    std::vector<bool> used(std::min<size_t>(5, cities.size()), false);
    if (used.empty()) return {};
    used[0] = true;
    while (order.size() < used.size()) {
        size_t best = 0;
        double bestD = INFINITY;
        for (size_t j = 0; j < used.size(); ++j)
            if (!used[j] && distance(cities[order.back()].at, cities[j].at) < bestD) {
                bestD = distance(cities[order.back()].at, cities[j].at);
                best = j;
            }
        used[best] = true;
        order.push_back(best);
    }
    std::vector<LineSegment> lines;
    for (size_t i = 1; i < order.size(); ++i)
        lines.push_back({windingPath(cities[order[i - 1]].at, cities[order[i]].at, 3000, 0.03, rnd.next()),
                         i <= 2 ? "Northern Railway" : "Southern Railway"});
    return lines;
}

}  // namespace

Ring blob(const engine::Point& centre, double radius, std::uint64_t seed, int vertices) {
    SampleRandom rnd(seed);
    Harmonic h[4];
    for (int k = 0; k < 4; ++k) h[k] = {rnd.range(-0.12, 0.12) / (1 + 0.5 * k), double(k + 2), rnd.range(0, 2 * pi)};
    Ring ring;
    for (int i = 0; i < vertices; ++i) {
        const double a = -2 * pi * i / vertices;  // clockwise
        double r = 1;
        for (const auto& x : h) r += x.amplitude * std::sin(x.frequency * a + x.phase);
        ring.push_back({centre.x + radius * r * std::cos(a), centre.y + radius * r * std::sin(a)});
    }
    ring.push_back(ring.front());
    return ring;
}

Path windingPath(const engine::Point& a, const engine::Point& b, double step, double sway, std::uint64_t seed) {
    SampleRandom rnd(seed);
    const double len = distance(a, b);
    const int n = std::max(2, int(std::ceil(len / step)));
    const double nx = len > 0 ? -(b.y - a.y) / len : 0, ny = len > 0 ? (b.x - a.x) / len : 0;
    const double f1 = rnd.range(0.5, 1.5), p1 = rnd.range(0, 2 * pi);
    const double f2 = rnd.range(2, 4), p2 = rnd.range(0, 2 * pi);
    Path path;
    for (int i = 0; i <= n; ++i) {
        const double t = double(i) / n;
        const double off = len * sway * std::sin(pi * t) *
                           (0.7 * std::sin(2 * pi * f1 * t + p1) + 0.3 * std::sin(2 * pi * f2 * t + p2));
        path.push_back({a.x + t * (b.x - a.x) + off * nx, a.y + t * (b.y - a.y) + off * ny});
    }
    path.front() = a;
    path.back() = b;
    return path;
}

std::vector<LineSegment> splitInto(const std::vector<LineSegment>& lines, int count) {
    // Largest remainder: one piece each, the rest shared by length.
    const int n = int(lines.size());
    std::vector<int> pieces(n, 1);
    double total = 0;
    for (const auto& l : lines) total += pathLength(l.path);
    const int spare = count - n;
    if (spare > 0 && total > 0) {
        std::vector<std::pair<double, int>> rest;
        int given = 0;
        for (int i = 0; i < n; ++i) {
            const double share = spare * pathLength(lines[i].path) / total;
            pieces[i] += int(share);
            given += int(share);
            rest.push_back({share - int(share), i});
        }
        std::sort(rest.begin(), rest.end(), [](auto a, auto b) { return a.first != b.first ? a.first > b.first : a.second < b.second; });
        for (int k = 0; k < spare - given; ++k) ++pieces[rest[k].second];
    }
    std::vector<LineSegment> out;
    for (int i = 0; i < n; ++i) {
        const Path& p = lines[i].path;
        const double len = pathLength(p);
        size_t v = 0;
        double at = 0;  // distance along p at vertex v
        engine::Point start = p.front();
        for (int k = 1; k <= pieces[i]; ++k) {
            const double end = len * k / pieces[i];
            Path piece{start};
            while (v + 1 < p.size() && at + distance(p[v], p[v + 1]) < end) {
                at += distance(p[v], p[v + 1]);
                ++v;
                piece.push_back(p[v]);
            }
            if (k == pieces[i] || v + 1 >= p.size()) {
                if (distance(piece.back(), p.back()) > 0 || piece.size() < 2) piece.push_back(p.back());
            } else {
                const double t = (end - at) / distance(p[v], p[v + 1]);
                start = {p[v].x + t * (p[v + 1].x - p[v].x), p[v].y + t * (p[v + 1].y - p[v].y)};
                piece.push_back(start);
            }
            out.push_back({std::move(piece), lines[i].name, lines[i].voltage});
        }
    }
    return out;
}

SampleWorld::SampleWorld(const SampleSize& size) {
    cities = placeCities(region, size.cities);
    roads = mainRoads(cities, size.roadSegments);
    lakes = placeLakes(region, cities, roads);
    protectedAreas = placeProtectedAreas(region, cities, size.protectedAreas);
    rivers = traceRivers(region, std::clamp(size.cities / 4, 8, 40));
    powerPlants = placePowerPlants(cities, rivers, std::clamp(size.cities / 4, 8, 40));
    roads = addLocalRoads(region, cities, lakes, std::move(roads), size.roadSegments);
    transmission = buildTransmission(cities, powerPlants, size.transmissionSegments);
    railways = buildRailway(cities);
}

}  // namespace tools
