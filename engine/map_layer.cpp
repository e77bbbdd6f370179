#include "engine/map_layer.h"

#include <QFileInfo>
#include <algorithm>

namespace engine {

namespace {
const std::optional<CoordinateSystem> noCoordinateSystem;
}

MapLayer::MapLayer(std::shared_ptr<GeoDataset> ds) { setGeoDataset(std::move(ds)); }

void MapLayer::setGeoDataset(std::shared_ptr<GeoDataset> ds) {
    ds_ = std::move(ds);
    if (ds_ && name.isEmpty()) name = QFileInfo(ds_->name()).completeBaseName();
}

int MapLayer::shapeType() const { return ds_ ? ds_->shapeType() : 0; }
int MapLayer::recordCount() const { return ds_ ? ds_->recordCount() : 0; }
const std::optional<CoordinateSystem>& MapLayer::coordinateSystem() const {
    return ds_ ? ds_->coordinateSystem() : noCoordinateSystem;
}
Rectangle MapLayer::extent() const { return ds_ ? ds_->extent() : Rectangle(); }

Recordset MapLayer::records() const { return searchExpression({}); }

Recordset MapLayer::searchExpression(const QString& expression) const {
    if (!ds_) return {};
    return Recordset(ds_, ds_->select(expression));
}

Recordset MapLayer::searchByDistance(const Shape& shape, double distance,
                                     const QString& expression) const {
    if (!ds_) return {};
    std::vector<int> near = ds_->selectByDistance(shape, distance);
    if (!expression.trimmed().isEmpty()) {
        const std::vector<int> matching = ds_->select(expression);
        std::vector<int> both;
        std::set_intersection(near.begin(), near.end(), matching.begin(), matching.end(),
                              std::back_inserter(both));
        near = std::move(both);
    }
    return Recordset(ds_, std::move(near));
}

}  // namespace engine
