#include "engine/spatial_index.h"

#include <algorithm>
#include <cmath>

namespace engine {

namespace {

constexpr int nodeCapacity = 16;

Rectangle bounds(const Rectangle& a, const Rectangle& b) {
    return {std::min(a.left(), b.left()), std::min(a.bottom(), b.bottom()),
            std::max(a.right(), b.right()), std::max(a.top(), b.top())};
}

// Sorts the entries into tiles (x slices, y inside each) and groups them into nodes.
template <class T, class NodeT>
std::vector<NodeT> pack(std::vector<T>& entries) {
    const size_t n = entries.size();
    const size_t leaves = (n + nodeCapacity - 1) / nodeCapacity;
    const size_t slices = std::max<size_t>(1, size_t(std::ceil(std::sqrt(double(leaves)))));
    const size_t perSlice = slices * nodeCapacity;
    auto cx = [](const T& e) { return e.box.left() + e.box.right(); };
    auto cy = [](const T& e) { return e.box.bottom() + e.box.top(); };
    std::sort(entries.begin(), entries.end(), [&](const T& a, const T& b) { return cx(a) < cx(b); });
    for (size_t s = 0; s < n; s += perSlice)
        std::sort(entries.begin() + s, entries.begin() + std::min(n, s + perSlice),
                  [&](const T& a, const T& b) { return cy(a) < cy(b); });
    std::vector<NodeT> nodes;
    nodes.reserve(leaves);
    for (size_t s = 0; s < n; s += perSlice) {
        const size_t sliceEnd = std::min(n, s + perSlice);
        for (size_t i = s; i < sliceEnd; i += nodeCapacity) {
            const size_t end = std::min(sliceEnd, i + nodeCapacity);
            Rectangle box = entries[i].box;
            for (size_t j = i + 1; j < end; ++j) box = bounds(box, entries[j].box);
            nodes.push_back({box, int(i), int(end - i)});
        }
    }
    return nodes;
}

}  // namespace

SpatialIndex::SpatialIndex(std::vector<Item> items) : items_(std::move(items)) {
    if (items_.empty()) return;
    levels_.push_back(pack<Item, Node>(items_));
    while (levels_.back().size() > size_t(nodeCapacity)) {
        std::vector<Node> upper = pack<Node, Node>(levels_.back());
        levels_.push_back(std::move(upper));
    }
}

void SpatialIndex::query(const Rectangle& r, std::vector<int>& out) const {
    if (levels_.empty()) return;
    const int top = int(levels_.size()) - 1;
    for (const Node& node : levels_[top]) visit(top, node, r, out);
}

void SpatialIndex::visit(int level, const Node& node, const Rectangle& r,
                         std::vector<int>& out) const {
    if (!node.box.intersects(r)) return;
    if (level == 0) {
        for (int i = node.first; i < node.first + node.count; ++i)
            if (items_[i].box.intersects(r)) out.push_back(items_[i].id);
        return;
    }
    const std::vector<Node>& below = levels_[level - 1];
    for (int i = node.first; i < node.first + node.count; ++i) visit(level - 1, below[i], r, out);
}

}  // namespace engine
