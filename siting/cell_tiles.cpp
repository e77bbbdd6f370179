#include "siting/cell_tiles.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace md_query_functions2 {

std::vector<CellTile> TilesOf(const std::vector<engine::Rectangle>& boxes, int across) {
    std::vector<CellTile> tiles;
    if (boxes.empty()) return tiles;
    std::vector<double> sides;
    sides.reserve(boxes.size());
    engine::Rectangle all;
    for (const engine::Rectangle& b : boxes) {
        sides.push_back(std::max(b.width(), b.height()));
        all.unite(b);
    }
    std::nth_element(sides.begin(), sides.begin() + sides.size() / 2, sides.end());
    double side = across * sides[sides.size() / 2];
    if (!(side > 0)) side = std::max({all.width(), all.height(), 1.0}) / 64;
    std::unordered_map<long long, int> tileAt;
    for (int i = 0; i < int(boxes.size()); ++i) {
        const engine::Point c = boxes[i].center();
        const long long column = std::llround(std::floor((c.x - all.left()) / side));
        const long long row = std::llround(std::floor((c.y - all.bottom()) / side));
        const auto [at, added] = tileAt.try_emplace((row << 32) ^ column, int(tiles.size()));
        if (added) tiles.emplace_back();
        CellTile& tile = tiles[at->second];
        tile.cells.push_back(i);
        tile.box.unite(boxes[i]);
    }
    return tiles;
}

}  // namespace md_query_functions2
