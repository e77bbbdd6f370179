#pragma once
// GEOS work of the import on the engine's shapes: conversion from OGR, rectangles, clipping and
// prepared tests.

#include <vector>

#include "engine/geos_context.h"
#include "engine/shape.h"

class OGRGeometry;

namespace importer {

// The OGR geometry as a shape (null when it has none or GEOS refuses it).
engine::Shape toShape(const OGRGeometry& g);
engine::Shape rectangle(double x0, double y0, double x1, double y1);
// The union of the shapes (the one shape itself when there is one).
engine::Shape merged(std::vector<engine::Shape> parts);
// A valid shape of the same kind (polygons repaired, lower-dimension leftovers dropped).
engine::Shape repaired(const engine::Shape& s);
bool isValid(const engine::Shape& s);
// Point inside a polygon, or on a line.
engine::Shape interiorPoint(const engine::Shape& s);

// A prepared geometry for repeated tests against one shape, which it must not outlive.
class Prepared {
  public:
    explicit Prepared(const engine::Shape& s);
    ~Prepared();
    Prepared(const Prepared&) = delete;
    Prepared& operator=(const Prepared&) = delete;
    bool contains(const engine::Shape& s) const;
    bool intersects(const engine::Shape& s) const;

  private:
    const GEOSPreparedGeometry* p_;
};

}  // namespace importer
