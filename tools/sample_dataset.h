#pragma once
// The deterministic sample dataset: a whole fictional country as catalogue shapefiles.

#include <QString>

#include "engine/types.h"

namespace tools {

// How many features the size-dependent layers get. The country itself stays the same; a larger
// size draws it in finer cells and with a denser network.
struct SampleSize {
    int windCells = 7000;
    int roadSegments = 40;  // under 50, so roads start shown
    int transmissionSegments = 40;
    int landUsePolygons = 500;
    int protectedAreas = 12;
    int cities = 30;  // under 50, so cities start shown

    static SampleSize standard() { return {}; }
    // The benchmark country.
    static SampleSize large() { return {100000, 20000, 2000, 5000, 500, 150}; }
    SampleSize scaled(double factor) const;
};

// Known places of the generated data, in the dataset's coordinates, for checks of the drawing.
// Each lies well away from anything else drawn by default.
struct SamplePlaces {
    engine::Point windCell;  // centre of a wind cell
    double windPowerDensity = 0;  // that cell's WINDPWRD
    engine::Point lake;      // inside a lake
    engine::Point road;      // on a road
};

// Writes the dataset into dir (created when missing), in UTM metres or, when geographic, the
// same region in WGS 84 degrees. Throws engine::EngineError when a file cannot be written.
SamplePlaces generateSampleDataset(const QString& dir, const SampleSize& size = {}, bool geographic = false);

// The dense benchmark dataset, shaped like national siting data rather than like the sample
// country: square wind cells of 5 km in one square grid, short random-walk roads that cross
// each other freely, long transmission lines, large land-use quadrilaterals of eight classes
// that overlap their neighbours, and round parks. Only the layers the wind queries read.
struct DenseSize {
    int windCells = 100000;
    int roads = 20000;  // of 6 segments of 1.5 km
    int transmissionLines = 2000;  // of 8 segments of 6 km
    int landUsePolygons = 4900;  // of about 22 km
    int protectedAreas = 500;  // of 2 to 15 km radius
    // area: every count times the factor, on a grid that much larger; roadDensity: roads only.
    DenseSize scaled(double area, double roadDensity = 1) const;
};
void generateDenseDataset(const QString& dir, const DenseSize& size = {}, bool geographic = false);

}  // namespace tools
