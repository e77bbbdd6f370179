#pragma once
// Overlay helpers for many shapes at once: the polygonal part of an overlay, clipping by a
// rectangle, cutting a large area by a small cell, prepared shapes for one-against-many tests,
// and an index of extents.

#include <memory>
#include <vector>

#include "engine/rectangle.h"
#include "engine/shape.h"

struct GEOSPrepGeom_t;

namespace engine {

class SpatialIndex;

// The polygonal parts of a shape (an overlay of touching areas can also give lines and
// points); nothing when there are none.
Shape polygonalPart(Shape s);
// The part of a shape inside a rectangle, of the shape's own kind; nothing when none.
Shape clipToRectangle(const Shape& s, const Rectangle& r);
// Whether the shape is one polygon that fills its own extent (an axis-aligned rectangle).
bool isRectangle(const Shape& s);
// The polygonal part of area ∩ cell. The area is first clipped to the cell's extent, so that a
// large area costs only its part near the cell; a rectangular cell needs nothing more.
Shape intersectCell(const Shape& area, const Shape& cell);

// A shape prepared for many tests against other shapes. Its index is built on first use, so
// one prepared shape serves one thread.
class PreparedShape {
public:
    explicit PreparedShape(const Shape& shape);
    ~PreparedShape();
    PreparedShape(const PreparedShape&) = delete;
    PreparedShape& operator=(const PreparedShape&) = delete;
    const Shape& shape() const { return shape_; }
    bool intersects(const Shape& other) const;
    bool contains(const Shape& other) const;

private:
    Shape shape_;
    const GEOSPrepGeom_t* prepared_ = nullptr;
};

// Extents of many shapes, searched by rectangle; several threads may search at once.
class ExtentIndex {
public:
    explicit ExtentIndex(const std::vector<Rectangle>& boxes);
    ~ExtentIndex();
    // Positions of the boxes that meet r, ascending.
    std::vector<int> query(const Rectangle& r) const;

private:
    std::unique_ptr<SpatialIndex> index_;
};

}  // namespace engine
