#include "engine/render_cache.h"

#include "engine/geo_dataset.h"
#include "engine/geos_context.h"

namespace engine {

namespace {

QPolygonF toPolygon(GEOSContextHandle_t ctx, const GEOSGeometry* line) {
    const GEOSCoordSequence* seq = GEOSGeom_getCoordSeq_r(ctx, line);
    unsigned n = 0;
    if (!seq || !GEOSCoordSeq_getSize_r(ctx, seq, &n)) return {};
    QPolygonF poly(static_cast<qsizetype>(n));
    static_assert(sizeof(QPointF) == 2 * sizeof(double));
    GEOSCoordSeq_copyToBuffer_r(ctx, seq, reinterpret_cast<double*>(poly.data()), 0, 0);
    return poly;
}

void collect(GEOSContextHandle_t ctx, const GEOSGeometry* g, std::vector<QPolygonF>& out) {
    switch (GEOSGeomTypeId_r(ctx, g)) {
    case GEOS_POINT:
    case GEOS_LINESTRING:
    case GEOS_LINEARRING: out.push_back(toPolygon(ctx, g)); break;
    case GEOS_POLYGON: {
        out.push_back(toPolygon(ctx, GEOSGetExteriorRing_r(ctx, g)));
        const int holes = GEOSGetNumInteriorRings_r(ctx, g);
        for (int i = 0; i < holes; ++i) out.push_back(toPolygon(ctx, GEOSGetInteriorRingN_r(ctx, g, i)));
        break;
    }
    default: {
        const int n = GEOSGetNumGeometries_r(ctx, g);
        for (int i = 0; i < n; ++i) collect(ctx, GEOSGetGeometryN_r(ctx, g, i), out);
    }
    }
}

}  // namespace

void appendParts(const Shape& shape, std::vector<QPolygonF>& out) {
    if (!shape.isEmpty()) collect(geosContext(), shape.geos(), out);
}

RenderCache::RenderCache(const GeoDataset& ds) {
    const int n = ds.recordCount();
    parts.resize(n);
    complex.resize(n);
    for (int r = 0; r < n; ++r) {
        appendParts(ds.shape(r), parts[r]);
        complex[r] = ds.shapeType() == moShapeTypePolygon && parts[r].size() > 1;
    }
}

const std::vector<QPointF>& RenderCache::labelPoints(const GeoDataset& ds) {
    makeLabelPlaces(ds);
    return labelPoints_;
}

const std::vector<double>& RenderCache::labelSizes(const GeoDataset& ds) {
    makeLabelPlaces(ds);
    return labelSizes_;
}

void RenderCache::makeLabelPlaces(const GeoDataset& ds) {
    if (labelsMade_) return;
    auto ctx = geosContext();
    labelPoints_.assign(ds.recordCount(), QPointF(qQNaN(), qQNaN()));  // NaN: no label
    labelSizes_.assign(ds.recordCount(), 0.0);
    for (int r = 0; r < ds.recordCount(); ++r) {
        const Shape& s = ds.shape(r);
        if (s.isEmpty()) continue;
        double size = 0;
        if (ds.shapeType() == moShapeTypePolygon)
            GEOSArea_r(ctx, s.geos(), &size);
        else if (ds.shapeType() == moShapeTypeLine)
            GEOSLength_r(ctx, s.geos(), &size);
        labelSizes_[r] = size;
        GEOSGeometry* p = GEOSPointOnSurface_r(ctx, s.geos());
        if (!p) continue;
        double x = 0, y = 0;
        GEOSGeomGetX_r(ctx, p, &x);
        GEOSGeomGetY_r(ctx, p, &y);
        GEOSGeom_destroy_r(ctx, p);
        labelPoints_[r] = {x, y};
    }
    labelsMade_ = true;
}

}  // namespace engine
