#include "importer/grid_cover.h"

#include "importer/geometry.h"

namespace importer {

namespace {

// A piece this close to the whole block is the whole block.
constexpr double kWhole = 1 - 1e-12;

struct Cover {
    const GridGeometry& g;
    const std::function<void(int, int, const engine::Shape*)>& visit;

    engine::Shape block(int c0, int r0, int c1, int r1) const {
        return rectangle(g.left + c0 * g.cellWidth, g.top - r1 * g.cellHeight,
                         g.left + c1 * g.cellWidth, g.top - r0 * g.cellHeight);
    }

    void wholeBlock(int c0, int r0, int c1, int r1) const {
        for (int r = r0; r < r1; ++r)
            for (int c = c0; c < c1; ++c) visit(c, r, nullptr);
    }

    // s lies within the block [c0, c1) x [r0, r1); area is its area.
    void split(const engine::Shape& s, double area, int c0, int r0, int c1, int r1) const {
        const double blockArea = (c1 - c0) * g.cellWidth * (r1 - r0) * g.cellHeight;
        if (!(area > 0)) return;
        if (area >= blockArea * kWhole) return wholeBlock(c0, r0, c1, r1);
        if (c1 - c0 == 1 && r1 - r0 == 1) return visit(c0, r0, &s);
        const bool acrossColumns =
            (c1 - c0) * g.cellWidth >= (r1 - r0) * g.cellHeight && c1 - c0 > 1;
        const int cm = (c0 + c1) / 2, rm = (r0 + r1) / 2;
        const int halves[2][4] = {{c0, r0, acrossColumns ? cm : c1, acrossColumns ? r1 : rm},
                                  {acrossColumns ? cm : c0, acrossColumns ? r0 : rm, c1, r1}};
        for (const auto& h : halves) {
            const engine::Shape part = s.intersect(block(h[0], h[1], h[2], h[3]));
            if (part.isNull() || part.shapeType() != engine::moShapeTypePolygon) continue;
            split(part, part.area(), h[0], h[1], h[2], h[3]);
        }
    }
};

}  // namespace

void coverGrid(const engine::Shape& shape, const GridGeometry& grid,
               const std::function<void(int, int, const engine::Shape*)>& visit) {
    if (shape.isNull() || grid.columns < 1 || grid.rows < 1) return;
    const Cover cover{grid, visit};
    const engine::Shape inside = shape.intersect(cover.block(0, 0, grid.columns, grid.rows));
    if (inside.isNull() || inside.shapeType() != engine::moShapeTypePolygon) return;
    cover.split(inside, inside.area(), 0, 0, grid.columns, grid.rows);
}

}  // namespace importer
