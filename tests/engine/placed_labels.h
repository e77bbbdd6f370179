#pragma once
// The labels a map writes at its redraw, worked out again the way the map places them, so that
// tests can look for each one in the map's image.

#include <QImage>
#include <QPainter>
#include <vector>

#include "engine/label_placement.h"
#include "engine/layer_painter.h"
#include "engine/symbol_painter.h"
#include "mapview/map.h"

namespace enginetest {

inline std::vector<engine::PlacedLabel> placedLabels(const engine::Map& map) {
    QImage scratch(map.size(), QImage::Format_ARGB32_Premultiplied);
    scratch.setDotsPerMeterX(int(map.logicalDpiX() / 0.0254 + 0.5));
    scratch.setDotsPerMeterY(int(map.logicalDpiY() / 0.0254 + 0.5));
    QPainter painter(&scratch);
    const engine::MapView view(map.extent(), QRectF(0, 0, map.width(), map.height()),
                               engine::pixelsPerPoint(painter));
    engine::LabelPlacement labels(view.target);
    for (int i = map.layerCount() - 1; i >= 0; --i)
        if (map.layer(i)->visible) engine::drawLayer(painter, *map.layer(i), view, labels);
    return labels.place();
}

}  // namespace enginetest
