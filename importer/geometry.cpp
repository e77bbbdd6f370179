#include "importer/geometry.h"

#include <ogr_geometry.h>

namespace importer {

using engine::geosContext;
using engine::Shape;

Shape toShape(const OGRGeometry& g) {
    GEOSGeometry* out = g.exportToGEOS(geosContext());
    return out ? Shape::adopt(out) : Shape();
}

Shape rectangle(double x0, double y0, double x1, double y1) {
    return Shape::polygon({{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}, {x0, y0}});
}

Shape merged(std::vector<Shape> parts) {
    if (parts.empty()) return {};
    if (parts.size() == 1) return parts.front();
    auto ctx = geosContext();
    std::vector<GEOSGeometry*> raw;
    for (const Shape& p : parts) raw.push_back(GEOSGeom_clone_r(ctx, p.geos()));
    GEOSGeometry* all =
        GEOSGeom_createCollection_r(ctx, GEOS_GEOMETRYCOLLECTION, raw.data(), unsigned(raw.size()));
    GEOSGeometry* out = GEOSUnaryUnion_r(ctx, all);
    GEOSGeom_destroy_r(ctx, all);
    if (!out) engine::throwGeosError("merging shapes");
    return Shape::adopt(out);
}

namespace {

// Keeps the parts of the wanted dimension from a collection; takes a GEOS result.
Shape ofDimension(GEOSGeometry* g, int dimension) {
    auto ctx = geosContext();
    if (!g) return {};
    Shape whole = Shape::adopt(g);
    if (GEOSGeomTypeId_r(ctx, g) != GEOS_GEOMETRYCOLLECTION) return whole;
    std::vector<Shape> parts;
    for (int i = 0; i < GEOSGetNumGeometries_r(ctx, g); ++i) {
        const GEOSGeometry* part = GEOSGetGeometryN_r(ctx, g, i);
        if (GEOSGeom_getDimensions_r(ctx, part) == dimension && !GEOSisEmpty_r(ctx, part))
            parts.push_back(Shape::adopt(GEOSGeom_clone_r(ctx, part)));
    }
    return merged(std::move(parts));
}

}  // namespace

bool isValid(const Shape& s) { return GEOSisValid_r(geosContext(), s.geos()) == 1; }

Shape repaired(const Shape& s) {
    if (s.isNull() || s.isEmpty()) return {};
    auto ctx = geosContext();
    if (isValid(s)) return s;
    const int dimension = GEOSGeom_getDimensions_r(ctx, s.geos());
    Shape out = ofDimension(GEOSMakeValid_r(ctx, s.geos()), dimension);
    return out.isNull() || out.isEmpty() ? Shape() : out;
}

Shape interiorPoint(const Shape& s) {
    if (s.isNull() || s.isEmpty()) return {};
    GEOSGeometry* g = GEOSPointOnSurface_r(geosContext(), s.geos());
    if (!g) engine::throwGeosError("finding a point inside a shape");
    return Shape::adopt(g);
}

Prepared::Prepared(const Shape& s) : p_(GEOSPrepare_r(geosContext(), s.geos())) {
    if (!p_) engine::throwGeosError("preparing a shape");
}
Prepared::~Prepared() { GEOSPreparedGeom_destroy_r(geosContext(), p_); }

bool Prepared::contains(const Shape& s) const {
    return GEOSPreparedContains_r(geosContext(), p_, s.geos()) == 1;
}
bool Prepared::intersects(const Shape& s) const {
    return GEOSPreparedIntersects_r(geosContext(), p_, s.geos()) == 1;
}

}  // namespace importer
