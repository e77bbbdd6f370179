#pragma once
#include <QFont>

#include "engine/types.h"

namespace engine {

// How one feature is drawn. The style code means, by shape type:
//   polygons 0 solid fill, 1 transparent (outline only), 2..7 hatch patterns (4 cross hatch);
//   lines 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot;
//   points 0 circle, 1 square, 2 triangle, 3 cross.
struct Symbol {
    ColorNumber color = rgb(128, 128, 128);
    int style = 0;
    double size = 1;  // line width or marker size, in points
    bool outline = true;
    ColorNumber outlineColor = rgb(0, 0, 0);
    int symbolType = -1;  // -1: follow the layer's shape type
    QFont font;
};

}  // namespace engine
