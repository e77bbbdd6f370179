#pragma once
// Square cells of one size over the study area, aligned on whole multiples of the size in the
// output coordinates, row 0 at the top. Each cell is outside, wholly inside, or on the boundary,
// where it keeps its part inside the study area and the share of each of its fine pixels.

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "engine/shape.h"

namespace importer {

class StudyArea;

class CellGrid {
  public:
    enum State : std::uint8_t { Outside, Inside, Boundary };

    CellGrid(const StudyArea& area, double cellMetres);

    double cellSize() const { return size_; }
    double left() const { return x0_; }
    double top() const { return yTop_; }
    int rows() const { return rows_; }
    int columns() const { return cols_; }
    int cellsInside() const { return inUse_; }  // inside or on the boundary
    State state(int row, int col) const { return states_[std::size_t(row) * cols_ + col]; }
    engine::Shape square(int row, int col) const;
    // The part inside the study area: the square itself for an inside cell.
    engine::Shape piece(int row, int col) const;
    // For a boundary cell, the share (0..1) of each of its n x n fine pixels that lies in the
    // study area, row by row from the top. Computed on first use for each n.
    const std::vector<float>& shares(int row, int col, int n);

  private:
    double size_, x0_ = 0, yTop_ = 0;
    int rows_ = 0, cols_ = 0, inUse_ = 0;
    std::vector<State> states_;
    std::unordered_map<std::size_t, engine::Shape> pieces_;  // boundary cells
    int sharesN_ = 0;
    std::unordered_map<std::size_t, std::vector<float>> shares_;
};

}  // namespace importer
