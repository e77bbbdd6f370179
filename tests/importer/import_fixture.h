#pragma once
// Small real sources for the import tests, written through GDAL/OGR: GeoTIFFs with known pixel
// values and vector files with known shapes, in UTM zone 33N metres or WGS 84 degrees. Places
// in metres are given in km from (500 km, 5000 km), where 5 km cells line up.

#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "engine/geo_dataset.h"
#include "importer/geometry.h"
#include "importer/import_error.h"
#include "importer/importer.h"
#include "importer/recipe.h"

namespace importtest {

constexpr int kUtm33 = 32633;
constexpr int kWgs84 = 4326;
constexpr double kX0 = 500000, kY0 = 5000000;

inline double mx(double km) { return kX0 + km * 1000; }
inline double my(double km) { return kY0 + km * 1000; }

inline OGRSpatialReference srsOf(int epsg) {
    OGRSpatialReference srs;
    srs.importFromEPSG(epsg);
    srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return srs;
}

// A one-band Float32 GeoTIFF of w x h pixels from (left, top), pixel (px, py), value(col, row)
// with rows from the top; epsg 0 writes no coordinate system.
inline void writeRaster(const QString& path, int epsg, double left, double top, double px,
                        double py, int w, int h, const std::function<double(int, int)>& value,
                        std::optional<double> noData = {}) {
    GDALAllRegister();
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
    std::unique_ptr<GDALDataset> ds(
        driver->Create(QFile::encodeName(path).constData(), w, h, 1, GDT_Float32, nullptr));
    ASSERT_TRUE(ds) << path.toStdString();
    double gt[6] = {left, px, 0, top, 0, -py};
    ds->SetGeoTransform(gt);
    if (epsg) {
        const OGRSpatialReference srs = srsOf(epsg);
        ds->SetSpatialRef(&srs);
    }
    std::vector<float> data(std::size_t(w) * h);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) data[std::size_t(r) * w + c] = float(value(c, r));
    GDALRasterBand* band = ds->GetRasterBand(1);
    if (noData) band->SetNoDataValue(*noData);
    ASSERT_EQ(band->RasterIO(GF_Write, 0, 0, w, h, data.data(), w, h, GDT_Float32, 0, 0), CE_None);
}

// One feature of a vector file: its shape as WKT and its text or number fields.
struct Feature {
    std::string wkt;
    std::map<std::string, std::string> texts = {};
    std::map<std::string, double> numbers = {};
};

// A vector file in the format its extension names (.shp, .geojson, .gpkg).
inline void writeVector(const QString& path, int epsg, const std::vector<Feature>& features) {
    GDALAllRegister();
    const QString ext = QFileInfo(path).suffix().toLower();
    const char* name = ext == "shp" ? "ESRI Shapefile" : ext == "gpkg" ? "GPKG" : "GeoJSON";
    std::unique_ptr<GDALDataset> ds(GetGDALDriverManager()->GetDriverByName(name)->Create(
        QFile::encodeName(path).constData(), 0, 0, 0, GDT_Unknown, nullptr));
    ASSERT_TRUE(ds) << path.toStdString();
    OGRSpatialReference srs = srsOf(epsg);
    OGRLayer* layer =
        ds->CreateLayer(QFileInfo(path).completeBaseName().toUtf8().constData(), &srs);
    ASSERT_TRUE(layer);
    std::set<std::string> made;
    for (const Feature& f : features) {
        for (const auto& [k, v] : f.texts)
            if (made.insert(k).second) {
                OGRFieldDefn d(k.c_str(), OFTString);
                layer->CreateField(&d);
            }
        for (const auto& [k, v] : f.numbers)
            if (made.insert(k).second) {
                OGRFieldDefn d(k.c_str(), OFTReal);
                layer->CreateField(&d);
            }
    }
    for (const Feature& f : features) {
        OGRFeature feature(layer->GetLayerDefn());
        for (const auto& [k, v] : f.texts) feature.SetField(k.c_str(), v.c_str());
        for (const auto& [k, v] : f.numbers) feature.SetField(k.c_str(), v);
        OGRGeometry* g = nullptr;
        ASSERT_EQ(OGRGeometryFactory::createFromWkt(f.wkt.c_str(), nullptr, &g), OGRERR_NONE)
            << f.wkt;
        feature.SetGeometryDirectly(g);
        ASSERT_EQ(layer->CreateFeature(&feature), OGRERR_NONE);
    }
}

// WKT of a rectangle in metres, corners in km from the origin.
inline std::string boxKm(double x0, double y0, double x1, double y1) {
    return QString("POLYGON((%1 %2,%1 %4,%3 %4,%3 %2,%1 %2))")
        .arg(mx(x0), 0, 'f', 3)
        .arg(my(y0), 0, 'f', 3)
        .arg(mx(x1), 0, 'f', 3)
        .arg(my(y1), 0, 'f', 3)
        .toStdString();
}

inline std::string boxDegrees(double lon0, double lat0, double lon1, double lat1) {
    return QString("POLYGON((%1 %2,%1 %4,%3 %4,%3 %2,%1 %2))")
        .arg(lon0, 0, 'g', 12)
        .arg(lat0, 0, 'g', 12)
        .arg(lon1, 0, 'g', 12)
        .arg(lat1, 0, 'g', 12)
        .toStdString();
}

// A polygon given in degrees, densified and carried into UTM 33N metres, as the import would.
inline engine::Shape degreesToUtm(const std::string& wkt) {
    OGRGeometry* g = nullptr;
    OGRGeometryFactory::createFromWkt(wkt.c_str(), nullptr, &g);
    std::unique_ptr<OGRGeometry> owned(g);
    g->segmentize(0.001);
    const OGRSpatialReference from = srsOf(kWgs84), to = srsOf(kUtm33);
    std::unique_ptr<OGRCoordinateTransformation> ct(OGRCreateCoordinateTransformation(&from, &to));
    g->transform(ct.get());
    return importer::toShape(*g);
}

// One cell of an imported grid layer.
struct Cell {
    engine::Shape shape;
    double areaKm2 = 0;
    std::map<QString, QVariant> values;
};

class ImportTest : public ::testing::Test {
  protected:
    QString src(const QString& name) const { return tmp.filePath("src/" + name); }
    QString out() const { return tmp.filePath("out"); }

    void SetUp() override { QDir().mkpath(tmp.filePath("src")); }

    importer::Recipe recipe(std::initializer_list<std::pair<QString, QString>> choices) const {
        importer::Recipe r;
        r.outDir = out();
        for (const auto& [k, v] : choices) r.set(k, v);
        return r;
    }

    importer::ImportResult run(const importer::Recipe& r) { return importer::runImport(r); }

    std::shared_ptr<engine::GeoDataset> layer(const QString& file) const {
        return engine::GeoDataset::open(QDir(out()).filePath(file + ".shp"));
    }

    // The cells of a layer ordered from the top-left, row by row.
    std::vector<Cell> cells(const QString& file) const {
        auto ds = layer(file);
        std::vector<Cell> out;
        for (int i = 0; i < ds->recordCount(); ++i) {
            Cell c{ds->shape(i), ds->shape(i).area() / 1e6, {}};
            for (int f = 0; f < ds->fieldNames().size(); ++f)
                c.values[ds->fieldNames()[f]] = ds->value(i, f);
            out.push_back(std::move(c));
        }
        std::sort(out.begin(), out.end(), [](const Cell& a, const Cell& b) {
            const auto pa = a.shape.extent(), pb = b.shape.extent();
            if (std::abs(pa.top() - pb.top()) > 1) return pa.top() > pb.top();
            return pa.left() < pb.left();
        });
        return out;
    }

    QTemporaryDir tmp;
};

}  // namespace importtest
