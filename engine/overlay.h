#pragma once
// Overlay helpers for many shapes at once: cascaded union, buffering a set of lines as one,
// prepared shapes for one-against-many tests, and a large polygon cut into small indexed
// pieces so that a small shape is overlaid only with the few pieces it meets.

#include <memory>
#include <vector>

#include "engine/rectangle.h"
#include "engine/shape.h"

struct GEOSPrepGeom_t;

namespace engine {

class SpatialIndex;

// The polygonal parts of a shape (an overlay of touching areas can also give lines and
// points); nothing when there are none.
Shape polygonalPart(const Shape& s);
// The union of all the shapes, merged in one cascaded operation.
Shape unionAll(const std::vector<const Shape*>& shapes);
// The union of the buffers of all the shapes: each is buffered, and the buffers are merged in
// one cascaded union (faster than buffering them as one collection, whose noding is costly).
Shape bufferAll(const std::vector<const Shape*>& shapes, double distance);

// A shape prepared for many tests against other shapes.
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

// Extents of many shapes, searched by rectangle.
class ExtentIndex {
public:
    explicit ExtentIndex(const std::vector<Rectangle>& boxes);
    ~ExtentIndex();
    // Positions of the boxes that meet r, ascending.
    std::vector<int> query(const Rectangle& r) const;

private:
    std::unique_ptr<SpatialIndex> index_;
};

// A polygon cut into pieces of at most about maxVertices vertices each (recursive halving of
// the extent, clipping by rectangle), with an index of the pieces.
class SubdividedShape {
public:
    explicit SubdividedShape(const Shape& polygon, int maxVertices = 256);
    ~SubdividedShape();
    int pieceCount() const { return int(pieces_.size()); }
    // other ∩ polygon, or nothing.
    Shape intersect(const Shape& other) const;
    // other − polygon, or nothing.
    Shape subtractFrom(const Shape& other) const;

private:
    std::vector<int> candidates(const Shape& other) const;
    PreparedShape whole_;
    std::vector<std::unique_ptr<PreparedShape>> pieces_;
    std::unique_ptr<ExtentIndex> index_;
};

}  // namespace engine
