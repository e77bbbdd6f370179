#pragma once
// One raster source read through GDAL: its first band, warped onto a grid of the output
// coordinates with area-weighted averaging or the most frequent value.

#include <ogr_spatialref.h>

#include <QString>
#include <memory>
#include <vector>

#include "engine/shape.h"

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

    // The largest factor of an overview of band 1 that is at most upTo (1: the raster itself).
    double overviewFactor(double upTo) const;
    // A name for messages: "the wind power density raster /data/wind.tif".
    QString named() const;

    enum class Resampling { Average, Mode };
    // Band 1 on the w x h grid covering x0..x1, y0..y1 of `to`, row by row from the top; NaN
    // where the raster has no data. Average weighs each source pixel by the part of the grid
    // pixel it covers. Throws ImportError.
    std::vector<double> warp(const OGRSpatialReference& to, double x0, double y0, double x1,
                             double y1, int w, int h, Resampling how) const;

    // Exact shares at the study area's edge are counted on the source pixels themselves.
    int width() const;
    int height() const;
    // The shape in the raster's pixel coordinates (column, row from the top-left corner), its
    // edges densified so they keep their course. Throws ImportError.
    engine::Shape toPixels(const engine::Shape& s, const OGRSpatialReference& from) const;
    // Pixels of the window, row by row; NaN where the raster has no data.
    std::vector<double> read(int col0, int row0, int w, int h) const;
    // The area of a pixel of the row, relative to the others: pixels in degrees shrink with
    // the cosine of their latitude.
    double rowWeight(int row) const;

  private:
    QString path_, what_;
    mutable std::unique_ptr<OGRCoordinateTransformation> toSource_;
    mutable QString toSourceFrom_;
    double gt_[6] = {0, 1, 0, 0, 0, 1}, inverse_[6] = {0, 1, 0, 0, 0, 1};
    bool geographic_ = false;
    GDALDatasetH ds_ = nullptr;
    GDALDatasetH band1_ = nullptr;  // a view of band 1 when the file has several
};

}  // namespace importer
