#pragma once
// A shape owns one GEOS geometry. Callers outside the engine see only this class.
//
// Threads: a geometry belongs to no GEOS context (each thread works with its own), so a shape
// may be moved to another thread and destroyed there. GEOS fills a geometry's extents on first
// use, so a shape that several threads are to read at once must be settled first.

#include <string>
#include <utility>
#include <vector>

#include "engine/rectangle.h"
#include "engine/types.h"

struct GEOSGeom_t;

namespace engine {

class Shape {
public:
    Shape() = default;  // "nothing": isNull() is true
    ~Shape();
    Shape(const Shape& other);
    Shape& operator=(const Shape& other);
    Shape(Shape&& other) noexcept;
    Shape& operator=(Shape&& other) noexcept;

    static Shape fromWkt(const std::string& wkt);  // throws EngineError
    static Shape point(double x, double y);
    static Shape lineString(const std::vector<Point>& points);
    static Shape polygon(const std::vector<Point>& ring);  // one outer ring, closed or not

    bool isNull() const { return g_ == nullptr; }
    // Fills what GEOS caches on first use, so that any number of threads may then read the shape
    // at once; quick once done.
    void settle() const;
    explicit operator bool() const { return g_ != nullptr; }

    // moShapeTypePoint / Line / Polygon (multi-kinds map to their base kind); 0 when null or empty.
    int shapeType() const;
    bool isEmpty() const;
    Rectangle extent() const;
    int vertexCount() const;
    std::string toWkt() const;

    // Area in square map units (0 for points and lines).
    double area() const;
    Point centroid() const;
    double distanceTo(const Shape& other) const;
    bool intersects(const Shape& other) const;

    // Geometry operations. A result that is empty comes back as a null shape ("nothing").
    // The working extent, when given, clips the result to it.
    Shape buffer(double distance) const;
    Shape unionWith(const Shape& other, const Rectangle* extent = nullptr) const;
    Shape difference(const Shape& other, const Rectangle* extent = nullptr) const;
    Shape intersect(const Shape& other, const Rectangle* extent = nullptr) const;

    // Engine internals only: the owned geometry, taking ownership of one, giving it up.
    GEOSGeom_t* geos() const { return g_; }
    static Shape adopt(GEOSGeom_t* g);
    GEOSGeom_t* release() { return std::exchange(g_, nullptr); }

private:
    GEOSGeom_t* g_ = nullptr;
};

}  // namespace engine
