#pragma once
// Exact coverage of a regular grid by a polygon: the area of the polygon in each grid cell,
// computed row by row by clipping its rings to each row and then to each cell of the row.
// Clipping a ring to a rectangle this way may leave edges running along the rectangle's side,
// but they cancel, so the area is exact whatever the ring's shape.

#include <vector>

#include "engine/shape.h"
#include "importer/grid_cover.h"

namespace importer {

// The polygon's area in each cell, row by row from the top (rows x columns values); lines and
// points in the shape are ignored.
std::vector<double> coverage(const engine::Shape& polygon, const GridGeometry& grid);

}  // namespace importer
