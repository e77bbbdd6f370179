#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <filesystem>

#include "engine/gdal_support.h"
#include "engine/geo_dataset.h"
#include "engine/geos_context.h"

namespace engine {

namespace {

const char* const shapefileParts[] = {"shp", "shx", "dbf", "prj", "cpg"};
// Files beside a shapefile that describe its old content and must go when it is replaced.
const char* const staleParts[] = {"prj", "cpg", "qix", "sbn", "sbx"};

OGRwkbGeometryType geometryType(int shapeType) {
    switch (shapeType) {
    case moShapeTypePoint: return wkbPoint;
    case moShapeTypeLine: return wkbLineString;
    case moShapeTypePolygon: return wkbPolygon;
    default: throw EngineError("unknown shape type " + std::to_string(shapeType));
    }
}

OGRFieldType fieldType(const FieldDesc& fd) {
    switch (fd.type) {
    case moLong: return fd.size > 9 ? OFTInteger64 : OFTInteger;
    case moDouble: return OFTReal;
    case moDate: return OFTDate;
    case moBoolean: return OFTInteger;
    default: return OFTString;
    }
}

void addParts(const OGRGeometry* g, OGRwkbGeometryType kind, OGRGeometryCollection& into) {
    const OGRwkbGeometryType t = wkbFlatten(g->getGeometryType());
    if (t == kind) {
        into.addGeometry(g);
    } else if (OGR_GT_IsSubClassOf(t, wkbGeometryCollection)) {
        for (const OGRGeometry* part : *g->toGeometryCollection()) addParts(part, kind, into);
    }
}

// An overlay can give a collection with lower-dimension parts where shapes only touch; the
// file keeps the parts of its own kind. Takes ownership of g.
OGRGeometry* ofOwnKind(OGRGeometry* g, int shapeType) {
    if (wkbFlatten(g->getGeometryType()) != wkbGeometryCollection) return g;
    std::unique_ptr<OGRGeometry> collection(g);
    OGRGeometryCollection* multi = nullptr;
    switch (shapeType) {
    case moShapeTypePoint: multi = new OGRMultiPoint(); break;
    case moShapeTypeLine: multi = new OGRMultiLineString(); break;
    default: multi = new OGRMultiPolygon();
    }
    addParts(collection.get(), geometryType(shapeType), *multi);
    return multi;
}

}  // namespace

struct GeoDatasetWriter::Impl {
    QString directory, finalBase, tempBase;
    int shapeType = 0;
    TableDesc table;
    GDALDataset* ds = nullptr;
    OGRLayer* layer = nullptr;
    bool committed = false;

    QString file(const QString& base, const char* ext) const {
        return QDir(directory).filePath(base + '.' + ext);
    }
    void close() {
        if (ds) GDALClose(ds);
        ds = nullptr;
        layer = nullptr;
    }
    void removeTemporary() {
        for (const char* ext : shapefileParts) QFile::remove(file(tempBase, ext));
    }
};

GeoDatasetWriter::~GeoDatasetWriter() {
    if (!d_) return;
    d_->close();
    if (!d_->committed) d_->removeTemporary();
}

void GeoDatasetWriter::addRecord(const Shape& shape, const std::vector<QVariant>& values) {
    if (!d_->layer) throw EngineError("the dataset is already finished");
    if (values.size() != d_->table.size())
        throw EngineError("record has " + std::to_string(values.size()) + " values for " +
                          std::to_string(d_->table.size()) + " fields");
    GdalErrorTrap trap;
    OGRFeature feature(d_->layer->GetLayerDefn());
    for (size_t i = 0; i < values.size(); ++i) {
        const QVariant& v = values[i];
        const int f = int(i);
        if (!v.isValid() || v.isNull()) {
            feature.SetFieldNull(f);
            continue;
        }
        switch (d_->table[i].type) {
        case moLong: feature.SetField(f, GIntBig(v.toLongLong())); break;
        case moDouble: feature.SetField(f, v.toDouble()); break;
        case moBoolean: feature.SetField(f, v.toBool() ? 1 : 0); break;
        case moDate: {
            const QDate date = v.toDate();
            feature.SetField(f, date.year(), date.month(), date.day());
            break;
        }
        default: feature.SetField(f, v.toString().toUtf8().constData());
        }
    }
    if (!shape.isEmpty()) {
        if (shape.shapeType() != d_->shapeType)
            throw EngineError("shape of another kind than the dataset's");
        auto ctx = geosContext();
        GEOSWKBWriter* writer = GEOSWKBWriter_create_r(ctx);
        size_t size = 0;
        unsigned char* wkb = GEOSWKBWriter_write_r(ctx, writer, shape.geos(), &size);
        GEOSWKBWriter_destroy_r(ctx, writer);
        if (!wkb) throwGeosError("writing a shape");
        OGRGeometry* g = nullptr;
        const OGRErr err = OGRGeometryFactory::createFromWkb(wkb, nullptr, &g, size);
        GEOSFree_r(ctx, wkb);
        if (err != OGRERR_NONE) throw EngineError(gdalReport("cannot convert a shape", trap));
        feature.SetGeometryDirectly(ofOwnKind(g, d_->shapeType));
    }
    if (d_->layer->CreateFeature(&feature) != OGRERR_NONE || trap.failed())
        throw EngineError(gdalReport("cannot write a record", trap));
}

void GeoDatasetWriter::commit() {
    if (d_->committed) return;
    if (!d_->ds) throw EngineError("the dataset is already finished");
    {
        GdalErrorTrap trap;
        d_->ds->FlushCache(false);
        d_->close();
        if (trap.failed()) {
            d_->removeTemporary();
            throw EngineError(gdalReport("cannot finish " + d_->finalBase + ".shp", trap));
        }
    }
    namespace fs = std::filesystem;
    std::error_code ec;
    QStringList moved;
    // rename() replaces each old file in one step, so the old shapefile is never half gone.
    for (const char* ext : shapefileParts) {
        const QString from = d_->file(d_->tempBase, ext);
        if (!QFileInfo::exists(from)) continue;
        fs::rename(QFile::encodeName(from).constData(),
                   QFile::encodeName(d_->file(d_->finalBase, ext)).constData(), ec);
        if (ec) {
            d_->removeTemporary();
            throw EngineError("cannot move " + from.toStdString() + " into place: " + ec.message());
        }
        moved << ext;
    }
    for (const char* ext : staleParts)
        if (!moved.contains(ext)) QFile::remove(d_->file(d_->finalBase, ext));
    d_->committed = true;
}

std::unique_ptr<GeoDatasetWriter> DataConnection::addGeoDataset(
    const QString& name, int shapeType, const TableDesc& table,
    const std::optional<CoordinateSystem>& crs) const {
    ensureGdal();
    const QDir dir(database_);
    if (database_.isEmpty() || !dir.exists())
        throw EngineError(("no such directory: " + database_).toStdString());
    QString base = QFileInfo(name).fileName();
    if (base.endsWith(".shp", Qt::CaseInsensitive)) base.chop(4);
    if (base.isEmpty()) throw EngineError("a dataset needs a name");

    auto writer = std::unique_ptr<GeoDatasetWriter>(new GeoDatasetWriter());
    writer->d_ = std::make_unique<GeoDatasetWriter::Impl>();
    auto& d = *writer->d_;
    d.directory = dir.absolutePath();
    d.finalBase = base;
    d.tempBase = QStringLiteral("~%1.%2.writing").arg(base).arg(QCoreApplication::applicationPid());
    d.shapeType = shapeType;
    d.table = table;
    d.removeTemporary();

    GdalErrorTrap trap;
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("ESRI Shapefile");
    if (!driver) throw EngineError("the shapefile driver is missing");
    d.ds = driver->Create(QFile::encodeName(d.file(d.tempBase, "shp")).constData(), 0, 0, 0,
                          GDT_Unknown, nullptr);
    if (!d.ds) throw EngineError(gdalReport("cannot create " + base + ".shp", trap));

    OGRSpatialReference* srs = nullptr;
    if (crs) {
        srs = new OGRSpatialReference();
        srs->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        if (srs->importFromWkt(crs->wkt.toUtf8().constData()) != OGRERR_NONE) {
            srs->Release();
            throw EngineError(gdalReport("unreadable coordinate system for " + base, trap));
        }
    }
    const char* const options[] = {"ENCODING=UTF-8", nullptr};
    d.layer = d.ds->CreateLayer(QFile::encodeName(d.tempBase).constData(), srs,
                                geometryType(shapeType), const_cast<char**>(options));
    if (srs) srs->Release();
    if (!d.layer) throw EngineError(gdalReport("cannot create " + base + ".shp", trap));
    for (const FieldDesc& fd : table) {
        OGRFieldDefn def(fd.name.toUtf8().constData(), fieldType(fd));
        if (fd.type == moBoolean) def.SetSubType(OFSTBoolean);
        if (fd.type != moDate && fd.type != moBoolean) def.SetWidth(fd.size);
        if (fd.type == moDouble) def.SetPrecision(fd.precision);
        if (d.layer->CreateField(&def, FALSE) != OGRERR_NONE)
            throw EngineError(gdalReport("cannot add the field " + fd.name, trap));
    }
    return writer;
}

}  // namespace engine
