#include "engine/overlay.h"

#include <algorithm>

#include "engine/geos_context.h"
#include "engine/spatial_index.h"

namespace engine {

namespace {

Shape nonEmpty(GEOSGeometry* g, const char* operation) {
    if (!g) throwGeosError(operation);
    Shape s = Shape::adopt(g);
    return s.isEmpty() ? Shape() : s;
}

void collectPolygons(GEOSContextHandle_t ctx, const GEOSGeometry* g,
                     std::vector<GEOSGeometry*>& out) {
    switch (GEOSGeomTypeId_r(ctx, g)) {
    case GEOS_POLYGON:
        if (!GEOSisEmpty_r(ctx, g)) out.push_back(GEOSGeom_clone_r(ctx, g));
        break;
    case GEOS_MULTIPOLYGON:
    case GEOS_GEOMETRYCOLLECTION:
        for (int i = 0, n = GEOSGetNumGeometries_r(ctx, g); i < n; ++i)
            collectPolygons(ctx, GEOSGetGeometryN_r(ctx, g, i), out);
        break;
    default: break;
    }
}

}  // namespace

Shape polygonalPart(Shape s) {
    if (s.isEmpty()) return {};
    auto ctx = geosContext();
    const int type = GEOSGeomTypeId_r(ctx, s.geos());
    if (type == GEOS_POLYGON || type == GEOS_MULTIPOLYGON) return s;
    if (type != GEOS_GEOMETRYCOLLECTION) return {};
    std::vector<GEOSGeometry*> polygons;
    collectPolygons(ctx, s.geos(), polygons);
    if (polygons.empty()) return {};
    if (polygons.size() == 1) return Shape::adopt(polygons[0]);
    return nonEmpty(GEOSGeom_createCollection_r(ctx, GEOS_MULTIPOLYGON, polygons.data(),
                                                unsigned(polygons.size())),
                    "multipolygon");
}

Shape clipToRectangle(const Shape& s, const Rectangle& r) {
    if (s.isEmpty()) return {};
    GEOSGeometry* g =
        GEOSClipByRect_r(geosContext(), s.geos(), r.left(), r.bottom(), r.right(), r.top());
    return nonEmpty(g, "clip by rectangle");
}

bool isRectangle(const Shape& s) {
    if (s.isEmpty() || GEOSGeomTypeId_r(geosContext(), s.geos()) != GEOS_POLYGON) return false;
    const Rectangle box = s.extent();
    // Of all polygons in a box only the box itself has the box's area.
    return s.area() >= box.width() * box.height() * (1 - 1e-12);
}

Shape intersectCell(const Shape& area, const Shape& cell) {
    if (area.isEmpty() || cell.isEmpty()) return {};
    const Shape near = polygonalPart(clipToRectangle(area, cell.extent()));
    if (near.isNull() || isRectangle(cell)) return near;
    return polygonalPart(near.intersect(cell));
}

PreparedShape::PreparedShape(const Shape& shape) : shape_(shape) {
    if (!shape_.isEmpty()) {
        prepared_ = GEOSPrepare_r(geosContext(), shape_.geos());
        if (!prepared_) throwGeosError("prepare");
    }
}

PreparedShape::~PreparedShape() {
    if (prepared_) GEOSPreparedGeom_destroy_r(geosContext(), prepared_);
}

bool PreparedShape::intersects(const Shape& other) const {
    if (!prepared_ || other.isEmpty()) return false;
    const char r = GEOSPreparedIntersects_r(geosContext(), prepared_, other.geos());
    if (r == 2) throwGeosError("intersects");
    return r == 1;
}

bool PreparedShape::contains(const Shape& other) const {
    if (!prepared_ || other.isEmpty()) return false;
    const char r = GEOSPreparedContains_r(geosContext(), prepared_, other.geos());
    if (r == 2) throwGeosError("contains");
    return r == 1;
}

ExtentIndex::ExtentIndex(const std::vector<Rectangle>& boxes) {
    std::vector<SpatialIndex::Item> items;
    items.reserve(boxes.size());
    for (size_t i = 0; i < boxes.size(); ++i) items.push_back({boxes[i], int(i)});
    index_ = std::make_unique<SpatialIndex>(std::move(items));
}

ExtentIndex::~ExtentIndex() = default;

std::vector<int> ExtentIndex::query(const Rectangle& r) const {
    std::vector<int> out;
    index_->query(r, out);
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace engine
