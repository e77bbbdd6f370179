#include "engine/shape.h"

#include <memory>

#include "engine/geos_context.h"

namespace engine {

namespace {

GEOSGeometry* checked(GEOSGeometry* g, const char* operation) {
    if (!g) throwGeosError(operation);
    return g;
}

// Fills the extents that GEOS caches on first use, of the geometry and of every part and ring
// below it. A polygon's extent brings its outer ring's, a collection's those of its parts.
void settleAll(GEOSContextHandle_t ctx, const GEOSGeometry* g) {
    double x;
    if (!GEOSGeom_getXMin_r(ctx, g, &x)) return;  // empty
    switch (GEOSGeomTypeId_r(ctx, g)) {
    case GEOS_POLYGON:
        for (int i = 0, n = GEOSGetNumInteriorRings_r(ctx, g); i < n; ++i)
            settleAll(ctx, GEOSGetInteriorRingN_r(ctx, g, i));
        break;
    case GEOS_MULTIPOLYGON:
    case GEOS_GEOMETRYCOLLECTION:
        for (int i = 0, n = GEOSGetNumGeometries_r(ctx, g); i < n; ++i)
            settleAll(ctx, GEOSGetGeometryN_r(ctx, g, i));
        break;
    default: break;
    }
}

// An empty result is "nothing".
Shape nonEmpty(GEOSGeometry* g) {
    Shape s = Shape::adopt(g);
    return s.isEmpty() ? Shape() : s;
}

GEOSCoordSequence* sequence(const std::vector<Point>& points, bool closeRing) {
    auto ctx = geosContext();
    const bool addClosing = closeRing && !points.empty() &&
                            (points.front().x != points.back().x ||
                             points.front().y != points.back().y);
    const unsigned n = unsigned(points.size()) + (addClosing ? 1 : 0);
    GEOSCoordSequence* seq = GEOSCoordSeq_create_r(ctx, n, 2);
    for (unsigned i = 0; i < points.size(); ++i)
        GEOSCoordSeq_setXY_r(ctx, seq, i, points[i].x, points[i].y);
    if (addClosing) GEOSCoordSeq_setXY_r(ctx, seq, n - 1, points[0].x, points[0].y);
    return seq;
}

// Runs a two-shape overlay; inputs that GEOS finds invalid are repaired once and retried.
using Overlay = GEOSGeometry* (*)(GEOSContextHandle_t, const GEOSGeometry*, const GEOSGeometry*);
GEOSGeometry* overlay(Overlay op, const GEOSGeometry* a, const GEOSGeometry* b, const char* name) {
    auto ctx = geosContext();
    if (GEOSGeometry* g = op(ctx, a, b)) return g;
    std::unique_ptr<GEOSGeometry, void (*)(GEOSGeometry*)> va(
        GEOSMakeValid_r(ctx, a), [](GEOSGeometry* g) { GEOSGeom_destroy_r(geosContext(), g); });
    std::unique_ptr<GEOSGeometry, void (*)(GEOSGeometry*)> vb(
        GEOSMakeValid_r(ctx, b), [](GEOSGeometry* g) { GEOSGeom_destroy_r(geosContext(), g); });
    if (!va || !vb) throwGeosError(name);
    return checked(op(ctx, va.get(), vb.get()), name);
}

// Clips to the working extent unless the shape already lies inside it.
Shape clipped(Shape s, const Rectangle* extent) {
    if (!extent || s.isNull()) return s;
    const Rectangle e = s.extent();
    if (e.left() >= extent->left() && e.right() <= extent->right() &&
        e.bottom() >= extent->bottom() && e.top() <= extent->top())
        return s;
    return s.intersect(extent->toPolygon());
}

}  // namespace

Shape::~Shape() {
    if (g_) GEOSGeom_destroy_r(geosContext(), g_);
}

Shape::Shape(const Shape& other)
    : g_(other.g_ ? checked(GEOSGeom_clone_r(geosContext(), other.g_), "copy") : nullptr) {}

Shape& Shape::operator=(const Shape& other) {
    if (this != &other) *this = Shape(other);
    return *this;
}

Shape::Shape(Shape&& other) noexcept : g_(other.g_) { other.g_ = nullptr; }

Shape& Shape::operator=(Shape&& other) noexcept {
    if (this != &other) {
        if (g_) GEOSGeom_destroy_r(geosContext(), g_);
        g_ = other.g_;
        other.g_ = nullptr;
    }
    return *this;
}

Shape Shape::adopt(GEOSGeom_t* g) {
    Shape s;
    s.g_ = g;
    return s;
}

Shape Shape::fromWkt(const std::string& wkt) {
    auto ctx = geosContext();
    GEOSWKTReader* reader = GEOSWKTReader_create_r(ctx);
    GEOSGeometry* g = GEOSWKTReader_read_r(ctx, reader, wkt.c_str());
    GEOSWKTReader_destroy_r(ctx, reader);
    return adopt(checked(g, "reading WKT"));
}

Shape Shape::point(double x, double y) {
    return adopt(checked(GEOSGeom_createPointFromXY_r(geosContext(), x, y), "point"));
}

Shape Shape::lineString(const std::vector<Point>& points) {
    return adopt(checked(GEOSGeom_createLineString_r(geosContext(), sequence(points, false)),
                         "line"));
}

Shape Shape::polygon(const std::vector<Point>& ring) {
    auto ctx = geosContext();
    GEOSGeometry* shell = checked(GEOSGeom_createLinearRing_r(ctx, sequence(ring, true)), "ring");
    return adopt(checked(GEOSGeom_createPolygon_r(ctx, shell, nullptr, 0), "polygon"));
}

int Shape::shapeType() const {
    if (isEmpty()) return 0;
    auto ctx = geosContext();
    switch (GEOSGeomTypeId_r(ctx, g_)) {
    case GEOS_POINT:
    case GEOS_MULTIPOINT: return moShapeTypePoint;
    case GEOS_LINESTRING:
    case GEOS_LINEARRING:
    case GEOS_MULTILINESTRING: return moShapeTypeLine;
    case GEOS_POLYGON:
    case GEOS_MULTIPOLYGON: return moShapeTypePolygon;
    default:  // a mixed collection counts as its highest-dimension kind
        switch (GEOSGeom_getDimensions_r(ctx, g_)) {
        case 0: return moShapeTypePoint;
        case 1: return moShapeTypeLine;
        default: return moShapeTypePolygon;
        }
    }
}

void Shape::settle() const {
    if (g_) settleAll(geosContext(), g_);
}

bool Shape::isEmpty() const { return !g_ || GEOSisEmpty_r(geosContext(), g_) == 1; }

Rectangle Shape::extent() const {
    if (isEmpty()) return {};
    auto ctx = geosContext();
    double x0, y0, x1, y1;
    GEOSGeom_getXMin_r(ctx, g_, &x0);
    GEOSGeom_getYMin_r(ctx, g_, &y0);
    GEOSGeom_getXMax_r(ctx, g_, &x1);
    GEOSGeom_getYMax_r(ctx, g_, &y1);
    return {x0, y0, x1, y1};
}

int Shape::vertexCount() const { return g_ ? GEOSGetNumCoordinates_r(geosContext(), g_) : 0; }

std::string Shape::toWkt() const {
    if (!g_) return {};
    auto ctx = geosContext();
    GEOSWKTWriter* writer = GEOSWKTWriter_create_r(ctx);
    GEOSWKTWriter_setTrim_r(ctx, writer, 1);
    char* text = GEOSWKTWriter_write_r(ctx, writer, g_);
    GEOSWKTWriter_destroy_r(ctx, writer);
    std::string result = text ? text : "";
    GEOSFree_r(ctx, text);
    return result;
}

double Shape::area() const {
    double a = 0;
    if (g_) GEOSArea_r(geosContext(), g_, &a);
    return a;
}

Point Shape::centroid() const {
    if (isEmpty()) throw EngineError("centroid of an empty shape");
    auto ctx = geosContext();
    Shape c = adopt(checked(GEOSGetCentroid_r(ctx, g_), "centroid"));
    Point p;
    GEOSGeomGetX_r(ctx, c.g_, &p.x);
    GEOSGeomGetY_r(ctx, c.g_, &p.y);
    return p;
}

double Shape::distanceTo(const Shape& other) const {
    if (isEmpty() || other.isEmpty()) throw EngineError("distance to an empty shape");
    double d = 0;
    if (!GEOSDistance_r(geosContext(), g_, other.g_, &d)) throwGeosError("distance");
    return d;
}

bool Shape::intersects(const Shape& other) const {
    if (isEmpty() || other.isEmpty()) return false;
    const char r = GEOSIntersects_r(geosContext(), g_, other.g_);
    if (r == 2) throwGeosError("intersects");
    return r == 1;
}

Shape Shape::buffer(double distance) const {
    if (isNull()) return {};
    return nonEmpty(checked(GEOSBuffer_r(geosContext(), g_, distance, 8), "buffer"));
}

Shape Shape::unionWith(const Shape& other, const Rectangle* clip) const {
    if (isEmpty()) return clipped(other.isEmpty() ? Shape() : other, clip);
    if (other.isEmpty()) return clipped(*this, clip);
    return clipped(nonEmpty(overlay(GEOSUnion_r, g_, other.g_, "union")), clip);
}

Shape Shape::difference(const Shape& other, const Rectangle* clip) const {
    if (isEmpty()) return {};
    if (other.isEmpty()) return clipped(*this, clip);
    return clipped(nonEmpty(overlay(GEOSDifference_r, g_, other.g_, "difference")), clip);
}

Shape Shape::intersect(const Shape& other, const Rectangle* clip) const {
    if (isEmpty() || other.isEmpty()) return {};
    if (!this->extent().intersects(other.extent())) return {};
    return clipped(nonEmpty(overlay(GEOSIntersection_r, g_, other.g_, "intersection")), clip);
}

}  // namespace engine
