#pragma once
#include <QString>
#include <memory>
#include <optional>

#include "engine/geo_dataset.h"
#include "engine/recordset.h"
#include "engine/renderer.h"
#include "engine/symbol.h"

namespace engine {

// One layer of a map: a dataset with its own name, tag, visibility, symbol and renderer.
class MapLayer {
public:
    MapLayer() = default;
    explicit MapLayer(std::shared_ptr<GeoDataset> ds);

    void setGeoDataset(std::shared_ptr<GeoDataset> ds);
    const std::shared_ptr<GeoDataset>& geoDataset() const { return ds_; }

    QString tag;      // the shapefile name the layer was loaded from
    QString name;     // display name; a new layer gets its dataset's name without extension
    bool visible = true;
    Symbol symbol;    // the layer's own single symbol
    std::shared_ptr<Renderer> renderer;  // null: every feature drawn with symbol

    int shapeType() const;
    int recordCount() const;
    const std::optional<CoordinateSystem>& coordinateSystem() const;
    Rectangle extent() const;

    Recordset records() const;                                // every record
    Recordset searchExpression(const QString& expression) const;  // throws EngineError
    // Records within distance of the shape that also match the expression (empty: all).
    Recordset searchByDistance(const Shape& shape, double distance,
                               const QString& expression = {}) const;

private:
    std::shared_ptr<GeoDataset> ds_;
};

}  // namespace engine
