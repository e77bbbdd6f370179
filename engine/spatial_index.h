#pragma once
// Engine internal: a packed R-tree (sort-tile-recursive) over record extents.

#include <vector>

#include "engine/rectangle.h"

namespace engine {

class SpatialIndex {
public:
    struct Item {
        Rectangle box;
        int id;
    };
    explicit SpatialIndex(std::vector<Item> items);
    // Ids of the items whose box meets r, in no particular order.
    void query(const Rectangle& r, std::vector<int>& out) const;

private:
    struct Node {
        Rectangle box;
        int first, count;  // children in the level below (items for level 0)
    };
    void visit(int level, const Node& node, const Rectangle& r, std::vector<int>& out) const;

    std::vector<Item> items_;
    std::vector<std::vector<Node>> levels_;  // levels_[0] holds items_, the last is the root level
};

}  // namespace engine
