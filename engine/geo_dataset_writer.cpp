#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include "engine/gdal_support.h"
#include "engine/geo_dataset.h"
#include "engine/geos_context.h"
#include "engine/shapefile_commit.h"

namespace engine {

namespace {

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
    ShapefileTarget target;
    int shapeType = 0;
    TableDesc table;
    GDALDataset* ds = nullptr;
    OGRLayer* layer = nullptr;
    bool finished = false;  // committed, or the commit has dealt with the temporary parts

    void close() {
        if (ds) GDALClose(ds);
        ds = nullptr;
        layer = nullptr;
    }
    void removeTemporary() {
        for (const char* ext : kWrittenParts) QFile::remove(target.path(target.temporary(ext)));
    }
};

GeoDatasetWriter::~GeoDatasetWriter() {
    if (!d_) return;
    d_->close();
    if (!d_->finished) d_->removeTemporary();
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

QString GeoDatasetWriter::path() const { return d_->target.path(d_->target.final("shp")); }

void GeoDatasetWriter::commit() {
    if (d_->finished || !d_->ds) throw EngineError("the dataset is already finished");
    {
        GdalErrorTrap trap;
        d_->ds->FlushCache(false);
        d_->close();
        if (trap.failed())
            throw EngineError(gdalReport("cannot finish " + d_->target.final("shp"), trap));
    }
    d_->finished = true;
    commitShapefile(d_->target);
}

std::unique_ptr<GeoDatasetWriter> DataConnection::addGeoDataset(
    const QString& name, int shapeType, const TableDesc& table,
    const std::optional<CoordinateSystem>& crs) const {
    ensureGdal();
    const QDir dir(database_);
    if (database_.isEmpty() || !dir.exists())
        throw EngineError(("no such directory: " + database_).toStdString());
    // The name as given, ".shp" in any case being its extension; else ".shp" is added. Readers
    // find the parts of "x.shp" and of "x.SHP" only, so a mixed case becomes ".shp".
    QString base = QFileInfo(name).fileName();
    QString extension = QStringLiteral("shp");
    if (base.endsWith(".shp", Qt::CaseInsensitive)) {
        if (base.endsWith(".SHP")) extension = QStringLiteral("SHP");
        base.chop(4);
    }
    if (base.isEmpty()) throw EngineError("a dataset needs a name");

    auto writer = std::unique_ptr<GeoDatasetWriter>(new GeoDatasetWriter());
    writer->d_ = std::make_unique<GeoDatasetWriter::Impl>();
    auto& d = *writer->d_;
    d.target = {dir.absolutePath(), base, extension, QCoreApplication::applicationPid()};
    d.shapeType = shapeType;
    d.table = table;
    recoverInterruptedSaves(d.target.directory);
    d.removeTemporary();

    GdalErrorTrap trap;
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("ESRI Shapefile");
    if (!driver) throw EngineError("the shapefile driver is missing");
    const QString shp = d.target.path(d.target.temporary("shp"));
    d.ds = driver->Create(QFile::encodeName(shp).constData(), 0, 0, 0, GDT_Unknown, nullptr);
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
    d.layer = d.ds->CreateLayer(QFile::encodeName(QFileInfo(shp).completeBaseName()).constData(),
                                srs, geometryType(shapeType), const_cast<char**>(options));
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
