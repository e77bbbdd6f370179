#include <cmath>
#include <numbers>

#include "tools/sample_layers.h"
#include "tools/smooth_noise.h"

namespace tools {
namespace {

// Annual values stay inside this band so that with the seasonal swing every month lies within
// 3.5 to 6.8 kWh/m2/day.
constexpr double solarLow = 3.75, solarHigh = 6.38, solarSwing = 0.06;

struct SolarKind {
    const char* file;
    const char* suffix;
    double side;
    double peakMonth;
};

double solarValue(const Region& region, const engine::Point& p, const QString& suffix) {
    const double s = region.sunshine(p);
    const double v = suffix == "dir" ? std::pow(s, 1.3) : suffix == "tilt" ? 0.1 + 0.9 * s : s;
    return solarLow + (solarHigh - solarLow) * v;
}

double round2(double v) { return std::round(v * 100) / 100; }
double round1(double v) { return std::round(v * 10) / 10; }

}  // namespace

const char* const monthKeys[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                   "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

double seasonal(int month, double amplitude, double peakMonth) {
    return 1 + amplitude * std::cos(2 * std::numbers::pi * (month - peakMonth) / 12);
}

Ring GridCell::ring() const {
    const double l = centre.x - half, r = centre.x + half, b = centre.y - half, t = centre.y + half;
    return {{l, b}, {l, t}, {r, t}, {r, b}, {l, b}};
}

std::vector<GridCell> gridOver(const Region& region, double side) {
    const auto b = region.bounds();
    const double x0 = std::floor(b.left() / side) * side, y0 = std::floor(b.bottom() / side) * side;
    std::vector<GridCell> cells;
    for (int row = 0; y0 + row * side < b.top(); ++row)
        for (int col = 0; x0 + col * side < b.right(); ++col) {
            const engine::Point c{x0 + (col + 0.5) * side, y0 + (row + 0.5) * side};
            if (region.contains(c)) cells.push_back({c, side / 2, row, col});
        }
    return cells;
}

double windCellSide(const Region& region, int cells) {
    // Whole metres, so cell edges are exact in the files.
    return std::max(250.0, std::round(std::sqrt(region.area() / std::max(cells, 1))));
}

double windPowerDensity(const Region& region, const engine::Point& p) {
    return round1(100 + 820 * std::pow(region.windiness(p), 1.4));
}

void writeSolarGrids(const SampleWorld& world, const SampleWriter& out) {
    static const SolarKind kinds[] = {{"11_solar_direct", "dir", 40000, 0},
                                      {"12_solar_tilt", "tilt", 40000, 2},
                                      {"13_solar_direct", "dir", 10000, 0},
                                      {"14_solar_glo", "glo", 10000, 2},
                                      {"16_solar_tilt", "tilt", 10000, 2}};
    const Region& region = world.region;
    for (const auto& kind : kinds) {
        const QString suffix = kind.suffix;
        engine::TableDesc table{integerField("Cell_ID"), integerField("Gridcode"), realField("Lon", 10, 4),
                                realField("Lat", 10, 4)};
        for (const char* m : monthKeys) table.push_back(realField(QString(m).left(1) + QString(m).mid(1).toLower() + suffix, 6, 2));
        table.push_back(realField("Ann" + suffix, 6, 2));
        SampleLayer layer = out.layer(kind.file, engine::moShapeTypePolygon, table);
        int id = 0;
        for (const auto& cell : gridOver(region, kind.side)) {
            const double annual = solarValue(region, cell.centre, suffix);
            const auto geo = region.zone().toGeographic(cell.centre);
            std::vector<QVariant> values{++id, int(std::floor(annual * 2)), std::round(geo.x * 1e4) / 1e4,
                                         std::round(geo.y * 1e4) / 1e4};
            for (int m = 0; m < 12; ++m) values.push_back(round2(annual * seasonal(m, solarSwing, kind.peakMonth)));
            values.push_back(round2(annual));
            layer.polygon(cell.ring(), values);
        }
        layer.commit();
    }
}

void writeWindGrid(const SampleWorld& world, const SampleWriter& out, const std::vector<GridCell>& cells) {
    writeWindCells(out, cells, [&](const engine::Point& p) { return windPowerDensity(world.region, p); });
}

void writeWindCells(const SampleWriter& out, const std::vector<GridCell>& cells,
                    const std::function<double(const engine::Point&)>& powerDensity) {
    engine::TableDesc table{integerField("FeatureID"), realField("WINDPWRD", 10, 1), integerField("WINDCLASS", 4)};
    for (const char* m : monthKeys) table.push_back(realField(QString(m) + "WS", 6, 2));
    for (const char* m : monthKeys) table.push_back(realField(QString(m) + "WPD", 8, 1));
    table.insert(table.end(), {realField("ZORVELWK", 6, 3), realField("AUTOCORR", 6, 3), realField("PATTSTR", 6, 3),
                               integerField("PEAKHR", 3)});
    SampleLayer layer = out.layer("20_wind", engine::moShapeTypePolygon, table);
    static const double classBreaks[] = {200, 300, 400, 500, 600, 800};
    // Mean wind cube of a Rayleigh distribution is 6/pi times the mean speed cubed; air 1.225 kg/m3.
    const double cubeToPower = 0.5 * 1.225 * 6 / std::numbers::pi;
    int id = 0;
    for (const auto& cell : cells) {
        const auto& p = cell.centre;
        const double u = p.x / 1000, v = p.y / 1000;
        const double power = powerDensity(p);
        int windClass = 1;
        for (double b : classBreaks) windClass += power >= b;
        std::vector<QVariant> values{id++, power, windClass};
        const double swing = 0.25 + 0.2 * smoothNoise(u / 150, v / 150, 51);
        std::vector<double> monthly(12);
        for (int m = 0; m < 12; ++m)
            monthly[m] = power * (seasonal(m, swing, 6.5) + seasonal(2 * m, 0.06, 1) - 1);  // monsoon peak
        for (int m = 0; m < 12; ++m) values.push_back(round2(std::cbrt(monthly[m] / cubeToPower)));
        for (int m = 0; m < 12; ++m) values.push_back(round1(monthly[m]));
        values.push_back(std::round((1.8 + 0.6 * smoothNoise(u / 90, v / 90, 52)) * 1000) / 1000);
        values.push_back(std::round((0.85 + 0.1 * smoothNoise(u / 90, v / 90, 53)) * 1000) / 1000);
        values.push_back(std::round((0.1 + 0.2 * smoothNoise(u / 90, v / 90, 54)) * 1000) / 1000);
        values.push_back(std::min(23, int(24 * smoothNoise(u / 200, v / 200, 55))));
        layer.polygon(cell.ring(), values);
    }
    layer.commit();
}

}  // namespace tools
