#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/sample_layers.h"
#include "tools/sample_names.h"
#include "tools/sample_random.h"
#include "tools/smooth_noise.h"

namespace tools {
namespace {

constexpr double pi = std::numbers::pi;
constexpr double cellSide = 5000;
// The grid's centre: the middle of the zone, far enough north that a four-fold grid keeps
// positive northings.
constexpr engine::Point centre{500000, 2000000};

// Square cells row by row, exactly count of them, the last row partly filled.
std::vector<GridCell> denseCells(int count, engine::Rectangle& bounds) {
    const int columns = int(std::ceil(std::sqrt(double(count))));
    const int rows = (count + columns - 1) / columns;
    const double x0 = centre.x - columns * cellSide / 2, y0 = centre.y - rows * cellSide / 2;
    bounds = engine::Rectangle(x0, y0, x0 + columns * cellSide, y0 + rows * cellSide);
    std::vector<GridCell> cells;
    cells.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int row = i / columns, column = i % columns;
        cells.push_back({{x0 + (column + 0.5) * cellSide, y0 + (row + 0.5) * cellSide},
                         cellSide / 2,
                         row,
                         column});
    }
    return cells;
}

engine::Point randomIn(const engine::Rectangle& r, SampleRandom& rnd) {
    return {rnd.range(r.left(), r.right()), rnd.range(r.bottom(), r.top())};
}

// A walk of equal steps from a random start, turning by up to maxTurn radians at each vertex.
Path randomWalk(const engine::Rectangle& bounds, int steps, double step, double maxTurn,
                SampleRandom& rnd) {
    Path path{randomIn(bounds, rnd)};
    double heading = rnd.range(0, 2 * pi);
    for (int k = 0; k < steps; ++k) {
        const engine::Point& p = path.back();
        path.push_back({p.x + step * std::cos(heading), p.y + step * std::sin(heading)});
        heading += rnd.range(-maxTurn, maxTurn);
    }
    return path;
}

void writeLines(const SampleWriter& out, const engine::Rectangle& bounds, int roads, int lines) {
    SampleRandom rnd(12001);
    SampleLayer roadLayer = out.layer("43_roads", engine::moShapeTypeLine, {textField("NAME", 20)});
    for (int i = 0; i < roads; ++i)
        roadLayer.line(randomWalk(bounds, 6, 1500, 0.8, rnd), {QString("R%1").arg(i + 1)});
    roadLayer.commit();
    SampleLayer lineLayer = out.layer("44_transmissionline", engine::moShapeTypeLine,
                                      {textField("NAME", 60), integerField("VOLTAGE", 6)});
    static const int voltages[] = {132, 230, 400};
    for (int i = 0; i < lines; ++i) {
        const int voltage = voltages[rnd.index(3)];
        lineLayer.line(randomWalk(bounds, 8, 6000, 0.3, rnd),
                       {QString("L%1 %2 kV").arg(i + 1).arg(voltage), voltage});
    }
    lineLayer.commit();
}

// Quadrilaterals on a square grid over the bounds, each corner moved on its own and the whole
// grown by a tenth, so neighbours overlap; classes drawn evenly from eight.
void writeLandUse(const SampleWriter& out, const engine::Rectangle& bounds, int polygons) {
    static const char* const classes[] = {"GRASSLAND",   "FARMER'S FIELD", "FOREST",
                                          "SHRUBLAND",   "SAVANNA",        "WETLAND",
                                          "URBAN AREAS", "WATER BODIES"};
    SampleRandom rnd(13001);
    const int n = std::max(1, int(std::lround(std::sqrt(double(polygons)))));
    const double sx = bounds.width() / n, sy = bounds.height() / n;
    SampleLayer layer = out.layer("02_landuse", engine::moShapeTypePolygon,
                                  {textField("LAND_USE", 50), integerField("FeatureID")});
    int id = 0;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const double cx = bounds.left() + (i + 0.5) * sx, cy = bounds.bottom() + (j + 0.5) * sy;
            Ring ring;
            for (const auto& [dx, dy] :
                 {std::pair{-1, -1}, {-1, 1}, {1, 1}, {1, -1}}) {  // clockwise
                const double x = dx * 0.55 + rnd.range(-0.12, 0.12),
                             y = dy * 0.55 + rnd.range(-0.12, 0.12);
                ring.push_back({cx + x * sx, cy + y * sy});
            }
            ring.push_back(ring.front());
            layer.polygon(ring, {classes[rnd.index(8)], id++});
        }
    layer.commit();
}

void writeParks(const SampleWriter& out, const engine::Rectangle& bounds, int count) {
    SampleRandom rnd(14001);
    NameMaker names(14002);
    SampleLayer parks = out.layer("31_protectedarea", engine::moShapeTypePolygon,
                                  {textField("NAME", 60), textField("TYPE", 30)});
    for (int i = 0; i < count; ++i) {
        const engine::Point c = randomIn(bounds, rnd);
        const double radius = rnd.range(2000, 15000);
        parks.polygon(blob(c, radius, rnd.next()),
                      {names.next() + " National Park", "National Park"});
    }
    parks.commit();
}

// Smooth over about a fifth of the grid's side, so that a small grid has every class too.
double densePowerDensity(const engine::Point& p, double feature) {
    const double n = fractalNoise(p.x / feature, p.y / feature, 71);
    return std::round((100 + 820 * std::pow(n, 1.2)) * 10) / 10;
}

}  // namespace

DenseSize DenseSize::scaled(double area, double roadDensity) const {
    auto s = [](int n, double f) { return std::max(1, int(std::lround(n * f))); };
    return {s(windCells, area), s(roads, area * roadDensity), s(transmissionLines, area),
            s(landUsePolygons, area), s(protectedAreas, area)};
}

void generateDenseDataset(const QString& dir, const DenseSize& size, bool geographic) {
    const SampleWriter out(dir, UtmZone{}, geographic);
    engine::Rectangle bounds;
    const auto cells = denseCells(size.windCells, bounds);
    const double feature = bounds.width() / 5;
    writeWindCells(out, cells,
                   [feature](const engine::Point& p) { return densePowerDensity(p, feature); });
    writeLines(out, bounds, size.roads, size.transmissionLines);
    writeLandUse(out, bounds, size.landUsePolygons);
    writeParks(out, bounds, size.protectedAreas);
}

}  // namespace tools
