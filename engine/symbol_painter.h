#pragma once
// Engine internal: how a symbol's codes turn into pens, brushes and markers.

#include <QBrush>
#include <QPainter>
#include <QPen>

#include "engine/symbol.h"

namespace engine {

// The shape type a symbol-kind code selects (0 or 21 markers, 1 or 22 lines, 2 or 23 fills);
// fallback for any other code (-1: not set).
int kindOf(int symbolType, int fallback);
// The kind of shape a symbol draws: its own symbolType when set, else the layer's.
int symbolKind(const Symbol& s, int layerShapeType);

// Pixels per point on the painter's device.
double pixelsPerPoint(const QPainter& p);

// Fill and outline of a polygon symbol.
QBrush polygonBrush(const Symbol& s);
QPen polygonPen(const Symbol& s, double pxPerPt);
// The pen of a line symbol.
QPen linePen(const Symbol& s, double pxPerPt);
// A point marker centred at p.
void drawMarker(QPainter& p, const QPointF& at, const Symbol& s, double pxPerPt);
// A legend swatch: the symbol drawn inside r as its kind looks on the map.
void drawSwatch(QPainter& p, const QRectF& r, const Symbol& s, int layerShapeType);

}  // namespace engine
