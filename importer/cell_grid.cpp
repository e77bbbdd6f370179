#include "importer/cell_grid.h"

#include <cmath>

#include "importer/coverage.h"
#include "importer/geometry.h"
#include "importer/grid_cover.h"
#include "importer/study_area.h"

namespace importer {

namespace {
// A piece this close to the whole square is the whole square.
constexpr double kWhole = 1 - 1e-9;
}  // namespace

CellGrid::CellGrid(const StudyArea& area, double cellMetres) : size_(cellMetres) {
    const engine::Rectangle e = area.extent();
    x0_ = std::floor(e.left() / size_) * size_;
    const double y0 = std::floor(e.bottom() / size_) * size_;
    cols_ = std::max(1, int(std::ceil((e.right() - x0_) / size_)));
    rows_ = std::max(1, int(std::ceil((e.top() - y0) / size_)));
    yTop_ = y0 + rows_ * size_;
    states_.assign(std::size_t(rows_) * cols_, Outside);
    coverGrid(area.shape(), {x0_, yTop_, size_, size_, cols_, rows_},
              [&](int c, int r, const engine::Shape* piece) {
                  const std::size_t i = std::size_t(r) * cols_ + c;
                  ++inUse_;
                  if (!piece) {
                      states_[i] = Inside;
                      return;
                  }
                  states_[i] = Boundary;
                  pieces_.emplace(i, *piece);
              });
}

engine::Shape CellGrid::square(int row, int col) const {
    const double xl = x0_ + col * size_, yt = yTop_ - row * size_;
    return rectangle(xl, yt - size_, xl + size_, yt);
}

engine::Shape CellGrid::piece(int row, int col) const {
    const std::size_t i = std::size_t(row) * cols_ + col;
    if (states_[i] == Inside) return square(row, col);
    auto it = pieces_.find(i);
    return it == pieces_.end() ? engine::Shape() : it->second;
}

const std::vector<float>& CellGrid::shares(int row, int col, int n) {
    if (n != sharesN_) {
        shares_.clear();
        sharesN_ = n;
    }
    const std::size_t i = std::size_t(row) * cols_ + col;
    auto found = shares_.find(i);
    if (found != shares_.end()) return found->second;
    const double f = size_ / n, fineArea = f * f;
    const std::vector<double> areas =
        coverage(piece(row, col), {x0_ + col * size_, yTop_ - row * size_, f, f, n, n});
    std::vector<float> out(areas.size());
    for (std::size_t k = 0; k < areas.size(); ++k)
        out[k] = float(std::min(1.0, areas[k] / fineArea));
    return shares_.emplace(i, std::move(out)).first->second;
}

}  // namespace importer
