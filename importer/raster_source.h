#pragma once
// One raster source read through GDAL: its first band, warped onto a grid of the output
// coordinates with area-weighted averaging or the most frequent value.

#include <ogr_spatialref.h>

#include <QString>
#include <vector>

typedef void* GDALDatasetH;

namespace importer {

class RasterSource {
  public:
    // Checks and opens the file; what names it in messages. Throws ImportError for a missing or
    // unreadable file, or a raster without coordinate system or georeferencing.
    RasterSource(const QString& path, const QString& what);
    ~RasterSource();
    RasterSource(const RasterSource&) = delete;
    RasterSource& operator=(const RasterSource&) = delete;

    QString path() const { return path_; }
    // "3000 x 3000 pixels of 0.005 x 0.005 degree, WGS 84 (EPSG:4326), no-data -9999".
    QString summary() const;
    // About how large a pixel is in the output coordinates (metres).
    double pixelSizeIn(const OGRSpatialReference& to) const;

    enum class Resampling { Average, Mode };
    // Band 1 on the w x h grid covering x0..x1, y0..y1 of `to`, row by row from the top; NaN
    // where the raster has no data. Average weighs each source pixel by the part of the grid
    // pixel it covers. Throws ImportError.
    std::vector<double> warp(const OGRSpatialReference& to, double x0, double y0, double x1,
                             double y1, int w, int h, Resampling how) const;

  private:
    QString path_, what_;
    GDALDatasetH ds_ = nullptr;
    GDALDatasetH band1_ = nullptr;  // a view of band 1 when the file has several
};

}  // namespace importer
