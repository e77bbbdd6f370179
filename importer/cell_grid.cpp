#include "importer/cell_grid.h"

#include <cmath>

#include "importer/geometry.h"
#include "importer/study_area.h"

namespace importer {

namespace {
// A piece this close to the whole square is the whole square.
constexpr double kWhole = 1 - 1e-9;
}  // namespace

CellGrid::CellGrid(const StudyArea& area, double cellMetres,
                   const std::function<void(double)>& tick)
    : size_(cellMetres) {
    const engine::Rectangle e = area.extent();
    x0_ = std::floor(e.left() / size_) * size_;
    const double y0 = std::floor(e.bottom() / size_) * size_;
    cols_ = std::max(1, int(std::ceil((e.right() - x0_) / size_)));
    rows_ = std::max(1, int(std::ceil((e.top() - y0) / size_)));
    yTop_ = y0 + rows_ * size_;
    states_.assign(std::size_t(rows_) * cols_, Outside);
    const double whole = size_ * size_;
    for (int r = 0; r < rows_; ++r) {
        const double yt = yTop_ - r * size_, yb = yt - size_;
        // One strip per row keeps each cell's clip small.
        const engine::Shape strip = clipToRectangle(area.shape(), x0_, yb, x0_ + cols_ * size_, yt);
        if (!strip.isNull()) {
            for (int c = 0; c < cols_; ++c) {
                const double xl = x0_ + c * size_;
                engine::Shape p = clipToRectangle(strip, xl, yb, xl + size_, yt);
                if (p.isNull()) continue;
                const double a = p.area();
                if (!(a > 0)) continue;
                const std::size_t i = std::size_t(r) * cols_ + c;
                ++inUse_;
                if (a >= whole * kWhole) {
                    states_[i] = Inside;
                } else {
                    p = repaired(p);
                    if (p.isNull()) {
                        --inUse_;
                        continue;
                    }
                    states_[i] = Boundary;
                    pieces_.emplace(i, std::move(p));
                }
            }
        }
        if (tick) tick(double(r + 1) / rows_);
    }
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
    std::vector<float> out(std::size_t(n) * n, 0.f);
    const engine::Shape p = piece(row, col);
    const double f = size_ / n, fineArea = f * f;
    const double xl = x0_ + col * size_, yt = yTop_ - row * size_;
    for (int a = 0; a < n && !p.isNull(); ++a) {
        const double top = yt - a * f, bottom = top - f;
        const engine::Shape band = clipToRectangle(p, xl, bottom, xl + size_, top);
        if (band.isNull()) continue;
        for (int b = 0; b < n; ++b) {
            const engine::Shape bit =
                clipToRectangle(band, xl + b * f, bottom, xl + (b + 1) * f, top);
            if (!bit.isNull())
                out[std::size_t(a) * n + b] = float(std::min(1.0, bit.area() / fineArea));
        }
    }
    return shares_.emplace(i, std::move(out)).first->second;
}

}  // namespace importer
