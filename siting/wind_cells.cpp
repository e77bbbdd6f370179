#include "siting/wind_cells.h"

#include "siting/query_procedures.h"

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

void WindCells::addResult(siting::QueryResult& result, int k, engine::Shape piece) const {
    result.add(std::move(piece), dataset_->value(records_[size_t(k)], column_).toDouble());
}

void AddCellPieces(siting::QueryResult& result, const WindCells& cells, CellPieces& pieces) {
    for (auto& [k, piece] : pieces) cells.addResult(result, k, std::move(piece));
    pieces.clear();
}

}  // namespace md_query_functions2
