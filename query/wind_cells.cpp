#include "query/wind_cells.h"

#include "query/query_procedures.h"
#include "query/result_set.h"

namespace md_query_functions2 {

WindCells::WindCells(const engine::MapLayer& layer, engine::Recordset& found)
    : dataset_(layer.geoDataset()),
      records_(RecordsOf(found)),
      column_(dataset_->fieldIndex("WINDPWRD")) {
    boxes_.reserve(records_.size());
    for (int rec : records_) {
        boxes_.push_back(dataset_->shapeExtent(rec));
        dataset_->shape(rec).settle();
    }
}

void WindCells::addResult(int k, engine::Shape piece) const {
    AddResult(std::move(piece), dataset_->value(records_[size_t(k)], column_).toDouble(),
              "WINDPWRD");
}

void AddCellPieces(const WindCells& cells, CellPieces& pieces) {
    for (auto& [k, piece] : pieces) cells.addResult(k, std::move(piece));
    pieces.clear();
}

}  // namespace md_query_functions2
