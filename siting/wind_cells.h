#pragma once
// The wind polygons a query found, with their extents, and adding the pieces cut from them to
// a query result.

#include <memory>
#include <utility>
#include <vector>

#include "engine/map_layer.h"
#include "engine/rectangle.h"
#include "engine/shape.h"
#include "siting/study.h"

namespace md_query_functions2 {

class WindCells {
  public:
    // The records found on the wind layer, walked from the first; their shapes are settled for
    // the worker threads.
    WindCells(const engine::MapLayer& layer, engine::Recordset& found);
    int count() const { return int(records_.size()); }
    const engine::Shape& shape(int k) const { return dataset_->shape(records_[size_t(k)]); }
    const std::vector<engine::Rectangle>& boxes() const { return boxes_; }
    // Adds a piece of cell k with its power density (the run's own thread only).
    void addResult(siting::QueryResult& result, int k, engine::Shape piece) const;

  private:
    std::shared_ptr<const engine::GeoDataset> dataset_;
    std::vector<int> records_;
    std::vector<engine::Rectangle> boxes_;
    int column_;
};

// Pieces of wind cells, by cell position, in the order they are to be added.
using CellPieces = std::vector<std::pair<int, engine::Shape>>;
void AddCellPieces(siting::QueryResult& result, const WindCells& cells, CellPieces& pieces);

}  // namespace md_query_functions2
