#pragma once
// The catalogue layers of the sample dataset, grouped by kind; each writes its shapefiles.

#include <functional>
#include <vector>

#include "tools/sample_world.h"
#include "tools/sample_writer.h"

namespace tools {

struct GridCell {
    engine::Point centre;
    double half;  // half the side, metres
    int row, column;
    Ring ring() const;
};

// 1 + (cos(2 pi (month - peak) / 12) * amplitude): over the twelve months it averages exactly 1.
double seasonal(int month, double amplitude, double peakMonth);
extern const char* const monthKeys[12];

// Square cells of the given side over the country, those whose centre lies inside, row by row.
std::vector<GridCell> gridOver(const Region& region, double side);
// The side of the wind grid for a number of cells.
double windCellSide(const Region& region, int cells);
double windPowerDensity(const Region& region, const engine::Point& p);

void writeBoundaries(const SampleWorld& world, const SampleWriter& out);  // 36 to 39
void writeTerrain(const SampleWorld& world, const SampleWriter& out, const SampleSize& size);  // 01, 02
void writeSolarGrids(const SampleWorld& world, const SampleWriter& out);  // 11 to 16
void writeWindGrid(const SampleWorld& world, const SampleWriter& out, const std::vector<GridCell>& cells);  // 20
// The wind layer over any cells, with the power density at each cell centre.
void writeWindCells(const SampleWriter& out, const std::vector<GridCell>& cells,
                    const std::function<double(const engine::Point&)>& powerDensity);
void writeWater(const SampleWorld& world, const SampleWriter& out);     // 25, 30, 40
void writeNetworks(const SampleWorld& world, const SampleWriter& out);  // 42 to 44
void writeSites(const SampleWorld& world, const SampleWriter& out);     // 31, 50 to 59

}  // namespace tools
