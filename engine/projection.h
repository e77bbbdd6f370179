#pragma once
// Distances and areas for data in geographic coordinates (degrees): shapes are carried into a
// metric projection local to the data for buffering, and areas are measured in an equal-area
// projection centred on the data. A projection holds coordinate transformations that serve one
// thread: make it, use it and destroy it on the same thread.

#include <memory>
#include <optional>

#include "engine/coordinate_system.h"
#include "engine/rectangle.h"
#include "engine/shape.h"

namespace engine {

class LocalProjection {
public:
    // A projection for data of coordinate system cs around extent, or null when the data are
    // not in geographic coordinates (map units are then taken as metres).
    static std::unique_ptr<LocalProjection> forData(const std::optional<CoordinateSystem>& cs,
                                                    const Rectangle& extent);
    ~LocalProjection();

    // Into and out of the UTM zone of the data's centre (metres). Throws EngineError.
    Shape toMetric(const Shape& s) const;
    Shape fromMetric(const Shape& s) const;
    // Area in square metres, in a Lambert azimuthal equal-area projection at the centre.
    double area(const Shape& s) const;
    // A rectangle in degrees that holds every point within the given metres of r (in the
    // metric projection), with room to spare.
    static Rectangle reach(const Rectangle& r, double metres);

private:
    LocalProjection();
    struct Impl;
    std::unique_ptr<Impl> d_;
};

// Carries shapes from one coordinate system on the Earth into another.
class Reprojection {
  public:
    // Throws EngineError when the two systems cannot be related.
    Reprojection(const CoordinateSystem& from, const CoordinateSystem& to);
    ~Reprojection();
    // Throws EngineError when a vertex has no place in the target system.
    Shape apply(const Shape& s) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

// Area of a shape in square metres: the planar area for data in metres, the equal-area
// measure for geographic data.
class AreaMeasure {
public:
    AreaMeasure(const std::optional<CoordinateSystem>& cs, const Rectangle& extent);
    ~AreaMeasure();
    double squareMetres(const Shape& s) const;

private:
    std::unique_ptr<LocalProjection> projection_;
};

// Longitude and latitude (degrees, WGS 84) of a point in coordinate system cs; empty for a
// system with no place on the Earth or a point outside it.
std::optional<Point> longitudeLatitude(const CoordinateSystem& cs, const Point& p);

}  // namespace engine
