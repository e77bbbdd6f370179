#pragma once
// One vector source (shapefile, GeoPackage, GeoJSON, ...) read through OGR: its first layer,
// filtered by an optional SQL WHERE, with geometries carried into the output coordinates.

#include <ogr_spatialref.h>

#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "engine/shape.h"

class GDALDataset;
class OGRFeature;
class OGRGeometry;
class OGRLayer;

namespace importer {

class VectorFile {
  public:
    // Checks and opens the file; what names it in messages ("the roads"). Throws ImportError for
    // a missing or unreadable file, a file without layers or coordinate system, a bad filter.
    VectorFile(const QString& path, const QString& what, const QString& where);
    ~VectorFile();
    VectorFile(const VectorFile&) = delete;
    VectorFile& operator=(const VectorFile&) = delete;

    const OGRSpatialReference& crs() const { return crs_; }
    QString layerName() const;
    int layerCount() const;
    long long featureCount() const;  // with the filter; -1 when unknown
    // Index of the first field with one of the names (any case), or -1.
    int findField(const QStringList& names) const;
    QString fieldName(int index) const;

    // Each feature, with its geometry in `to` (null when it has none). Long lines in degrees are
    // densified first so they keep their course. A false return from f stops the walk.
    // beforeCarrying, when given, sees each source geometry first, with the number of vertices
    // it will have once densified, so a caller can refuse it before that work is done.
    using Inspection = std::function<void(const OGRGeometry& source, long long vertices)>;
    void forEach(const OGRSpatialReference& to,
                 const std::function<bool(const OGRFeature&, engine::Shape)>& f,
                 const Inspection& beforeCarrying = {}) const;
    // Every geometry's extent in the file's own coordinates: x0, y0, x1, y1.
    std::array<double, 4> extent() const;
    // For a file in degrees: the longitude halfway along the shortest stretch that holds every
    // part, across the antimeridian when that is shorter (Chukotka beside the rest of Russia).
    double centralLongitude() const;

  private:
    QString path_, what_;
    GDALDataset* ds_ = nullptr;
    OGRLayer* layer_ = nullptr;
    OGRSpatialReference crs_;
};

}  // namespace importer
