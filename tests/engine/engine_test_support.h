#pragma once
// Helpers shared by the engine tests: scratch directories and small shapefiles written through
// the engine itself.

#include <QString>
#include <QTemporaryDir>
#include <vector>

#include "engine/geo_dataset.h"

namespace enginetest {

// A projected coordinate system in metres (UTM zone 33 north on WGS 84).
extern const char* const utm33Wkt;

struct Cell {
    engine::Shape shape;
    std::vector<QVariant> values;
};

// Writes name.shp into dir with the given table and records; returns the path of the .shp.
QString writeShapefile(const QString& dir, const QString& name, int shapeType,
                       const engine::TableDesc& table, const std::vector<Cell>& cells,
                       const std::optional<engine::CoordinateSystem>& crs = std::nullopt);

// A grid of cols x rows square polygons of the given size from (0, 0), with fields
// ID (long), WINDPWRD (double, 100 + 10 * record) and LAND_USE (text, alternating).
QString writeGrid(const QString& dir, const QString& name, int cols, int rows, double size);

}  // namespace enginetest
