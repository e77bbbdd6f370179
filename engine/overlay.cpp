#include "engine/overlay.h"

#include <algorithm>

#include "engine/geos_context.h"
#include "engine/spatial_index.h"

namespace engine {

namespace {

GEOSGeometry* clone(const Shape& s) {
    GEOSGeometry* g = GEOSGeom_clone_r(geosContext(), s.geos());
    if (!g) throwGeosError("copy");
    return g;
}

// One collection holding copies of the shapes (null shapes left out); null when none.
GEOSGeometry* collection(const std::vector<const Shape*>& shapes) {
    std::vector<GEOSGeometry*> parts;
    parts.reserve(shapes.size());
    for (const Shape* s : shapes)
        if (s && !s->isEmpty()) parts.push_back(clone(*s));
    if (parts.empty()) return nullptr;
    GEOSGeometry* g = GEOSGeom_createCollection_r(geosContext(), GEOS_GEOMETRYCOLLECTION,
                                                  parts.data(), unsigned(parts.size()));
    if (!g) throwGeosError("collection");
    return g;
}

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

// Cuts g (owned) in halves of its box until each piece is small enough.
void subdivide(GEOSGeometry* g, const Rectangle& box, int maxVertices, int depth,
               std::vector<Shape>& out) {
    auto ctx = geosContext();
    if (GEOSGetNumCoordinates_r(ctx, g) <= maxVertices || depth >= 40) {
        Shape piece = polygonalPart(Shape::adopt(g));
        if (piece) out.push_back(std::move(piece));
        return;
    }
    Rectangle halves[2];
    if (box.width() >= box.height()) {
        const double mid = (box.left() + box.right()) / 2;
        halves[0] = Rectangle(box.left(), box.bottom(), mid, box.top());
        halves[1] = Rectangle(mid, box.bottom(), box.right(), box.top());
    } else {
        const double mid = (box.bottom() + box.top()) / 2;
        halves[0] = Rectangle(box.left(), box.bottom(), box.right(), mid);
        halves[1] = Rectangle(box.left(), mid, box.right(), box.top());
    }
    for (const Rectangle& h : halves) {
        GEOSGeometry* part = GEOSClipByRect_r(ctx, g, h.left(), h.bottom(), h.right(), h.top());
        if (!part) {
            GEOSGeom_destroy_r(ctx, g);
            throwGeosError("clip by rectangle");
        }
        if (GEOSisEmpty_r(ctx, part))
            GEOSGeom_destroy_r(ctx, part);
        else
            subdivide(part, h, maxVertices, depth + 1, out);
    }
    GEOSGeom_destroy_r(ctx, g);
}

}  // namespace

Shape polygonalPart(const Shape& s) {
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

Shape unionAll(const std::vector<const Shape*>& shapes) {
    GEOSGeometry* all = collection(shapes);
    if (!all) return {};
    Shape input = Shape::adopt(all);
    auto ctx = geosContext();
    if (GEOSGeometry* g = GEOSUnaryUnion_r(ctx, input.geos())) return nonEmpty(g, "union");
    // Invalid input: repair once and retry.
    Shape valid = Shape::adopt(GEOSMakeValid_r(ctx, input.geos()));
    if (valid.isNull()) throwGeosError("union");
    return nonEmpty(GEOSUnaryUnion_r(ctx, valid.geos()), "union");
}

Shape bufferAll(const std::vector<const Shape*>& shapes, double distance) {
    std::vector<Shape> buffers;
    buffers.reserve(shapes.size());
    for (const Shape* s : shapes)
        if (s && !s->isEmpty()) buffers.push_back(s->buffer(distance));
    std::vector<const Shape*> refs;
    for (const Shape& b : buffers) refs.push_back(&b);
    return unionAll(refs);
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

SubdividedShape::SubdividedShape(const Shape& polygon, int maxVertices) : whole_(polygon) {
    std::vector<Shape> pieces;
    if (!polygon.isEmpty())
        subdivide(GEOSGeom_clone_r(geosContext(), polygon.geos()), polygon.extent(),
                  maxVertices, 0, pieces);
    std::vector<Rectangle> boxes;
    for (Shape& p : pieces) {
        boxes.push_back(p.extent());
        pieces_.push_back(std::make_unique<PreparedShape>(p));
    }
    index_ = std::make_unique<ExtentIndex>(boxes);
}

SubdividedShape::~SubdividedShape() = default;

std::vector<int> SubdividedShape::candidates(const Shape& other) const {
    return index_->query(other.extent());
}

Shape SubdividedShape::intersect(const Shape& other) const {
    if (!whole_.intersects(other)) return {};
    if (whole_.contains(other)) return other;
    std::vector<Shape> parts;
    for (int i : candidates(other)) {
        const PreparedShape& piece = *pieces_[i];
        if (!piece.intersects(other)) continue;
        Shape part = polygonalPart(piece.shape().intersect(other));
        if (part) parts.push_back(std::move(part));
    }
    if (parts.empty()) return {};
    if (parts.size() == 1) return std::move(parts[0]);
    std::vector<const Shape*> refs;
    for (const Shape& p : parts) refs.push_back(&p);
    return polygonalPart(unionAll(refs));
}

Shape SubdividedShape::subtractFrom(const Shape& other) const {
    if (!whole_.intersects(other)) return other;
    if (whole_.contains(other)) return {};
    Shape rest = other;
    for (int i : candidates(other)) {
        if (rest.isNull()) break;
        const PreparedShape& piece = *pieces_[i];
        if (piece.intersects(rest)) rest = polygonalPart(rest.difference(piece.shape()));
    }
    return rest;
}

}  // namespace engine
