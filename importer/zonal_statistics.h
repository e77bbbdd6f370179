#pragma once
// A raster summed over the cells of a grid: each cell's area-weighted mean or majority class
// over the pixels it covers inside the study area, no-data left out.
//
// The raster is warped onto fine pixels aligned to the cells (n x n per cell), with GDAL
// weighing each source pixel by the part of the fine pixel it covers. A fine pixel counts by
// its share inside the study area. On the boundary, cells are counted on the source pixels
// themselves, each by the exact part of it inside the cell's piece of the study area (unless
// the cell covers thousands of pixels, where fine pixels are small enough). Cells without data
// are dropped; a cell with no-data in part keeps only the fine pixels that have data.

#include <ogr_spatialref.h>

#include <functional>
#include <map>
#include <vector>

#include "engine/shape.h"

namespace importer {

class CellGrid;
class RasterSource;

struct CellValue {
    int row = 0, col = 0;
    engine::Shape shape;  // the cell inside the study area, where the raster has data
    double value = 0;     // mean, or majority class code
};

struct ZonalOptions {
    bool majority = false;
    // For majority: which codes are classes; other values count as no-data.
    std::function<bool(long long)> isClass;
    // Largest number of fine pixels per cell side and in all.
    int maxFinePerSide = 64;
    double maxFineTotal = 120e6;
    // Largest number of source pixels read over the grid.
    double maxPixelsRead = 2e10;
};

struct ZonalResult {
    std::vector<CellValue> cells;
    int finePerSide = 0;
    std::map<long long, double> unknownCodesKm2;  // majority: codes that are no class
    double noDataKm2 = 0;                         // inside the study area, within the cells
    // Of that, pixels that held no number: infinite, or beyond any value a map of the Earth
    // holds (1e308 and the like, "no data" to some tools).
    double notNumbersKm2 = 0;
};

// Whether a pixel value is a number a raster of the Earth can mean.
bool usablePixel(double v);

// tick(0..1) reports progress and may throw to cancel.
ZonalResult zonalStatistics(CellGrid& grid, const RasterSource& raster,
                            const OGRSpatialReference& crs, const ZonalOptions& options,
                            const std::function<void(double)>& tick);

}  // namespace importer
