#pragma once
// Engine internal: a dataset's geometry ready for painting, built once per dataset.

#include <QPointF>
#include <QtNumeric>
#include <QPolygonF>
#include <vector>

namespace engine {

class GeoDataset;
class Shape;

// Appends the rings, lines or points of a shape, in map coordinates.
void appendParts(const Shape& shape, std::vector<QPolygonF>& out);

struct RenderCache {
    explicit RenderCache(const GeoDataset& ds);
    // Per record, in map coordinates: the rings of its polygons, its lines or its points.
    std::vector<std::vector<QPolygonF>> parts;
    // Per record: whether it has holes or several polygons (drawn as one path then).
    std::vector<bool> complex;
    // Per record: where its label goes (a point inside a polygon); made on first use.
    const std::vector<QPointF>& labelPoints(const GeoDataset& ds);
    // Per record: its area (polygons) or length (lines), which orders the placing of labels;
    // made with the label points.
    const std::vector<double>& labelSizes(const GeoDataset& ds);

  private:
    void makeLabelPlaces(const GeoDataset& ds);

    std::vector<QPointF> labelPoints_;
    std::vector<double> labelSizes_;
    bool labelsMade_ = false;
};

}  // namespace engine
