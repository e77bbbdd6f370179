#pragma once
// How a shape covers the cells of a regular grid: the part of it in each cell, found by halving
// the grid again and again with robust GEOS overlays, so each overlay only sees the part of the
// shape near its block and blocks wholly inside or outside stop at once.

#include <functional>

#include "engine/shape.h"

namespace importer {

struct GridGeometry {
    double left = 0, top = 0;  // top-left corner
    double cellWidth = 1, cellHeight = 1;
    int columns = 0, rows = 0;  // rows counted downwards from the top
};

// Calls visit(column, row, piece) for every cell the shape covers with some area. piece is null
// when the cell lies wholly inside the shape, else the part inside it.
void coverGrid(const engine::Shape& shape, const GridGeometry& grid,
               const std::function<void(int column, int row, const engine::Shape* piece)>& visit);

}  // namespace importer
