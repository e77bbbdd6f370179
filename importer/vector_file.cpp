#include "importer/vector_file.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <QDir>

#include "engine/gdal_support.h"
#include "importer/geometry.h"
#include "importer/import_error.h"
#include "importer/source_files.h"
#include "importer/spatial_reference.h"

namespace importer {

namespace {
constexpr double kDegreeStep = 0.01;  // about 1 km: curved enough in the output projection
}

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

void VectorFile::forEach(const OGRSpatialReference& to,
                         const std::function<bool(const OGRFeature&, engine::Shape)>& f) const {
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
            if (degrees && g->getDimension() > 0) g->segmentize(kDegreeStep);
            if (g->transform(ct.get()) == OGRERR_NONE) shape = toShape(*g);
        }
        if (!f(*feature, std::move(shape))) return;
    }
}

}  // namespace importer
