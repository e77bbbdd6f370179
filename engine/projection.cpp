#include "engine/projection.h"

#include <ogr_spatialref.h>

#include <algorithm>
#include <cmath>

#include "engine/gdal_support.h"
#include "engine/geos_context.h"

namespace engine {

namespace {

using Transform = std::unique_ptr<OGRCoordinateTransformation>;

Transform makeTransform(const OGRSpatialReference& from, const OGRSpatialReference& to) {
    GdalErrorTrap trap;
    Transform t(OGRCreateCoordinateTransformation(&from, &to));
    if (!t) throw EngineError(gdalReport("coordinate transformation", trap));
    return t;
}

int transformPoint(double* x, double* y, void* userdata) {
    return static_cast<OGRCoordinateTransformation*>(userdata)->Transform(1, x, y) ? 1 : 0;
}

Shape transformed(const Shape& s, OGRCoordinateTransformation& t) {
    if (s.isNull()) return {};
    GEOSGeometry* g = GEOSGeom_transformXY_r(geosContext(), s.geos(), transformPoint, &t);
    if (!g) throwGeosError("coordinate transformation");
    return Shape::adopt(g);
}

}  // namespace

struct LocalProjection::Impl {
    OGRSpatialReference geographic, utm, equalArea;
    Transform toUtm, fromUtm, toEqualArea;
};

LocalProjection::LocalProjection() : d_(std::make_unique<Impl>()) {}
LocalProjection::~LocalProjection() = default;

std::unique_ptr<LocalProjection> LocalProjection::forData(
    const std::optional<CoordinateSystem>& cs, const Rectangle& extent) {
    if (!cs || !cs->isGeographic() || cs->wkt.isEmpty()) return nullptr;
    ensureGdal();
    std::unique_ptr<LocalProjection> p(new LocalProjection);
    Impl& d = *p->d_;
    GdalErrorTrap trap;
    if (d.geographic.importFromWkt(cs->wkt.toUtf8().constData()) != OGRERR_NONE)
        throw EngineError(gdalReport("unreadable coordinate system", trap));
    d.geographic.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    const Point c = extent.center();
    const int zone = std::clamp(int(std::floor((c.x + 180.0) / 6.0)) + 1, 1, 60);
    d.utm.CopyGeogCSFrom(&d.geographic);
    d.utm.SetUTM(zone, c.y >= 0);
    d.utm.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    d.equalArea.CopyGeogCSFrom(&d.geographic);
    d.equalArea.SetLAEA(c.y, c.x, 0, 0);
    d.equalArea.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    d.toUtm = makeTransform(d.geographic, d.utm);
    d.fromUtm = makeTransform(d.utm, d.geographic);
    d.toEqualArea = makeTransform(d.geographic, d.equalArea);
    return p;
}

Shape LocalProjection::toMetric(const Shape& s) const { return transformed(s, *d_->toUtm); }
Shape LocalProjection::fromMetric(const Shape& s) const { return transformed(s, *d_->fromUtm); }
double LocalProjection::area(const Shape& s) const {
    return transformed(s, *d_->toEqualArea).area();
}

Rectangle LocalProjection::reach(const Rectangle& r, double metres) {
    // A degree of latitude is at least 110.57 km, one of longitude at least 111.32 km times
    // the cosine of the latitude; the metric projection stretches distances by well under the
    // tenth added.
    const double spare = 1.1 * metres;
    const double dy = spare / 110574.0;
    const double pole = std::min(89.0, std::max(std::abs(r.bottom() - dy), std::abs(r.top() + dy)));
    const double dx = std::min(180.0, spare / (111319.5 * std::cos(pole * M_PI / 180)));
    return {r.left() - dx, r.bottom() - dy, r.right() + dx, r.top() + dy};
}

struct Reprojection::Impl {
    OGRSpatialReference from, to;
    Transform transform;
};

Reprojection::Reprojection(const CoordinateSystem& from, const CoordinateSystem& to)
    : d_(std::make_unique<Impl>()) {
    ensureGdal();
    GdalErrorTrap trap;
    if (from.isLocal || to.isLocal ||
        d_->from.importFromWkt(from.wkt.toUtf8().constData()) != OGRERR_NONE ||
        d_->to.importFromWkt(to.wkt.toUtf8().constData()) != OGRERR_NONE)
        throw EngineError(gdalReport("unreadable coordinate system", trap));
    d_->from.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    d_->to.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    d_->transform = makeTransform(d_->from, d_->to);
}

Reprojection::~Reprojection() = default;

Shape Reprojection::apply(const Shape& s) const { return transformed(s, *d_->transform); }

AreaMeasure::AreaMeasure(const std::optional<CoordinateSystem>& cs, const Rectangle& extent)
    : projection_(LocalProjection::forData(cs, extent)) {}
AreaMeasure::~AreaMeasure() = default;

double AreaMeasure::squareMetres(const Shape& s) const {
    return projection_ ? projection_->area(s) : s.area();
}

std::optional<Point> longitudeLatitude(const CoordinateSystem& cs, const Point& p) {
    if (cs.isLocal) return std::nullopt;
    if (cs.isGeographic()) return p;
    try {
        static const CoordinateSystem wgs84 = [] {
            ensureGdal();
            OGRSpatialReference srs;
            srs.SetWellKnownGeogCS("WGS84");
            char* wkt = nullptr;
            srs.exportToWkt(&wkt);
            const QString text = QString::fromUtf8(wkt);
            CPLFree(wkt);
            return CoordinateSystem::fromWkt(text);
        }();
        const Reprojection toDegrees(cs, wgs84);
        const Point q = toDegrees.apply(Shape::point(p.x, p.y)).centroid();
        if (!std::isfinite(q.x) || !std::isfinite(q.y)) return std::nullopt;
        return q;
    } catch (const EngineError&) {
        return std::nullopt;
    }
}

}  // namespace engine
