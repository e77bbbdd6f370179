#pragma once
// Engine internal: drawing layers and single shapes for a map view.

#include <QPainter>
#include <QRectF>

#include "engine/label_placement.h"
#include "engine/map_layer.h"

namespace engine {

// Where a map extent lands on a painter: the extent fills target (same aspect ratio).
struct MapView {
    Rectangle extent;
    QRectF target;
    double scale = 1;     // device units per map unit
    double pxPerPt = 1;   // device units per typographic point

    MapView(const Rectangle& e, const QRectF& t, double pixelsPerPoint)
        : extent(e), target(t), scale(e.width() > 0 ? t.width() / e.width() : 1),
          pxPerPt(pixelsPerPoint) {}
    QPointF toDevice(double x, double y) const {
        return {target.left() + (x - extent.left()) * scale, target.top() + (extent.top() - y) * scale};
    }
};

// Draws the layer's features in view with its renderer (or its own symbol), and adds its labels
// to those written once every layer and shape is drawn.
void drawLayer(QPainter& p, const MapLayer& layer, const MapView& view, LabelPlacement& labels);
// A shape taken apart for drawing: its rings, lines or points in map coordinates.
struct ShapeParts {
    std::vector<QPolygonF> parts;
    Rectangle box;
    int shapeType = 0;
};
ShapeParts partsOf(const Shape& shape);
// Draws one shape with a symbol.
void drawShape(QPainter& p, const ShapeParts& shape, const Symbol& symbol, const MapView& view);

}  // namespace engine
