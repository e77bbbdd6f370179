#pragma once
// Nearby cells grouped into square tiles, so that work that neighbours share (buffering the
// lines near them) is done once per tile rather than once per cell.

#include <vector>

#include "engine/rectangle.h"

namespace md_query_functions2 {

struct CellTile {
    std::vector<int> cells;  // positions into the boxes, ascending
    engine::Rectangle box;   // holds every cell of the tile
};

// Tiles about `across` typical cells wide, each cell in the tile of its centre, ordered by their
// first cell: every cell before a tile's first one lies in an earlier tile.
std::vector<CellTile> TilesOf(const std::vector<engine::Rectangle>& boxes, int across = 6);

}  // namespace md_query_functions2
