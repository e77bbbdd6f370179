#include "engine/geo_dataset.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <numeric>
#include <thread>

#include "engine/attribute_table.h"
#include "engine/gdal_support.h"
#include "engine/geos_context.h"
#include "engine/projection.h"
#include "engine/render_cache.h"
#include "engine/spatial_index.h"
#include "engine/thread_count.h"

namespace engine {

namespace {

namespace fs = std::filesystem;

// Side files this large are not what they claim to be: a .prj or .cpg holds one short line.
constexpr std::uintmax_t kSideFileLimit = 64 * 1024;

fs::path nativePath(const QString& path) { return fs::path(QFile::encodeName(path).toStdString()); }

// The part of a shapefile with either case of extension that is present in any form (special
// files and broken links too), or an empty text.
QString part(const QFileInfo& shp, const QString& ext) {
    const QString base = shp.path() + '/' + shp.completeBaseName() + '.';
    std::error_code ec;
    for (const QString& e : {ext.toLower(), ext.toUpper()})
        if (fs::exists(fs::symlink_status(nativePath(base + e), ec))) return base + e;
    return {};
}

// Only regular files are read: a FIFO or a device would block or never end.
void requireRegularFile(const QString& path) {
    std::error_code ec;
    if (!fs::is_regular_file(nativePath(path), ec))
        throw EngineError((QFileInfo(path).fileName() + " is not a regular file").toStdString());
}

// The .shp, .shx and .dbf must be there; a .prj or .cpg, when present, must be small.
void checkParts(const QFileInfo& shp) {
    requireRegularFile(shp.filePath());
    for (const char* ext : {"shx", "dbf"}) {
        const QString path = part(shp, ext);
        if (path.isEmpty())
            throw EngineError((shp.completeBaseName() + '.' + ext + " is missing").toStdString());
        requireRegularFile(path);
    }
    for (const char* ext : {"prj", "cpg"}) {
        const QString path = part(shp, ext);
        if (path.isEmpty()) continue;
        requireRegularFile(path);
        std::error_code ec;
        if (fs::file_size(nativePath(path), ec) > kSideFileLimit || ec)
            throw EngineError((QFileInfo(path).fileName() + " is larger than " +
                               QString::number(kSideFileLimit / 1024) + " KB")
                                  .toStdString());
    }
}

// Whether every vertex is finite and within the limits of the coordinate system.
bool withinLimits(const OGRGeometry& g, double xLimit, double yLimit) {
    const auto inside = [&](double x, double y) {
        return std::abs(x) <= xLimit && std::abs(y) <= yLimit;  // false for NaN
    };
    const OGRwkbGeometryType t = wkbFlatten(g.getGeometryType());
    if (t == wkbPoint) return inside(g.toPoint()->getX(), g.toPoint()->getY());
    if (t == wkbLineString || t == wkbLinearRing) {
        const OGRSimpleCurve& line = *g.toSimpleCurve();
        for (int i = 0; i < line.getNumPoints(); ++i)
            if (!inside(line.getX(i), line.getY(i))) return false;
        return true;
    }
    if (t == wkbPolygon) {
        for (const OGRCurve* ring : *g.toPolygon())
            if (!withinLimits(*ring, xLimit, yLimit)) return false;
        return true;
    }
    if (OGR_GT_IsSubClassOf(t, wkbGeometryCollection)) {
        for (const OGRGeometry* member : *g.toGeometryCollection())
            if (!withinLimits(*member, xLimit, yLimit)) return false;
        return true;
    }
    return false;  // curves and surfaces are no shapefile shapes
}

int shapeTypeOf(OGRwkbGeometryType t) {
    switch (wkbFlatten(t)) {
    case wkbPoint:
    case wkbMultiPoint: return moShapeTypePoint;
    case wkbLineString:
    case wkbMultiLineString: return moShapeTypeLine;
    case wkbPolygon:
    case wkbMultiPolygon: return moShapeTypePolygon;
    default: return 0;
    }
}

FieldDesc describe(const OGRFieldDefn& f) {
    FieldDesc d;
    d.name = QString::fromUtf8(f.GetNameRef());
    d.size = f.GetWidth();
    d.precision = f.GetPrecision();
    switch (f.GetType()) {
    case OFTInteger:
    case OFTInteger64: d.type = moLong; break;
    case OFTReal: d.type = moDouble; break;
    case OFTDate:
    case OFTDateTime: d.type = moDate; break;
    default: d.type = moString;
    }
    return d;
}

QVariant valueOf(OGRFeature& f, int i, OGRFieldType type) {
    if (type == OFTString) return QString::fromUtf8(f.GetFieldAsString(i));
    if (!f.IsFieldSetAndNotNull(i)) return {};
    switch (type) {
    case OFTInteger: return f.GetFieldAsInteger(i);
    case OFTInteger64: return qlonglong(f.GetFieldAsInteger64(i));
    case OFTReal: return f.GetFieldAsDouble(i);
    case OFTDate:
    case OFTDateTime: {
        int y, m, d, hh, mm, tz;
        float ss;
        f.GetFieldAsDateTime(i, &y, &m, &d, &hh, &mm, &ss, &tz);
        return QDate(y, m, d);
    }
    default: return QString::fromUtf8(f.GetFieldAsString(i));
    }
}

struct GdalDatasetCloser {
    void operator()(GDALDataset* ds) const { GDALClose(ds); }
};
using GdalDatasetHandle = std::unique_ptr<GDALDataset, GdalDatasetCloser>;

// A new read-only handle on the shapefile; null when GDAL cannot open it.
GdalDatasetHandle openShapefile(const QFileInfo& info) {
    const char* const drivers[] = {"ESRI Shapefile", nullptr};
    return GdalDatasetHandle(GDALDataset::FromHandle(
        GDALOpenEx(QFile::encodeName(info.absoluteFilePath()).constData(),
                   GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers, nullptr, nullptr)));
}

struct Limits {
    double x, y;
};

// Features read in one pass over part of a file, in file order.
struct Chunk {
    std::vector<Shape> shapes;
    std::vector<Rectangle> extents;
    std::vector<std::vector<QVariant>> values;
    int leftOut = 0;
    bool hasExtent = false;
    Rectangle extent;
    bool complete = false;  // every feature of the part was read, without a fault

    void reserve(size_t n) {
        shapes.reserve(n);
        extents.reserve(n);
        values.reserve(n);
    }
    void cover(const Rectangle& box) {
        if (!hasExtent) extent = box;
        extent.unite(box);
        hasExtent = true;
    }
    // The next part's features after this one's.
    void append(Chunk&& next) {
        std::move(next.shapes.begin(), next.shapes.end(), std::back_inserter(shapes));
        std::move(next.extents.begin(), next.extents.end(), std::back_inserter(extents));
        std::move(next.values.begin(), next.values.end(), std::back_inserter(values));
        leftOut += next.leftOut;
        if (next.hasExtent) cover(next.extent);
    }
};

// Reads the features numbered from first up to end (end < 0: to the last), until the trap
// reports a fault.
void readFeatures(OGRLayer& layer, const std::vector<OGRFieldType>& types, Limits limits,
                  GIntBig first, GIntBig end, const GdalErrorTrap& trap, Chunk& out) {
    auto ctx = geosContext();
    GEOSWKBReader* reader = GEOSWKBReader_create_r(ctx);
    std::vector<unsigned char> wkb;
    if (first == 0) layer.ResetReading();
    else if (layer.SetNextByIndex(first) != OGRERR_NONE) {
        GEOSWKBReader_destroy_r(ctx, reader);
        return;
    }
    if (end > first) out.reserve(size_t(end - first));
    bool reachedEnd = end < 0;
    while (!trap.failed()) {
        std::unique_ptr<OGRFeature> f(layer.GetNextFeature());
        if (!f) break;
        if (end >= 0 && f->GetFID() >= end) {
            reachedEnd = true;
            break;
        }
        Shape shape;
        Rectangle box;
        if (OGRGeometry* g = f->GetGeometryRef(); g && !g->IsEmpty()) {
            g->flattenTo2D();
            // A vertex at NaN, infinity or 1e308 ("no data" to some tools) is no place, and the
            // geometry library is not safe with it: such a feature is left out.
            if (withinLimits(*g, limits.x, limits.y)) {
                wkb.resize(g->WkbSize());
                g->exportToWkb(wkbNDR, wkb.data(), wkbVariantIso);
                shape = Shape::adopt(GEOSWKBReader_read_r(ctx, reader, wkb.data(), wkb.size()));
            }
            if (shape.isNull()) {
                ++out.leftOut;
                continue;
            }
            OGREnvelope env;
            g->getEnvelope(&env);
            box = Rectangle(env.MinX, env.MinY, env.MaxX, env.MaxY);
            out.cover(box);
        }
        std::vector<QVariant> row(types.size());
        for (size_t i = 0; i < types.size(); ++i) row[i] = valueOf(*f, int(i), types[i]);
        out.shapes.push_back(std::move(shape));
        out.extents.push_back(box);
        out.values.push_back(std::move(row));
    }
    // Reaching the file's end before the part's end means the index promised more records.
    out.complete = !trap.failed() && (reachedEnd || end < 0);
    GEOSWKBReader_destroy_r(ctx, reader);
}

// Files this large are read in parts, one a thread, each through its own handle: reading the
// records' numbers as text is most of the time of opening a national wind grid.
constexpr GIntBig kFeaturesForParallelRead = 20000;

// Every feature of a large file read in parts side by side, in file order; nothing when the
// file is small or a part met anything unusual (the caller then reads it in one pass, which
// reports the fault as it always has).
std::vector<Chunk> readInParallel(const QFileInfo& info, OGRLayer& layer,
                                  const std::vector<OGRFieldType>& types, Limits limits,
                                  GIntBig count) {
    if (count < kFeaturesForParallelRead) return {};
    const int parts =
        int(std::min<GIntBig>(defaultThreadCount(), count / (kFeaturesForParallelRead / 2)));
    if (parts < 2) return {};
    std::vector<Chunk> chunks(static_cast<size_t>(parts));
    auto bound = [&](int k) { return count * k / parts; };
    auto readPart = [&](int k) {
        GdalErrorTrap trap;
        const GdalDatasetHandle src = openShapefile(info);
        if (!src || src->GetLayerCount() != 1) return;
        readFeatures(*src->GetLayer(0), types, limits, bound(k), k + 1 < parts ? bound(k + 1) : -1,
                     trap, chunks[size_t(k)]);
    };
    {
        std::vector<std::jthread> workers;
        for (int k = 1; k < parts; ++k)
            workers.emplace_back([&, k] {
                try {
                    readPart(k);
                } catch (...) {
                    // The part stays incomplete; the one-pass read reports the fault.
                }
            });
        GdalErrorTrap trap;
        readFeatures(layer, types, limits, 0, bound(1), trap, chunks[0]);
    }
    for (const Chunk& c : chunks)
        if (!c.complete) return {};
    return chunks;
}

}  // namespace

GeoDataset::~GeoDataset() = default;

std::shared_ptr<GeoDataset> GeoDataset::open(const QString& shpPath) {
    ensureGdal();
    const QFileInfo info(shpPath);
    if (!fs::exists(fs::symlink_status(nativePath(shpPath))))
        throw EngineError((info.fileName() + " is missing").toStdString());
    checkParts(info);

    auto ds = std::shared_ptr<GeoDataset>(new GeoDataset());
    ds->name_ = info.fileName();
    ds->path_ = info.absoluteFilePath();
    ds->noSystemReason_ = QStringLiteral("its .prj is missing");
    if (const QString prj = part(info, "prj"); !prj.isEmpty()) {
        QFile file(prj);
        const QByteArray text = file.open(QIODevice::ReadOnly) ? file.read(kSideFileLimit) : "";
        try {
            ds->noSystemReason_ = text.trimmed().isEmpty()
                                      ? QStringLiteral("its .prj is empty")
                                      : QStringLiteral("its .prj names no coordinate system");
            ds->crs_ = CoordinateSystem::fromWkt(QString::fromUtf8(text));
            ds->noSystemReason_.clear();
        } catch (const EngineError&) {
            // An unreadable .prj leaves the layer without a coordinate system.
        }
        // A plane of its own cannot be related to the other layers or to metres on the Earth.
        if (ds->crs_ && ds->crs_->isLocal)
            throw EngineError((QFileInfo(prj).fileName() +
                               " names a local coordinate system, which has no place on the Earth")
                                  .toStdString());
    }
    const double xLimit = ds->crs_ ? ds->crs_->xLimit : kUnknownSystemLimit;
    const double yLimit = ds->crs_ ? ds->crs_->yLimit : kUnknownSystemLimit;

    GdalErrorTrap trap;
    const GdalDatasetHandle src = openShapefile(info);
    if (!src || src->GetLayerCount() != 1)
        throw EngineError(gdalReport("cannot read " + info.fileName(), trap));
    OGRLayer* layer = src->GetLayer(0);

    ds->shapeType_ = shapeTypeOf(layer->GetGeomType());
    if (ds->shapeType_ == 0)
        throw EngineError((info.fileName() + " holds no points, lines or polygons").toStdString());

    OGRFeatureDefn* defn = layer->GetLayerDefn();
    std::vector<OGRFieldType> types;
    for (int i = 0; i < defn->GetFieldCount(); ++i) {
        const OGRFieldDefn* f = defn->GetFieldDefn(i);
        ds->fields_.push_back(describe(*f));
        ds->fieldNames_.append(ds->fields_.back().name);
        types.push_back(f->GetType());
    }

    // The count comes from the index file's header, which may lie: the file is split into parts
    // only when the header agrees with the index's size (8 bytes a record), and no more is
    // reserved than the index could hold.
    std::error_code ec;
    const auto indexSize = fs::file_size(nativePath(part(info, "shx")), ec);
    const GIntBig indexed = ec || indexSize < 100 ? 0 : GIntBig((indexSize - 100) / 8);
    const GIntBig count = layer->GetFeatureCount(FALSE);
    const Limits limits{xLimit, yLimit};

    std::vector<Chunk> chunks = count == indexed ? readInParallel(info, *layer, types, limits, count)
                                                 : std::vector<Chunk>{};
    if (chunks.empty()) {
        // One pass, with the reader's own report of any fault.
        chunks.resize(1);
        chunks[0].reserve(size_t(std::clamp<GIntBig>(count, 0, indexed)));
        readFeatures(*layer, types, limits, 0, -1, trap, chunks[0]);
        if (trap.failed()) throw EngineError(gdalReport("cannot read " + info.fileName(), trap));
    }
    Chunk& all = chunks[0];
    size_t total = 0;
    for (const Chunk& c : chunks) total += c.shapes.size();
    all.reserve(total);
    for (size_t k = 1; k < chunks.size(); ++k) all.append(std::move(chunks[k]));
    ds->shapes_ = std::move(all.shapes);
    ds->extents_ = std::move(all.extents);
    ds->values_ = std::move(all.values);
    ds->featuresLeftOut_ = all.leftOut;
    if (all.hasExtent) ds->extent_ = all.extent;
    return ds;
}

std::shared_ptr<GeoDataset> GeoDataset::withoutFeatures() const {
    auto c = std::shared_ptr<GeoDataset>(new GeoDataset());
    c->name_ = name_;
    c->path_ = path_;
    c->noSystemReason_ = noSystemReason_;
    c->systemAssumed_ = systemAssumed_;
    c->shapeType_ = shapeType_;
    c->crs_ = crs_;
    c->fieldNames_ = fieldNames_;
    c->fields_ = fields_;
    c->featuresLeftOut_ = featuresLeftOut_;
    return c;
}

std::shared_ptr<GeoDataset> GeoDataset::reprojected(const CoordinateSystem& cs) const {
    if (!crs_) throw EngineError((name_ + " has no coordinate system to carry").toStdString());
    const Reprojection carry(*crs_, cs);
    auto c = withoutFeatures();
    c->crs_ = cs;
    bool hasExtent = false;
    for (size_t i = 0; i < shapes_.size(); ++i) {
        Shape shape;
        Rectangle box;
        if (!shapes_[i].isNull()) {
            try {
                shape = carry.apply(shapes_[i]);
                box = shape.extent();
            } catch (const EngineError&) {
            }
            const bool placed =
                !shape.isNull() && std::isfinite(box.left()) && std::isfinite(box.right()) &&
                std::isfinite(box.bottom()) && std::isfinite(box.top()) &&
                std::max(std::abs(box.left()), std::abs(box.right())) <= cs.xLimit &&
                std::max(std::abs(box.bottom()), std::abs(box.top())) <= cs.yLimit;
            if (!placed) {
                ++c->featuresLeftOut_;
                continue;
            }
            if (!hasExtent) c->extent_ = box;
            c->extent_.unite(box);
            hasExtent = true;
        }
        c->shapes_.push_back(std::move(shape));
        c->extents_.push_back(box);
        c->values_.push_back(values_[i]);
    }
    if (!hasExtent) c->extent_ = Rectangle();
    return c;
}

std::shared_ptr<GeoDataset> GeoDataset::assumedIn(const CoordinateSystem& cs) const {
    auto c = withoutFeatures();
    c->crs_ = cs;
    c->systemAssumed_ = true;
    c->shapes_ = shapes_;
    c->extents_ = extents_;
    c->values_ = values_;
    c->extent_ = extent_;
    return c;
}

int GeoDataset::fieldIndex(const QString& name) const {
    for (int i = 0; i < fieldNames_.size(); ++i)
        if (fieldNames_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

std::vector<int> GeoDataset::select(const QString& expression) const {
    if (expression.trimmed().isEmpty()) {
        std::vector<int> all(shapes_.size());
        std::iota(all.begin(), all.end(), 0);
        return all;
    }
    std::lock_guard lock(mutex_);
    if (!table_) table_ = std::make_unique<AttributeTable>(fields_, values_);
    return table_->select(fieldIndex("FeatureID") < 0 ? featureIdAsFid(expression) : expression);
}

std::vector<int> GeoDataset::selectByExtent(const Rectangle& r) const {
    std::vector<int> found;
    {
        std::lock_guard lock(mutex_);
        if (!index_) {
            std::vector<SpatialIndex::Item> items;
            items.reserve(shapes_.size());
            for (size_t i = 0; i < shapes_.size(); ++i)
                if (!shapes_[i].isNull()) items.push_back({extents_[i], int(i)});
            index_ = std::make_unique<SpatialIndex>(std::move(items));
        }
        index_->query(r, found);
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<int> GeoDataset::selectByDistance(const Shape& shape, double distance) const {
    if (shape.isEmpty()) return {};
    Rectangle r = shape.extent();
    r = Rectangle(r.left() - distance, r.bottom() - distance, r.right() + distance,
                  r.top() + distance);
    std::vector<int> found;
    auto ctx = geosContext();
    const GEOSPreparedGeometry* prepared = GEOSPrepare_r(ctx, shape.geos());
    if (!prepared) throwGeosError("search by distance");
    for (int i : selectByExtent(r)) {
        const char hit = distance > 0
                             ? GEOSPreparedDistanceWithin_r(ctx, prepared, shapes_[i].geos(), distance)
                             : GEOSPreparedIntersects_r(ctx, prepared, shapes_[i].geos());
        if (hit == 1) found.push_back(i);
    }
    GEOSPreparedGeom_destroy_r(ctx, prepared);
    return found;
}

RenderCache& GeoDataset::renderCache() const {
    std::lock_guard lock(mutex_);
    if (!render_) render_ = std::make_unique<RenderCache>(*this);
    return *render_;
}

}  // namespace engine
