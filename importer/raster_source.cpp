#include "importer/raster_source.h"

#include <gdal_alg.h>
#include <gdal_priv.h>
#include <gdal_utils.h>

#include <QDir>
#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/gdal_support.h"
#include "engine/geos_context.h"
#include "importer/import_error.h"
#include "importer/source_files.h"
#include "importer/spatial_reference.h"

namespace importer {

namespace {

struct ArgList {
    char** argv = nullptr;
    ~ArgList() { CSLDestroy(argv); }
    ArgList& operator<<(const QString& s) {
        argv = CSLAddString(argv, s.toUtf8().constData());
        return *this;
    }
};

QString num(double v) { return QString::number(v, 'g', 17); }

}  // namespace

RasterSource::RasterSource(const QString& path, const QString& what) : path_(path), what_(what) {
    checkSourceFile(path, what);
    engine::ensureGdal();
    engine::GdalErrorTrap trap;
    const QString name = what + " " + QDir::toNativeSeparators(path);
    ds_ = GDALOpenEx(QFile::encodeName(path).constData(), GDAL_OF_RASTER | GDAL_OF_READONLY,
                     nullptr, nullptr, nullptr);
    if (!ds_) throw ImportError(engine::gdalReport(name + " cannot be read as a raster", trap));
    auto* ds = GDALDataset::FromHandle(ds_);
    if (ds->GetRasterCount() < 1) throw ImportError((name + " has no raster band").toStdString());
    if (!ds->GetSpatialRef() || ds->GetSpatialRef()->IsEmpty())
        throw ImportError(
            (name + " has no coordinate system; give the raster one (for example with a .prj or "
                    "by saving it as a GeoTIFF with its CRS)")
                .toStdString());
    double gt[6];
    if (ds->GetGeoTransform(gt) != CE_None || gt[1] == 0 || gt[5] == 0)
        throw ImportError((name + " is not georeferenced (no pixel positions)").toStdString());
    std::copy(gt, gt + 6, gt_);
    if (!GDALInvGeoTransform(gt_, inverse_))
        throw ImportError((name + " has a pixel grid that cannot be inverted").toStdString());
    geographic_ = ds->GetSpatialRef()->IsGeographic();
    if (ds->GetRasterCount() > 1) {
        ArgList args;
        args << "-of"
             << "VRT"
             << "-b"
             << "1";
        GDALTranslateOptions* o = GDALTranslateOptionsNew(args.argv, nullptr);
        band1_ = GDALTranslate("", ds_, o, nullptr);
        GDALTranslateOptionsFree(o);
        if (!band1_)
            throw ImportError(engine::gdalReport(name + ": cannot take its first band", trap));
    }
}

RasterSource::~RasterSource() {
    if (band1_) GDALClose(band1_);
    if (ds_) GDALClose(ds_);
}

QString RasterSource::summary() const {
    auto* ds = GDALDataset::FromHandle(ds_);
    double gt[6];
    ds->GetGeoTransform(gt);
    const OGRSpatialReference* srs = ds->GetSpatialRef();
    const char* unit = nullptr;
    if (srs->IsGeographic())
        srs->GetAngularUnits(&unit);
    else
        srs->GetLinearUnits(&unit);
    int hasNoData = 0;
    const double noData = ds->GetRasterBand(1)->GetNoDataValue(&hasNoData);
    QString text =
        QString("%1 x %2 pixels of %3 x %4 %5, %6, ")
            .arg(ds->GetRasterXSize())
            .arg(ds->GetRasterYSize())
            .arg(QString::number(std::abs(gt[1]), 'g', 6), QString::number(std::abs(gt[5]), 'g', 6),
                 QString::fromUtf8(unit ? unit : ""), crsLabel(*srs));
    text += hasNoData ? "no-data " + QString::number(noData, 'g', 10) : QString("no no-data value");
    if (ds->GetRasterCount() > 1) text += QString(", band 1 of %1").arg(ds->GetRasterCount());
    return text;
}

double RasterSource::pixelSizeIn(const OGRSpatialReference& to) const {
    engine::GdalErrorTrap trap;
    const QByteArray dst = ("DST_SRS=" + crsWkt(to)).toUtf8();
    const char* const options[] = {dst.constData(), nullptr};
    void* t = GDALCreateGenImgProjTransformer2(ds_, nullptr, const_cast<char**>(options));
    if (!t)
        throw ImportError(
            engine::gdalReport(what_ + " cannot be carried into the output coordinates", trap));
    double gt[6], extent[4];
    int w = 0, h = 0;
    const CPLErr err =
        GDALSuggestedWarpOutput2(ds_, GDALGenImgProjTransform, t, gt, &w, &h, extent, 0);
    GDALDestroyGenImgProjTransformer(t);
    if (err != CE_None || !(gt[1] > 0))
        throw ImportError(
            engine::gdalReport(what_ + " cannot be carried into the output coordinates", trap));
    return gt[1];
}

std::vector<double> RasterSource::warp(const OGRSpatialReference& to, double x0, double y0,
                                       double x1, double y1, int w, int h, Resampling how) const {
    ArgList args;
    args << "-of"
         << "MEM"
         << "-t_srs" << crsWkt(to) << "-te" << num(x0) << num(y0) << num(x1) << num(y1) << "-ts"
         << QString::number(w) << QString::number(h) << "-r"
         << (how == Resampling::Average ? "average" : "mode") << "-ot"
         << "Float64"
         << "-dstnodata"
         << "nan"
         << "-wo"
         << "NUM_THREADS=2"
         << "-wm"
         << "256";
    engine::GdalErrorTrap trap;
    GDALWarpAppOptions* options = GDALWarpAppOptionsNew(args.argv, nullptr);
    if (!options) throw ImportError(engine::gdalReport("warp options", trap));
    GDALDatasetH src = band1_ ? band1_ : ds_;
    int usageError = 0;
    GDALDatasetH out = GDALWarp("", nullptr, 1, &src, options, &usageError);
    GDALWarpAppOptionsFree(options);
    const QString name = what_ + " " + QDir::toNativeSeparators(path_);
    if (!out) throw ImportError(engine::gdalReport(name + " cannot be warped", trap));
    std::vector<double> data(std::size_t(w) * h);
    const CPLErr err = GDALRasterIO(GDALGetRasterBand(out, 1), GF_Read, 0, 0, w, h, data.data(), w,
                                    h, GDT_Float64, 0, 0);
    GDALClose(out);
    if (err != CE_None) throw ImportError(engine::gdalReport(name + " cannot be read", trap));
    return data;
}

double RasterSource::overviewFactor(double upTo) const {
    GDALRasterBandH band = GDALGetRasterBand(band1_ ? band1_ : ds_, 1);
    double best = 1;
    for (int i = 0; i < GDALGetOverviewCount(band); ++i) {
        GDALRasterBandH o = GDALGetOverview(band, i);
        if (!o || GDALGetRasterBandXSize(o) <= 0) continue;
        const double f = double(GDALGetRasterBandXSize(band)) / GDALGetRasterBandXSize(o);
        if (f <= upTo) best = std::max(best, f);
    }
    return best;
}

QString RasterSource::named() const { return what_ + " " + QDir::toNativeSeparators(path_); }

int RasterSource::width() const { return GDALGetRasterXSize(ds_); }
int RasterSource::height() const { return GDALGetRasterYSize(ds_); }

namespace {
struct ToPixels {
    OGRCoordinateTransformation* ct;
    const double* inverse;
};
int toPixel(double* x, double* y, void* data) {
    auto* t = static_cast<ToPixels*>(data);
    if (!t->ct->Transform(1, x, y)) return 0;
    const double gx = *x, gy = *y;
    *x = t->inverse[0] + t->inverse[1] * gx + t->inverse[2] * gy;
    *y = t->inverse[3] + t->inverse[4] * gx + t->inverse[5] * gy;
    return 1;
}
}  // namespace

engine::Shape RasterSource::toPixels(const engine::Shape& s,
                                     const OGRSpatialReference& from) const {
    const QString key = crsWkt(from);
    if (!toSource_ || toSourceFrom_ != key) {
        OGRSpatialReference to = *GDALDataset::FromHandle(ds_)->GetSpatialRef();
        to.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        toSource_ = transformation(from, to);
        toSourceFrom_ = key;
    }
    auto ctx = engine::geosContext();
    const engine::Rectangle e = s.extent();
    GEOSGeometry* dense = GEOSDensify_r(ctx, s.geos(), std::max(e.width(), e.height()) / 32);
    if (!dense) engine::throwGeosError("densifying a cell");
    const engine::Shape owned = engine::Shape::adopt(dense);
    ToPixels t{toSource_.get(), inverse_};
    GEOSGeometry* g = GEOSGeom_transformXY_r(ctx, owned.geos(), toPixel, &t);
    if (!g)
        throw ImportError(
            (what_ + ": a cell cannot be carried into the raster's coordinates").toStdString());
    return engine::Shape::adopt(g);
}

std::vector<double> RasterSource::read(int col0, int row0, int w, int h) const {
    std::vector<double> data(std::size_t(w) * h);
    std::vector<GByte> valid(data.size(), 255);
    GDALRasterBandH band = GDALGetRasterBand(band1_ ? band1_ : ds_, 1);
    engine::GdalErrorTrap trap;
    // The mask says where there is no data, whether from a no-data value, an alpha band or a
    // mask of the file's own, as the warp sees it.
    const bool masked = !(GDALGetMaskFlags(band) & GMF_ALL_VALID);
    if (GDALRasterIO(band, GF_Read, col0, row0, w, h, data.data(), w, h, GDT_Float64, 0, 0) !=
            CE_None ||
        (masked && GDALRasterIO(GDALGetMaskBand(band), GF_Read, col0, row0, w, h, valid.data(), w,
                                h, GDT_Byte, 0, 0) != CE_None))
        throw ImportError(engine::gdalReport(
            what_ + " " + QDir::toNativeSeparators(path_) + " cannot be read", trap));
    for (std::size_t i = 0; i < data.size(); ++i)
        if (!valid[i]) data[i] = std::numeric_limits<double>::quiet_NaN();
    return data;
}

double RasterSource::rowWeight(int row) const {
    if (!geographic_) return 1;
    const double lat = gt_[3] + (row + 0.5) * gt_[5];
    return std::max(0.0, std::cos(lat * M_PI / 180));
}

}  // namespace importer
