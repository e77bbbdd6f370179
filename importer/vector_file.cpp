#include "importer/vector_file.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <QDir>
#include <algorithm>
#include <cmath>

#include "engine/gdal_support.h"
#include "importer/geometry.h"
#include "importer/import_error.h"
#include "importer/source_files.h"
#include "importer/spatial_reference.h"

namespace importer {

namespace {
constexpr double kDegreeStep = 0.01;  // about 1 km: curved enough in the output projection

// The vertices a geometry has once no segment is longer than step (0: as it is).
long long densifiedVertices(const OGRGeometry& g, double step) {
    if (const auto* parts = dynamic_cast<const OGRGeometryCollection*>(&g)) {
        long long n = 0;
        for (const OGRGeometry* part : *parts) n += densifiedVertices(*part, step);
        return n;
    }
    if (const auto* polygon = dynamic_cast<const OGRCurvePolygon*>(&g)) {
        long long n = 0;
        for (const OGRCurve* ring : *polygon) n += densifiedVertices(*ring, step);
        return n;
    }
    const auto* line = dynamic_cast<const OGRSimpleCurve*>(&g);
    if (!line) return 1;
    long long n = line->getNumPoints();
    if (step > 0)
        for (int i = 1; i < line->getNumPoints(); ++i) {
            const double d =
                std::hypot(line->getX(i) - line->getX(i - 1), line->getY(i) - line->getY(i - 1));
            n += static_cast<long long>(std::min(std::ceil(d / step), 1e12)) - 1;
        }
    return n;
}
}  // namespace

VectorFile::VectorFile(const QString& path, const QString& what, const QString& where)
    : path_(path), what_(what) {
    checkSourceFile(path, what);
    engine::ensureGdal();
    engine::GdalErrorTrap trap;
    const QString name = what + " " + QDir::toNativeSeparators(path);
    ds_ = GDALDataset::Open(QFile::encodeName(path).constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY);
    if (!ds_) throw ImportError(engine::gdalReport(name + " cannot be read as vector data", trap));
    if (ds_->GetLayerCount() < 1) throw ImportError((name + " holds no layer").toStdString());
    layer_ = ds_->GetLayer(0);
    const OGRSpatialReference* srs = layer_->GetSpatialRef();
    if (!srs)
        throw ImportError(
            (name + " has no coordinate system (a .prj or CRS is needed)").toStdString());
    crs_ = *srs;
    crs_.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    if (!where.trimmed().isEmpty() &&
        layer_->SetAttributeFilter(where.toUtf8().constData()) != OGRERR_NONE)
        throw ImportError(
            engine::gdalReport("the filter \"" + where + "\" on " + name + " is not valid", trap));
}

VectorFile::~VectorFile() {
    if (ds_) GDALClose(ds_);
}

QString VectorFile::layerName() const { return QString::fromUtf8(layer_->GetName()); }
int VectorFile::layerCount() const { return ds_->GetLayerCount(); }
long long VectorFile::featureCount() const { return layer_->GetFeatureCount(FALSE); }

int VectorFile::findField(const QStringList& names) const {
    OGRFeatureDefn* defn = layer_->GetLayerDefn();
    for (const QString& n : names) {
        const int i = defn->GetFieldIndex(n.toUtf8().constData());
        if (i >= 0) return i;
    }
    return -1;
}

QString VectorFile::fieldName(int index) const {
    return QString::fromUtf8(layer_->GetLayerDefn()->GetFieldDefn(index)->GetNameRef());
}

std::array<double, 4> VectorFile::extent() const {
    OGREnvelope all;
    bool any = false;
    layer_->ResetReading();
    for (auto& feature : *layer_) {
        const OGRGeometry* g = feature->GetGeometryRef();
        if (!g || g->IsEmpty()) continue;
        OGREnvelope e;
        g->getEnvelope(&e);
        all.Merge(e);
        any = true;
    }
    if (!any) return {0, 0, 0, 0};
    return {all.MinX, all.MinY, all.MaxX, all.MaxY};
}

double VectorFile::centralLongitude() const {
    std::vector<std::pair<double, double>> spans;
    auto add = [&](const OGRGeometry& g) {
        OGREnvelope e;
        g.getEnvelope(&e);
        if (!std::isfinite(e.MinX) || !std::isfinite(e.MaxX)) return;
        if (e.MaxX - e.MinX >= 360) return spans.push_back({-180, 180});
        double lo = std::remainder(e.MinX, 360.0);  // -180..180
        double hi = lo + (e.MaxX - e.MinX);
        if (hi > 180) {
            spans.push_back({lo, 180});
            spans.push_back({-180, hi - 360});
        } else {
            spans.push_back({lo, hi});
        }
    };
    layer_->ResetReading();
    for (auto& feature : *layer_) {
        const OGRGeometry* g = feature->GetGeometryRef();
        if (!g || g->IsEmpty()) continue;
        if (const auto* parts = dynamic_cast<const OGRGeometryCollection*>(g))
            for (const OGRGeometry* part : *parts) add(*part);
        else
            add(*g);
    }
    if (spans.empty()) return 0;
    std::sort(spans.begin(), spans.end());
    // The widest stretch of longitude no part covers; the area is the rest of the circle.
    double reach = spans[0].second, gapStart = 0, gapEnd = 0, widest = -1;
    for (std::size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].first - reach > widest) {
            widest = spans[i].first - reach;
            gapStart = reach;
            gapEnd = spans[i].first;
        }
        reach = std::max(reach, spans[i].second);
    }
    if (spans[0].first + 360 - reach >= widest) {  // the usual case: the gap holds 180
        gapStart = reach;
        gapEnd = spans[0].first + 360;
    }
    const double from = gapEnd, to = gapStart + 360;  // the covered stretch, going east
    return std::remainder((from + to) / 2, 360.0);
}

void VectorFile::forEach(const OGRSpatialReference& to,
                         const std::function<bool(const OGRFeature&, engine::Shape)>& f,
                         const Inspection& beforeCarrying) const {
    const auto ct = transformation(crs_, to);
    const bool degrees = crs_.IsGeographic();
    layer_->ResetReading();
    for (;;) {
        std::unique_ptr<OGRFeature> feature;
        {
            engine::GdalErrorTrap trap;
            feature.reset(layer_->GetNextFeature());
            if (trap.failed())
                throw ImportError(engine::gdalReport(
                    what_ + " " + QDir::toNativeSeparators(path_) + " cannot be read to the end",
                    trap));
        }
        if (!feature) return;
        engine::Shape shape;
        if (OGRGeometry* g = feature->GetGeometryRef(); g && !g->IsEmpty()) {
            // A geometry that cannot be carried into the output (outside its domain) has none.
            engine::GdalErrorTrap quiet;
            // Degrees beyond the Earth's (a vertex at 1e6) would be densified into millions of
            // points before the transformation drops them: such a shape has no place at all.
            OGREnvelope e;
            g->getEnvelope(&e);
            const bool onEarth = !degrees || (std::abs(e.MinX) <= 360 && std::abs(e.MaxX) <= 360 &&
                                              std::abs(e.MinY) <= 90 && std::abs(e.MaxY) <= 90);
            const bool densify = onEarth && degrees && g->getDimension() > 0;
            if (onEarth && beforeCarrying)
                beforeCarrying(*g, densifiedVertices(*g, densify ? kDegreeStep : 0));
            if (densify) g->segmentize(kDegreeStep);
            if (onEarth && g->transform(ct.get()) == OGRERR_NONE) shape = toShape(*g);
        }
        if (!f(*feature, std::move(shape))) return;
    }
}

}  // namespace importer
